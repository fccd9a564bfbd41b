// The module's view of FreeType: load flags, library handle, styling entry points.
#include "engine/freetype_binding_py.h"

#include <nanobind/stl/string.h>
#include <nanobind/stl/tuple.h>

#include <string>
#include <tuple>

#include "engine/freetype_styling.h"
#include "engine/engine_namespace_py.h"

namespace nb = nanobind;

namespace lumo::engine {
namespace {

/// What `_ft_lib` holds while the styling calls may be used.
struct FreeTypeLibraryHandle {
    std::string path;
    std::tuple<int, int, int> version;
};

/// One styling call of the linked FreeType, as `_FT_GlyphSlot_Embolden` and
/// `_FT_GlyphSlot_Oblique` show it. Glyph slots never leave the engine, so the
/// entry point is described here rather than made callable with raw addresses.
struct StylingEntryPoint {
    std::string name;
};

// Kept so that switching styling back on restores the very same handle.
PyObject* g_library_handle = nullptr;

void set_styling_available_from_host(bool available) {
    set_styling_available(available);
    // Written straight into the namespace: the guard protects `_ft_lib` from the host only.
    PyObject* handle = (available && g_library_handle) ? g_library_handle : Py_None;
    if (PyDict_SetItemString(engine_namespace(), "_ft_lib", handle) != 0) throw nb::python_error();
}

}  // namespace

void bind_freetype_types(nb::module_& native) {
    nb::class_<FreeTypeLibraryHandle>(native, "FreeTypeLibrary",
                                      "The FreeType library that draws the engine's glyphs.")
        .def_ro("path", &FreeTypeLibraryHandle::path)
        .def_ro("version", &FreeTypeLibraryHandle::version)
        .def("__repr__", [](const FreeTypeLibraryHandle& handle) {
            auto [major, minor, patch] = handle.version;
            return describe_library({handle.path, major, minor, patch});
        });
    nb::class_<StylingEntryPoint>(native, "FreeTypeEntryPoint",
                                  "A glyph-slot styling call of the linked FreeType.")
        .def_ro("name", &StylingEntryPoint::name)
        .def("__repr__", [](const StylingEntryPoint& entry) { return describe_entry_point(entry.name); });
    native.def("_set_styling_available", &set_styling_available_from_host, nb::arg("available"),
               "Internal switch: with False the engine draws as if FreeType's styling calls were missing.");
    native.def("_styling_available", &styling_available);
}

void install_load_flags(nb::dict ns) {
    for (const LoadFlagConstant& flag : kLoadFlagConstants) ns[nb::str(flag.name.data(), flag.name.size())] = flag.value;
}

void install_freetype_binding(nb::dict ns) {
    FreeTypeLibraryInfo info = freetype_library_info();
    nb::object handle = nb::cast(FreeTypeLibraryHandle{info.path, {info.major, info.minor, info.patch}});
    hold_until_exit(g_library_handle, handle.ptr());

    ns["_ft_name"] = info.path.empty() ? nb::none() : nb::object(nb::str(info.path.c_str()));
    ns["_FT_GlyphSlot_Embolden"] = nb::cast(StylingEntryPoint{"FT_GlyphSlot_Embolden"});
    ns["_FT_GlyphSlot_Oblique"] = nb::cast(StylingEntryPoint{"FT_GlyphSlot_Oblique"});
    set_styling_available_from_host(styling_available());
}

}  // namespace lumo::engine
