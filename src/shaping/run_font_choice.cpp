// What drawing with one font needs; see run_font_choice.h.
#include "shaping/run_font_choice.h"

#include <new>

#include "base/freetype_memory.h"
#include "font/shared_freetype.h"
#include "shaping/font_variations.h"

namespace lumo::shaping {

LineBox line_box(double ascent, double line_height) {
    return {static_cast<int>(ascent + 0.5), static_cast<int>(line_height * 1.5)};
}

RunFontKind run_font_kind(bool is_emoji_font, std::optional<bool> colour_glyphs) {
    if (!is_emoji_font) return RunFontKind::text;
    return colour_glyphs.value_or(false) ? RunFontKind::colour_emoji : RunFontKind::legacy_emoji;
}

RasterOptions raster_options_for(bool anti_aliased, const DrawnStyle& style, bool colour_glyphs) {
    RasterOptions options;
    options.anti_aliased = anti_aliased;
    options.synthetic_bold = style.synthetic_bold;
    options.synthetic_italic = style.synthetic_italic;
    options.colour = colour_glyphs;
    return options;
}

base::FtFacePtr open_sized_face(std::span<const std::uint8_t> bytes, int face_index, int pixel_size,
                                std::span<const float> coordinates) {
    FT_Library library = font::shared_freetype_library();
    if (library == nullptr) throw std::bad_alloc();
    // A block the memory cap refused is the font's: it cannot be used.
    const std::uint64_t refused_before = base::refused_freetype_blocks();
    FT_Face created = nullptr;
    if (const FT_Error error = FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte*>(bytes.data()),
                                                  static_cast<FT_Long>(bytes.size()), face_index, &created)) {
        if (base::machine_out_of_memory(error, refused_before)) throw std::bad_alloc();
        return nullptr;
    }
    base::FtFacePtr face(created);
    if (pixel_size <= 0) return nullptr;
    if (const FT_Error error = set_design_coordinates(created, coordinates)) {
        if (error == FT_Err_Out_Of_Memory) throw std::bad_alloc();
        return nullptr;
    }
    if (const FT_Error error = size_face(created, pixel_size)) {
        if (base::machine_out_of_memory(error, refused_before)) throw std::bad_alloc();
        return nullptr;
    }
    return face;
}

}  // namespace lumo::shaping
