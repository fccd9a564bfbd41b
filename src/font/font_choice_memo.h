// The font each character was last drawn with, per face word, remembered
// across lines. What it remembers stands for the host's best-path cache: it
// answers only while that cache is the same plain dict, unchanged since the
// engine last wrote to it, and the fields the choice reads are the same
// objects; otherwise it starts afresh. `HostRef` is how the host's values
// are held (a strong reference in the binding).
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/limits.h"
#include "font/emoji_presentation.h"

namespace lumo::font {

/// What the remembered choices were learned under: the identities of the
/// best-path cache and of the fields the choice reads, and the cache's state.
struct ChoiceSources {
    std::uintptr_t path_cache = 0;
    std::ptrdiff_t path_cache_size = -1;   // -1: not a plain dict, which is asked every time
    std::uint64_t path_cache_version = 0;  // changes with every change of the dict
    std::uintptr_t primary_name = 0;
    std::uintptr_t fallback_name = 0;
    std::uintptr_t emoji_path = 0;
    std::uintptr_t intl_font_paths = 0;

    bool followable() const { return path_cache_size >= 0; }
    /// The same cache and fields, whatever the cache holds now.
    bool same_objects(const ChoiceSources& other) const {
        return path_cache == other.path_cache && primary_name == other.primary_name &&
               fallback_name == other.fallback_name && emoji_path == other.emoji_path &&
               intl_font_paths == other.intl_font_paths;
    }
    bool operator==(const ChoiceSources&) const = default;
};

template <class HostRef>
class ChoiceMemo {
public:
    /// Starts afresh unless the sources are what they were when the memo last learned.
    void follow(const ChoiceSources& now) {
        if (!now.followable() || !(now == sources_)) clear_choices();
        sources_ = now;
    }

    /// The memo's number for a face word (words that `same_word` finds equal
    /// share one), or -1 once kMaxRememberedFaces words have numbers: numbers
    /// stay what they are for the memo's life, so a new word is left to the host.
    template <class SameWord>
    int face_slot(const HostRef& face, SameWord&& same_word) {
        for (std::size_t i = 0; i < faces_.size(); ++i)
            if (same_word(faces_[i], face)) return static_cast<int>(i);
        if (faces_.size() >= kMaxRememberedFaces) return -1;
        faces_.push_back(face);
        return static_cast<int>(faces_.size() - 1);
    }

    /// The path data remembered for `code` in the face numbered `face`, or null.
    const HostRef* find(char32_t code, int face, bool modern_font, Presentation presentation) const {
        if (!sources_.followable() || face < 0) return nullptr;
        const auto found = paths_.find(key_of(code, face, modern_font, presentation));
        return found == paths_.end() ? nullptr : &found->second;
    }

    /// Remembers `path` for `code`; the sources are `now`, after the engine
    /// stored the path in the cache. What the engine itself added is known:
    /// other objects in the cache's place or the fields' (host code run
    /// meanwhile) make the memo start afresh, and so does reaching
    /// kMaxRememberedChoices. The first path remembered under a key stays.
    void remember(const ChoiceSources& now, char32_t code, int face, bool modern_font, Presentation presentation,
                  HostRef path) {
        if (!now.followable() || face < 0 || face >= static_cast<int>(faces_.size())) return;
        if (!now.same_objects(sources_)) clear_choices();
        if (paths_.size() >= kMaxRememberedChoices) clear_choices();
        sources_ = now;
        paths_.try_emplace(key_of(code, face, modern_font, presentation), std::move(path));
    }

    /// Forgets every choice (the face numbers stay). Paths are released after
    /// the map is emptied: releasing one may run the host's code.
    void clear_choices() {
        std::unordered_map<Key, HostRef> released;
        released.swap(paths_);
        sources_ = ChoiceSources{};
    }

    /// Forgets everything, face numbers too.
    void clear() {
        clear_choices();
        std::vector<HostRef> released;
        released.swap(faces_);
    }

    std::size_t size() const { return paths_.size(); }

    /// Calls `visit` with every host value held.
    template <class Visitor>
    void each_host_value(Visitor&& visit) const {
        for (const auto& [key, path] : paths_) visit(path);
        for (const HostRef& face : faces_) visit(face);
    }

private:
    using Key = std::uint64_t;  // face number, code point and flags

    static Key key_of(char32_t code, int face, bool modern_font, Presentation presentation) {
        const std::uint64_t flags = (modern_font ? 1u : 0u) | (static_cast<std::uint64_t>(presentation) << 1);
        return (static_cast<std::uint64_t>(face) << 32) | (static_cast<std::uint64_t>(code) << 8) | flags;
    }

    ChoiceSources sources_;
    std::unordered_map<Key, HostRef> paths_;
    std::vector<HostRef> faces_;  // the face words keys number
};

}  // namespace lumo::font
