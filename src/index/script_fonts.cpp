// Which indexed faces a script font folder may gather: regular faces in files
// a folder of fonts reads.
#include "index/script_fonts.h"

#include <algorithm>

#include "index/font_names.h"

namespace lumo::index {

std::vector<RegularFontFile> regular_font_files(std::span<const IndexedFace> faces) {
    std::vector<RegularFontFile> files;
    for (const IndexedFace& face : faces) {
        const std::string& path = face.record.path;
        const bool single_font_file =
            face.record.face_index == -1 && has_font_extension(path) && !has_collection_extension(path);
        if (single_font_file && face_word_of(face.full_name) == "regular") files.push_back({path, face.full_name});
    }
    std::sort(files.begin(), files.end(), [](const RegularFontFile& a, const RegularFontFile& b) {
        return a.path != b.path ? a.path < b.path : a.full_name < b.full_name;
    });
    files.erase(std::unique(files.begin(), files.end(),
                            [](const RegularFontFile& a, const RegularFontFile& b) { return a.path == b.path; }),
                files.end());
    return files;
}

}  // namespace lumo::index
