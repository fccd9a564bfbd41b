// The host functions for font names: sorting a font argument into a path or a
// name, family roots and aliases.
#include "base/platform.h"
#include "index/index_functions_py.h"

#include "engine/host_errors_py.h"
#include "engine/host_text_py.h"
#include "index/font_names.h"

namespace nb = nanobind;

namespace lumo::index {
nb::tuple parse_font_input(nb::handle name) {
    if (PyList_Check(name.ptr()) || PyTuple_Check(name.ptr()))
        return nb::make_tuple(nb::steal(PySequence_List(name.ptr())), true);
    if (PyUnicode_Check(name.ptr())) {
        FontPathGuess guess = guess_font_path(engine::utf8_of(name), base::platform::kPathSeparator);
        if (guess.is_path) {
            nb::list record;
            record.append(name);
            record.append(guess.face_index);
            return nb::make_tuple(record, true);
        }
    }
    return nb::make_tuple(name, false);
}

nb::str get_family_root(nb::handle font_name) {
    engine::require_text_argument(font_name, "font_name");
    return engine::text_from_utf8(family_root(engine::utf8_of(font_name)));
}

namespace {

nb::str normalize_font_name(nb::handle font_name, nb::handle family_files) {
    engine::require_text_argument(font_name, "font_name");
    if (!PyList_Check(family_files.ptr())) engine::raise_argument_type_error("family_files", "list", family_files);
    std::size_t family_size = static_cast<std::size_t>(PyList_GET_SIZE(family_files.ptr()));
    return engine::text_from_utf8(normalized_font_name(engine::utf8_of(font_name), family_size));
}

}  // namespace

void install_font_name_functions(nb::module_& package) {
    package.def("_parse_font_input", &parse_font_input, nb::arg("name").none(),
                nb::sig("def _parse_font_input(name: object) -> tuple[object, bool]"),
                "Sorts a font argument: (path record, True) for a font file or a ready record, (name, False) "
                "otherwise.");
    package.def("get_family_root", &get_family_root, nb::arg("font_name").none(),
                nb::sig("def get_family_root(font_name: str) -> str"),
                "The family the face name font_name belongs to: one trailing style word removed, capitalisation\n"
                "kept.");
    package.def("normalize_font_name", &normalize_font_name, nb::arg("font_name").none(), nb::arg("family_files").none(),
                nb::sig("def normalize_font_name(font_name: str, family_files: list) -> str"),
                "The shorter alias under which the face font_name may be found, given family_files, the faces of its\n"
                "family.");
}

}  // namespace lumo::index
