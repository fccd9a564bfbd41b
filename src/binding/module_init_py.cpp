// Start-up of the lumo_font module: builds the settings, tables and functions
// into the package namespace in a fixed order, and guards the module last.
#include <nanobind/nanobind.h>
#include <nanobind/stl/string.h>

#include <string>

#include "engine/engine_namespace_py.h"
#include "engine/fixed_tables_py.h"
#include "engine/freetype_binding_py.h"
#include "engine/module_functions_py.h"
#include "engine/module_guard_py.h"
#include "engine/settings_py.h"
#include "diagnostics/snapshot_py.h"
#include "font/code_point_set_py.h"
#include "binding/lumo_font_type_py.h"
#include "font/sized_fonts_py.h"
#include "font/script_font_folder_py.h"
#include "index/index_functions_py.h"
#include "layout/text_layout_py.h"
#include "font/emoji_py.h"
#include "shaping/native_fonts_py.h"
#include "shaping/shaped_run_py.h"
#include "render/line_composer_py.h"
#include "shaping/surface_pixels_py.h"

namespace nb = nanobind;

namespace lumo::engine {
namespace {

/// pygame comes from either of two distributions, pygame and pygame-ce, and
/// the package requires neither (one would install itself over the other):
/// when none is installed, say how to get one.
void import_pygame() {
    try {
        nb::module_::import_("pygame");
    } catch (nb::python_error& error) {
        if (!error.matches(PyExc_ImportError)) throw;
        nb::object missing = nb::getattr(error.value(), "name", nb::none());
        if (!missing.equal(nb::str("pygame"))) throw;
        PyErr_SetString(PyExc_ImportError,
                        "lumo_font needs pygame: install pygame-ce (pip install \"lumo_font[ce]\") or pygame "
                        "(pip install \"lumo_font[pygame]\")");
        throw nb::python_error();
    }
}

/// Imports the host libraries the engine draws with. pygame greets on first
/// import; a library must not print at import, so the greeting is silenced
/// unless the host already imported pygame or chose otherwise.
void import_host_libraries(nb::dict sys_modules) {
    if (!sys_modules.contains("pygame")) {
        nb::module_ os = nb::module_::import_("os");
        os.attr("environ").attr("setdefault")("PYGAME_HIDE_SUPPORT_PROMPT", "1");
    }
    import_pygame();
    nb::module_::import_("pygame.freetype");
    nb::module_::import_("pygame.font");
    nb::module_::import_("emoji");
}

void start_engine(const std::string& module_name) {
    nb::module_ sys = nb::module_::import_("sys");
    nb::dict sys_modules = nb::borrow<nb::dict>(sys.attr("modules"));
    nb::object package = sys_modules[module_name.c_str()];
    nb::dict ns = nb::borrow<nb::dict>(package.attr("__dict__"));

    bind_engine_namespace(ns);
    import_host_libraries(sys_modules);
    install_load_flags(ns);
    install_settings(ns);
    install_freetype_binding(ns);
    install_fixed_tables(ns);

    ns["_EMOJI_CACHE"] = nb::dict();
    // The emoji classification depends on this table; without it the engine cannot start.
    nb::module_::import_("emoji").attr("EMOJI_DATA");

    install_validators(ns);
    nb::module_::import_("pygame.freetype").attr("init")();
    install_module_functions(ns, nb::str(module_name.c_str()));
    nb::module_ package_module = nb::borrow<nb::module_>(package);
    index::install_font_name_functions(package_module);
    index::install_font_index_functions(package_module);
    font::install_script_font_folder_function(package_module);
    font::install_emoji_function(package_module);
    font::install_lumo_font_type(package_module);
    layout::install_text_layout_types(package_module);
    // Sized pygame fonts read the font bytes the shaping layer keeps.
    font::set_font_stream_source(&shaping::font_file_stream);
    diagnostics::install_snapshot_functions(package_module);

    // Last: from here on every assignment by the host goes through the guard.
    nb::object guarded_type = make_protected_engine_type(module_name.c_str());
    ns["_ProtectedEngine"] = guarded_type;
    nb::setattr(package, "__class__", guarded_type);
}

}  // namespace
}  // namespace lumo::engine

NB_MODULE(_native, native) {
    native.doc() = "Native core of lumo_font. Import lumo_font, not this module.";
    native.def("_start_engine", &lumo::engine::start_engine, nb::arg("module_name"),
               "Builds the engine into the named, already imported package.");
    lumo::engine::bind_freetype_types(native);
    lumo::font::bind_code_point_set(native);
    lumo::shaping::bind_native_fonts(native);
    native.def("_set_native_composition", &lumo::render::set_native_composition, nb::arg("enabled"),
               "Internal switch: with False, lines are composed by blitting per-run surfaces with pygame.");
    native.def("_set_direct_surface_access", &lumo::shaping::set_direct_surface_access, nb::arg("enabled"),
               "Internal switch: with False, surfaces are read only through their Python methods.");
}
