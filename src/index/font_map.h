// The font index in memory: lower-cased full face names to the file and face
// that hold them, and shorter aliases to full face names. Both maps keep the
// order in which the scan inserted their keys.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace lumo::index {

/// The file (path as file-system bytes) and face (-1 for a single-font file,
/// the 0-based face of a collection otherwise) that hold one face.
struct PathRecord {
    std::string path;
    int face_index = -1;

    bool operator==(const PathRecord&) const = default;
};

/// A map that keeps its keys in first-insertion order; storing under an
/// existing key replaces the value and keeps the key's place.
template <typename Value>
class OrderedMap {
public:
    using Entry = std::pair<std::string, Value>;

    void insert_or_assign(std::string key, Value value) {
        auto found = positions_.find(key);
        if (found != positions_.end()) {
            entries_[found->second].second = std::move(value);
            return;
        }
        positions_.emplace(key, entries_.size());
        entries_.emplace_back(std::move(key), std::move(value));
    }

    /// The value under `key`; a default value is added at the end when the key is new.
    Value& find_or_add(std::string_view key) {
        auto found = positions_.find(key);
        if (found != positions_.end()) return entries_[found->second].second;
        positions_.emplace(std::string(key), entries_.size());
        return entries_.emplace_back(std::string(key), Value{}).second;
    }

    const Value* find(std::string_view key) const {
        auto found = positions_.find(key);
        return found == positions_.end() ? nullptr : &entries_[found->second].second;
    }

    const std::vector<Entry>& entries() const { return entries_; }
    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }

private:
    // Lets lookups take a string_view without building a std::string.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const noexcept { return std::hash<std::string_view>{}(text); }
    };

    std::vector<Entry> entries_;
    std::unordered_map<std::string, std::size_t, TextHash, std::equal_to<>> positions_;
};

struct FontMap {
    OrderedMap<PathRecord> paths;   // lower-cased full name -> file and face
    OrderedMap<std::string> names;  // lower-cased alias -> lower-cased full name
};

}  // namespace lumo::index
