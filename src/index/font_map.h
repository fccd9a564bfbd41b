// The font index in memory: lower-cased full face names to the file and face
// that hold them, and shorter aliases to full face names. Both maps keep the
// order in which the scan inserted their keys.
#pragma once

#include <cstddef>
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

    const Value* find(std::string_view key) const {
        auto found = positions_.find(std::string(key));
        return found == positions_.end() ? nullptr : &entries_[found->second].second;
    }

    const std::vector<Entry>& entries() const { return entries_; }
    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }

private:
    std::vector<Entry> entries_;
    std::unordered_map<std::string, std::size_t> positions_;
};

struct FontMap {
    OrderedMap<PathRecord> paths;   // lower-cased full name -> file and face
    OrderedMap<std::string> names;  // lower-cased alias -> lower-cased full name
};

}  // namespace lumo::index
