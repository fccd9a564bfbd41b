// Building the font index from the font directories.
#include "index/font_scan.h"

#include "base/byte_source.h"
#include "index/dir_walk.h"
#include "index/font_names.h"
#include "base/fs_paths.h"
#include "index/sfnt_names.h"
#include "index/text_rules.h"

namespace lumo::index {
namespace {

struct FaceEntry {
    std::string full_name;
    PathRecord record;
};

using FamilyTable = OrderedMap<std::vector<FaceEntry>>;

void add_face(FamilyTable& families, std::string full_name, PathRecord record) {
    // Families keep the order in which they were first met.
    std::string root = family_root(full_name);
    families.find_or_add(root).push_back({std::move(full_name), std::move(record)});
}

void read_font_file(const std::string& path, bool is_collection, FamilyTable& families) {
    base::FileByteSource source(path);
    if (!source.is_open()) return;
    if (!is_collection) {
        FullNameResult face = read_single_font_full_name(source);
        if (face.status == FullNameStatus::Found) add_face(families, std::move(face.full_name), {path, -1});
        return;
    }
    auto offsets = read_collection_face_offsets(source);
    if (!offsets) return;
    for (std::size_t face_index = 0; face_index < offsets->size(); ++face_index) {
        FullNameResult face = read_collection_face_full_name(source, (*offsets)[face_index]);
        if (face.status == FullNameStatus::Found)
            add_face(families, std::move(face.full_name), {path, static_cast<int>(face_index)});
    }
}

FontMap map_from_families(const FamilyTable& families) {
    FontMap map;
    for (const auto& [root, faces] : families.entries()) {
        for (const FaceEntry& face : faces) {
            std::string key = lower_text(face.full_name);
            map.paths.insert_or_assign(key, face.record);
            std::string alias = lower_text(normalized_font_name(face.full_name, faces.size()));
            if (alias != key) map.names.insert_or_assign(std::move(alias), key);
        }
    }
    return map;
}

}  // namespace

FontMap scan_fonts(const std::vector<std::string>& directories, ScanObserver& observer) {
    FamilyTable families;
    for (const std::string& directory : directories) {
        if (!base::path_exists(directory)) continue;
        observer.scanning_directory(directory);
        walk_directory_tree(directory, [&](const std::string& walked, const std::vector<std::string>& files) {
            for (const std::string& name : files) {
                if (!has_font_extension(name)) continue;
                std::string path = base::join_path(walked, name);
                observer.opening_file(path);
                read_font_file(path, has_collection_extension(name), families);
            }
        });
    }
    return map_from_families(families);
}

}  // namespace lumo::index
