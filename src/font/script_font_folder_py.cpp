// The lumo_font module function that gathers the installed script and symbol
// fonts into a folder a font object can take as its fallback folder: the font
// index is read here; the choice, the order and the folder are the core's.
#include "font/script_font_folder_py.h"

#include <optional>
#include <string>
#include <vector>

#include "base/fs_paths.h"
#include "engine/engine_namespace_py.h"
#include "engine/host_errors_py.h"
#include "engine/host_text_py.h"
#include "font/path_data_py.h"
#include "font/script_font_folder.h"
#include "index/font_folder.h"
#include "index/index_functions_py.h"
#include "index/script_fonts.h"

namespace nb = nanobind;

namespace lumo::font {
namespace {

/// Every face of the index's "paths" member whose file the file system can name.
std::vector<index::IndexedFace> indexed_faces(nb::handle font_map) {
    if (!PyDict_Check(font_map.ptr())) engine::raise_expected_type("dict", font_map);
    nb::dict paths = index_member(font_map.ptr(), "paths");
    std::vector<index::IndexedFace> faces;
    for (auto [name, value] : paths) {
        if (!PyUnicode_Check(name.ptr())) engine::raise_expected_type("str", name);
        PathData record = parse_path_data(value, -1);
        if (record.path.is_none()) continue;
        std::optional<std::string> path = engine::file_path_of(record.path);
        if (!path || path->empty()) continue;
        faces.push_back({engine::utf8_of(name), index::PathRecord{*path, record.index}});
    }
    return faces;
}

nb::str script_font_folder() {
    // Called through the module, as a font object does, so a host that
    // supplies its own index loader is followed.
    nb::object font_map = nb::handle(engine::engine_namespace()).attr("get")("load_or_update_font_map")();
    std::vector<index::IndexedFace> faces = indexed_faces(font_map);
    std::vector<std::string> files;
    for (const FolderFont& font : choose_script_fonts(index::regular_font_files(faces))) files.push_back(font.path);

    // The loader has already announced a per-user fallback location.
    std::string folder = base::join_path(index::prepare_host_index_directory(false).path,
                                         index::kScriptFontFolderName);
    if (auto error = index::refresh_font_folder(folder, files, index::FolderEntryKind::links_where_possible,
                                                index::FolderEntryNames::numbered))
        engine::raise_os_error(*error);
    return engine::text_from_path_bytes(folder);
}

}  // namespace

void install_script_font_folder_function(nb::module_& package) {
    package.def("script_font_folder", &script_font_folder, nb::sig("def script_font_folder() -> str"),
                "Builds or refreshes, beside the font index, a folder of links to the regular faces of the "
                "installed script and symbol fonts and returns its path: the fallback folder to give LumoFont.\n\n"
                "Every installed script and symbol set gets a font, chosen from what the fonts cover: "
                "symbol, math and music fonts first (the purest first), for the symbols and punctuation the "
                "main text fonts lack; then one font per script by how widely the script is written, so that "
                "a character several scripts share (a Devanagari danda) is drawn by the font of the most used "
                "one; within a script a sans design, then a serif one. A symbol font comes after the fonts "
                "of any script whose letters it also covers. A font is linked only when it draws a character "
                "no font before it does; fonts made for Latin, Greek, Cyrillic and CJK (the primary and "
                "fallback families' work), colour fonts and collections are left out. The links are "
                "numbered (\"000-...\") in that order, which is the order the fallback search tries them.");
}

}  // namespace lumo::font
