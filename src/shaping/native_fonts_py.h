// The native font objects that the font object's caches hold: a HarfBuzz font
// over the bytes of its file, and a FreeType face at one pixel size.
#pragma once

#include <nanobind/nanobind.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>
#include <string>

#include "base/freetype_handles.h"
#include "base/file_reader.h"
#include "shaping/glyph_cache.h"
#include "shaping/run_layout_cache.h"
#include "shaping/harfbuzz_font.h"

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

/// A FreeType face with its pixel size set, read from the bytes it holds
/// (never from the file, which may change or shrink underneath).
struct FreeTypeFaceObject {
    nanobind::bytes data;  // declared first: destroyed after the face that reads it
    base::FtFacePtr face;
    int pixel_size = 0;
    std::shared_ptr<GlyphBitmapCache> glyphs = std::make_shared<GlyphBitmapCache>();
    std::shared_ptr<StrokedGlyphCache> strokes = std::make_shared<StrokedGlyphCache>();
    std::shared_ptr<RunLayoutCache> layouts = std::make_shared<RunLayoutCache>();
};

void bind_native_fonts(nanobind::module_& native);

/// The wrapped HarfBuzz font, or nullptr when `object` is not one.
const HarfBuzzFontObject* as_harfbuzz_font(nanobind::handle object);

/// The wrapped FreeType face, or nullptr when `object` is not one.
FreeTypeFaceObject* as_freetype_face(nanobind::handle object);

nanobind::object wrap_harfbuzz_font(HarfBuzzFontObject font);
nanobind::object wrap_freetype_face(FreeTypeFaceObject face);

}  // namespace lumo::shaping
