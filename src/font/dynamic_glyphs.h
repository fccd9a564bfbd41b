// The glyph cache's entries a changing line (a score, a timer) read last,
// per ASCII character, kept natively so that the next line of the same
// size, colour, settings and face finds them without building a key per
// character. The host's glyph cache stays the truth: the entries answer only
// while it is the same cache, unchanged since the engine last looked or
// wrote (viewed_map.h); otherwise they are forgotten and it is asked again.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "font/viewed_map.h"

namespace lumo::font {

/// Everything of a glyph cache key but its character, as plain values. Two
/// contexts are equal only when the keys they stand for are equal.
struct DynamicGlyphContext {
    long size = 0;
    std::vector<long> colour;  // the colour tuple's items
    int modern_font = 0;       // the settings, as exact bools
    int smooth_font = 0;
    double emoji_offset_y = 0.0;
    std::string face;  // UTF-8

    bool operator==(const DynamicGlyphContext&) const = default;
};

template <class HostRef>
class DynamicGlyphs {
public:
    static constexpr char32_t kCodes = 128;

    /// Starts a line in `context`, the cache being `now`: what was learned
    /// in another context or from another state of the cache is forgotten.
    void begin(const DynamicGlyphContext& context, const ViewStamp& now) {
        if (!(context == context_)) {
            clear();
            context_ = context;
        }
        follow(now);
    }

    /// The entry of `code`, while the cache is still `now`.
    const HostRef* find(char32_t code, const ViewStamp& now) {
        follow(now);
        if (code >= kCodes || !known_[code]) return nullptr;
        return &entries_[code];
    }

    /// What the cache held under `code`'s key: it was `seen` before the
    /// lookup and `now` after it.
    void learn_read(char32_t code, const ViewStamp& seen, const ViewStamp& now, const HostRef& entry) {
        follow(seen);
        if (!(seen == now) || !seen.followable()) {
            follow(ViewStamp{});
            return;
        }
        remember(code, entry);
    }

    /// What the engine stored under `code`'s key, the cache `before` and `after` the write.
    void learn_write(char32_t code, const ViewStamp& before, const ViewStamp& after, const HostRef& entry) {
        follow(before);
        if (!before.followable() || !after.followable()) {
            follow(ViewStamp{});
            return;
        }
        stamp_ = after;
        remember(code, entry);
    }

    /// Forgets every entry. They are released after the memo is emptied:
    /// releasing one may run the host's code, which may look here.
    void clear() {
        std::array<HostRef, kCodes> released;
        released.swap(entries_);
        known_.fill(false);
        stamp_ = ViewStamp{};
    }

    template <class Visitor>
    void each_value(Visitor&& visit) const {
        for (char32_t code = 0; code < kCodes; ++code)
            if (known_[code]) visit(entries_[code]);
    }

private:
    void follow(const ViewStamp& now) {
        if (now == stamp_) return;
        clear();
        stamp_ = now;
    }

    void remember(char32_t code, const HostRef& entry) {
        if (code >= kCodes) return;
        entries_[code] = entry;
        known_[code] = true;
    }

    DynamicGlyphContext context_;
    ViewStamp stamp_;
    std::array<HostRef, kCodes> entries_{};
    std::array<bool, kCodes> known_{};
};

}  // namespace lumo::font
