// The native font objects that the font object's caches hold.
#include "shaping/native_fonts_py.h"

#include <nanobind/stl/string.h>

#include "engine/host_errors_py.h"

namespace nb = nanobind;

namespace lumo::shaping {

void bind_native_fonts(nb::module_& native) {
    nb::class_<HarfBuzzFontObject>(native, "HarfBuzzFont", "A HarfBuzz font over the bytes of a font file.")
        .def_prop_ro("upem", [](const HarfBuzzFontObject& self) { return self.font ? self.font->upem() : 0u; })
        .def_prop_ro("glyph_count",
                     [](const HarfBuzzFontObject& self) { return self.font ? self.font->glyph_count() : 0u; })
        .def("__repr__", [](const HarfBuzzFontObject& self) {
            return "<HarfBuzzFont " + std::to_string(self.font ? self.font->glyph_count() : 0) + " glyphs>";
        });
    nb::class_<FreeTypeFaceObject>(native, "FreeTypeFace", "A FreeType face at one pixel size.")
        .def_prop_ro("pixel_size", [](const FreeTypeFaceObject& self) { return self.face->pixel_size; })
        .def_prop_ro("family_name", [](const FreeTypeFaceObject& self) {
            const char* name = self.face->face ? self.face->face->family_name : nullptr;
            return std::string(name ? name : "");
        })
        .def("__repr__", [](const FreeTypeFaceObject& self) {
            const char* name = self.face->face ? self.face->face->family_name : nullptr;
            return "<FreeTypeFace " + std::string(name ? name : "?") + " at " +
                   std::to_string(self.face->pixel_size) + " px>";
        });
}

const HarfBuzzFontObject* as_harfbuzz_font(nb::handle object) {
    HarfBuzzFontObject* font = nullptr;
    return nb::try_cast<HarfBuzzFontObject*>(object, font) ? font : nullptr;
}

FreeTypeFaceObject* as_freetype_face(nb::handle object) {
    FreeTypeFaceObject* face = nullptr;
    return nb::try_cast<FreeTypeFaceObject*>(object, face) ? face : nullptr;
}

nb::object wrap_harfbuzz_font(HarfBuzzFontObject font) {
    engine::require_headroom_for_wrapper();
    return nb::cast(std::move(font));
}

nb::object wrap_freetype_face(nb::bytes data, base::FtFacePtr face, int pixel_size) {
    engine::require_headroom_for_wrapper();
    auto sized = std::make_shared<SizedFace>();
    // The bytes object is released with the last run or wrapper that holds
    // the face, always while the engine holds the interpreter.
    sized->source = std::shared_ptr<const void>(data.release().ptr(), [](const void* bytes) {
        Py_DECREF(static_cast<PyObject*>(const_cast<void*>(bytes)));
    });
    sized->face = std::move(face);
    sized->pixel_size = pixel_size;
    return nb::cast(FreeTypeFaceObject{std::move(sized)});
}

}  // namespace lumo::shaping
