// The native font objects that the font object's caches hold: a HarfBuzz font
// over the bytes of its file, and a FreeType face at one pixel size.
#pragma once

#include <nanobind/nanobind.h>

#include <memory>
#include <string>

#include "base/freetype_handles.h"
#include "base/file_reader.h"
#include "shaping/harfbuzz_font.h"
#include "shaping/sized_face.h"

namespace lumo::shaping {

/// A HarfBuzz font built over the bytes of a font file; the bytes object is
/// shared with the cache entry that holds it and with the FreeType faces made
/// from it, so the file is in memory once and both libraries read one version.
struct HarfBuzzFontObject {
    nanobind::bytes data;
    std::unique_ptr<HarfBuzzFont> font;
    base::FileIdentity identity;  // of the file the bytes came from
    // Whether the line about the file's damaged glyphs was printed: once is enough.
    mutable bool damaged_glyphs_reported = false;
};

/// A FreeType face with its pixel size set, read from the bytes of its font
/// file (never from the file, which may change or shrink underneath).
struct FreeTypeFaceObject {
    std::shared_ptr<SizedFace> face;  // shared with the runs drawn from it; never null
};

void bind_native_fonts(nanobind::module_& native);

/// The wrapped HarfBuzz font, or nullptr when `object` is not one.
const HarfBuzzFontObject* as_harfbuzz_font(nanobind::handle object);

/// The wrapped FreeType face, or nullptr when `object` is not one.
FreeTypeFaceObject* as_freetype_face(nanobind::handle object);

nanobind::object wrap_harfbuzz_font(HarfBuzzFontObject font);
/// The face over `data` (a bytes object, which the face keeps alive) at `pixel_size`.
nanobind::object wrap_freetype_face(nanobind::bytes data, base::FtFacePtr face, int pixel_size);

}  // namespace lumo::shaping
