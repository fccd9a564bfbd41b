// What the engine learned from one of the host-visible caches of a font
// object, kept natively under typed keys. The host's cache is the view: the
// host may read, fill, empty or replace it at any time, so what was learned
// from it answers only while the cache is the same one, unchanged since the
// engine last looked (its stamp); otherwise it is forgotten and the cache is
// asked again.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <utility>

namespace lumo::font {

/// Which cache the engine saw and its version then: every change of the
/// cache gives it a new version. The empty stamp stands for a cache the
/// engine cannot follow (one of the host's own containers), which is asked
/// every time.
struct ViewStamp {
    std::uintptr_t cache = 0;
    std::uint64_t version = 0;

    bool followable() const { return cache != 0; }
    bool operator==(const ViewStamp&) const = default;
};

template <class Key, class Value, class Hash = std::hash<Key>>
class ViewedMap {
public:
    /// The entry learned under `key`, while the cache is still as it was
    /// (`now`); null otherwise, and then everything learned from it earlier
    /// is forgotten. The pointer is valid until the map next changes.
    const Value* find(const ViewStamp& now, const Key& key) {
        if (!(now == stamp_)) {
            follow(now);
            return nullptr;
        }
        const auto found = entries_.find(key);
        return found == entries_.end() ? nullptr : &found->second;
    }

    /// What the engine read from the cache under `key`: the cache was `seen`
    /// before the lookup and is `now` after it. A cache that changed meanwhile
    /// (the host's code ran) teaches nothing.
    void learn_read(const ViewStamp& seen, const ViewStamp& now, Key key, Value value) {
        if (!seen.followable() || !(seen == now)) {
            follow(ViewStamp{});
            return;
        }
        follow(seen);
        entries_.insert_or_assign(std::move(key), std::move(value));
    }

    /// What the engine wrote into the cache under `key`, which was `before`
    /// the write and is `after` it.
    void learn_write(const ViewStamp& before, const ViewStamp& after, Key key, Value value) {
        if (!before.followable() || !after.followable()) {
            follow(ViewStamp{});
            return;
        }
        follow(before);
        stamp_ = after;
        entries_.insert_or_assign(std::move(key), std::move(value));
    }

    /// Forgets everything learned. Values are released after the map is
    /// emptied: releasing one may run the host's code, which may look here.
    void clear() {
        std::unordered_map<Key, Value, Hash> released;
        released.swap(entries_);
        stamp_ = ViewStamp{};
    }

    /// Forgets what was learned under the keys `drop` accepts.
    template <class Predicate>
    void forget_if(Predicate drop) {
        std::unordered_map<Key, Value, Hash> released;
        for (auto entry = entries_.begin(); entry != entries_.end();) {
            if (drop(entry->first)) {
                auto node = entries_.extract(entry++);
                released.insert(std::move(node));
            } else {
                ++entry;
            }
        }
    }

    std::size_t size() const { return entries_.size(); }

    template <class Visitor>
    void each_value(Visitor&& visit) const {
        for (const auto& [key, value] : entries_) visit(value);
    }

private:
    /// Starts following the cache as `now`, forgetting what an older one taught.
    void follow(const ViewStamp& now) {
        if (now == stamp_) return;
        clear();
        stamp_ = now;
    }

    ViewStamp stamp_;
    std::unordered_map<Key, Value, Hash> entries_;
};

}  // namespace lumo::font
