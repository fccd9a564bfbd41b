// Construction of a font object and its lazy initialisation on first use:
// the constructor touches no file; the first render loads the font index,
// checks the fallback family and lists the international fonts.
#include <string>
#include <vector>

#include "engine/engine_namespace_py.h"
#include "engine/host_errors_py.h"
#include "engine/host_text_py.h"
#include "engine/settings_py.h"
#include "font/lumo_font_methods_py.h"
#include "index/font_folder.h"
#include "index/font_names.h"
#include "base/fs_paths.h"
#include "index/index_functions_py.h"

namespace nb = nanobind;

namespace lumo::font {
namespace {

void assign(LumoFontObject* self, std::string_view field_name, nb::handle value) {
    if (!assign_field(self, *find_field(field_name), value.ptr())) throw nb::python_error();
}

/// Stores a font argument into its name field and path-record field.
void assign_font_argument(LumoFontObject* self, nb::handle argument, std::string_view name_field,
                          std::string_view path_field) {
    nb::tuple parsed = index::parse_font_input(argument);
    if (nb::cast<bool>(parsed[1])) {
        assign(self, name_field, parsed[0][0]);
        assign(self, path_field, parsed[0]);
    } else {
        assign(self, name_field, index::get_family_root(argument));
        assign(self, path_field, nb::none());
    }
}

/// The face word a primary name carries ("Arial Bold" -> "bold"), "regular" when none.
nb::object face_word_of_primary(nb::handle primary_name) {
    if (!PyUnicode_Check(primary_name.ptr())) {
        // Only text can carry a face word; other values fail as text operations do.
        nb::object lowered = primary_name.attr("lower")();
        return lowered.attr("strip")();
    }
    return engine::text_from_utf8(index::face_word_of(engine::utf8_of(primary_name)));
}

bool exists_at(nb::handle path) {
    std::string bytes;
    if (PyUnicode_Check(path.ptr()))
        bytes = engine::path_bytes_of(path);
    else if (PyBytes_Check(path.ptr()))
        bytes = std::string(PyBytes_AS_STRING(path.ptr()), static_cast<std::size_t>(PyBytes_GET_SIZE(path.ptr())));
    else
        return false;
    return bytes.find('\0') == std::string::npos && base::path_exists(bytes);
}

/// The font files directly inside `fallback_dir`: numbered ones ("007-...") by
/// their number, then the others in listing order.
nb::list international_fonts(nb::handle fallback_dir) {
    nb::list fonts;
    std::string directory = engine::path_bytes_of(fallback_dir);
    std::vector<std::string> names;
    if (auto error = index::list_font_folder(directory, names)) engine::raise_os_error(*error);
    for (const std::string& name : names) fonts.append(engine::text_from_path_bytes(base::join_path(directory, name)));
    return fonts;
}

}  // namespace

void construct_lumo_font(LumoFontObject* self, nb::handle primary_name, nb::handle fallback_name,
                         nb::handle fallback_dir, nb::handle emoji_path, nb::handle init_face) {
    assign_font_argument(self, primary_name, "primary_name", "_primary_path");
    assign_font_argument(self, fallback_name, "fallback_name", "_fallback_path");
    assign(self, "fallback_dir", fallback_dir);
    assign(self, "emoji_path", emoji_path);
    self->anti_alias = 1;

    nb::object carried_face = face_word_of_primary(primary_name);
    // An explicit face word wins over the one the primary name carries.
    int keep_default = PyObject_RichCompareBool(init_face.ptr(), nb::str("regular").ptr(), Py_EQ);
    if (keep_default < 0) throw nb::python_error();
    assign(self, "init_face", keep_default ? carried_face : nb::object(init_face.attr("lower")()));

    for (std::string_view cache : {"_font_objs", "_hb_fonts", "_path_cache", "_pg_font_cache", "_cmap_cache",
                                   "_std_metrics", "_glyph_cache", "_text_cache", "_font_map", "_path_resolve_cache"})
        assign(self, cache, nb::dict());
    assign(self, "_intl_font_paths", nb::list());
    self->initialized = 0;
    assign(self, "emoji_fallback_engine", nb::dict());
}

void ensure_initialized(LumoFontObject* self) {
    if (self->initialized) return;
    // Called through the module, so a host that supplies its own index loader is followed.
    nb::object loader = nb::handle(engine::engine_namespace()).attr("get")("load_or_update_font_map");
    assign(self, "_font_map", loader());

    if (self->fallback_path == Py_None) {
        nb::object checked = get_true_path(self, self->fallback_name, self->init_face);
        int truth = PyObject_IsTrue(checked.ptr());
        if (truth < 0) throw nb::python_error();
        if (truth) {
            nb::object checked_path = (PyList_Check(checked.ptr()) || PyTuple_Check(checked.ptr()))
                                          ? nb::object(checked[0])
                                          : checked;
            // A fallback family whose file is gone is dropped: its layer is skipped from now on.
            if (!exists_at(checked_path)) assign(self, "fallback_name", nb::str(""));
        }
    }
    // No fallback directory (None) simply means no international fonts.
    if (self->fallback_dir != Py_None && exists_at(self->fallback_dir))
        assign(self, "_intl_font_paths", international_fonts(self->fallback_dir));
    self->anti_alias = engine::setting_flag(engine::SettingId::AntiAlias) ? 1 : 0;
    self->initialized = 1;
}

}  // namespace lumo::font
