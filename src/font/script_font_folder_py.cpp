// The lumo_font module function that gathers the installed script fonts into
// a folder a font object can take as its fallback folder: the font index is
// read here, the choice of files and the folder are the core's.
#include "font/script_font_folder_py.h"

#include <optional>
#include <string>
#include <string_view>

#include "engine/engine_namespace_py.h"
#include "engine/host_errors_py.h"
#include "engine/host_text_py.h"
#include "font/path_data_py.h"
#include "index/font_folder.h"
#include "base/fs_paths.h"
#include "index/index_functions_py.h"
#include "index/script_fonts.h"

namespace nb = nanobind;

namespace lumo::font {
namespace {

nb::str script_font_folder() {
    // Called through the module, as a font object does, so a host that
    // supplies its own index loader is followed.
    nb::object font_map = nb::handle(engine::engine_namespace()).attr("get")("load_or_update_font_map")();
    if (!PyDict_Check(font_map.ptr())) {
        PyErr_Format(PyExc_TypeError, "Expected dict, got %.200s", Py_TYPE(font_map.ptr())->tp_name);
        throw nb::python_error();
    }
    nb::dict paths = index_member(font_map.ptr(), "paths");
    index::FaceLookup lookup = [&paths](std::string_view full_name) -> std::optional<index::PathRecord> {
        nb::str key = engine::text_from_utf8(full_name);
        PyObject* value = PyDict_GetItemWithError(paths.ptr(), key.ptr());
        if (value == nullptr) {
            if (PyErr_Occurred()) throw nb::python_error();
            return std::nullopt;
        }
        PathData record = parse_path_data(value, -1);
        if (record.path.is_none()) return std::nullopt;
        return index::PathRecord{engine::path_bytes_of(record.path), record.index};
    };
    std::vector<std::string> files = index::script_font_files(lookup);

    // The loader has already announced a per-user fallback location.
    std::string folder = base::join_path(index::prepare_host_index_directory(false).path,
                                          index::kScriptFontFolderName);
    if (auto error = index::refresh_font_folder(folder, files)) engine::raise_os_error(*error);
    return engine::text_from_path_bytes(folder);
}

}  // namespace

void install_script_font_folder_function(nb::module_& package) {
    package.def("script_font_folder", &script_font_folder, nb::sig("def script_font_folder() -> str"),
                "Builds or refreshes, beside the font index, a folder of links to the regular faces of the installed "
                "script fonts (Arabic, Hebrew, Indic, Thai, ... one per script) and returns its path: the fallback "
                "folder to give LumoFont.");
}

}  // namespace lumo::font
