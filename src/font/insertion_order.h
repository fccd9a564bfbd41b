// The order in which the engine put keys into one of the object's
// first-in-first-out caches, kept natively so that trimming takes the oldest
// key at once: asking the host's dict for its first key walks past every
// entry deleted before it, which a cache trimmed one entry per line
// accumulates by the thousand. The order stands for the dict's only while the
// dict is the same plain dict, unchanged by anyone else (its version) and as
// big as the order; otherwise the dict is asked, and the order rebuilt.
// `HostRef` is how the host's keys are held (a strong reference in the binding).
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <utility>

namespace lumo::font {

/// A cache as the order follows it: which object, and for a plain dict its
/// version and size.
struct DictState {
    std::uintptr_t dict = 0;
    std::uint64_t version = 0;
    std::size_t size = 0;
    bool plain = false;  // exactly a dict; anything else is asked every time
};

template <class HostRef>
class KeyOrder {
public:
    /// Whether the keys held are the cache's own, oldest first.
    bool mirrors(const DictState& now) const {
        return now.plain && now.dict == dict_ && now.version == version_ && now.size == keys_.size();
    }

    /// Starts over from the cache `now`, whose keys `list_keys` passes, in
    /// its order, to the function it is given; a cache that is not a plain
    /// dict leaves the order empty.
    template <class ListKeys>
    void rebuild(const DictState& now, ListKeys&& list_keys) {
        clear();
        if (!now.plain) return;
        list_keys([this](HostRef key) { keys_.push_back(std::move(key)); });
        dict_ = now.dict;
        version_ = now.version;
    }

    /// Notes that the engine stored under `key`, the order having mirrored
    /// the cache before (`mirrored`, when it held `size_before` keys) and the
    /// cache being `now` after. A new key goes last in a dict's order, a
    /// replaced one keeps its place. False when the order must be rebuilt:
    /// it did not mirror the cache, or the host's code (the key's hash or
    /// equality) changed the cache meanwhile.
    bool note_store(bool mirrored, std::size_t size_before, const DictState& now, HostRef key) {
        if (!mirrored || !now.plain) return false;
        if (now.size == size_before + 1)
            keys_.push_back(std::move(key));
        else if (now.size != size_before)
            return false;
        version_ = now.version;
        return true;
    }

    /// The oldest key, taken out of the order, while it mirrors the cache
    /// `now`; otherwise the order is forgotten and the cache must be asked.
    std::optional<HostRef> take_oldest(const DictState& now) {
        if (!mirrors(now) || keys_.empty()) {
            clear();
            return std::nullopt;
        }
        HostRef oldest = std::move(keys_.front());
        keys_.pop_front();
        return oldest;
    }

    /// Notes that the engine deleted the oldest entry, the cache being `now` after.
    void note_deleted(const DictState& now) {
        if (now.plain && now.dict == dict_) version_ = now.version;
    }

    /// Forgets every key. They are released after the order is emptied:
    /// releasing one may run the host's code.
    void clear() {
        std::deque<HostRef> released;
        released.swap(keys_);
        dict_ = 0;
        version_ = 0;
    }

    std::size_t size() const { return keys_.size(); }

    template <class Visitor>
    void each_key(Visitor&& visit) const {
        for (const HostRef& key : keys_) visit(key);
    }

private:
    std::deque<HostRef> keys_;  // oldest first
    std::uintptr_t dict_ = 0;   // compared only
    std::uint64_t version_ = 0;
};

}  // namespace lumo::font
