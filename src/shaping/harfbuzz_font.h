// A HarfBuzz font built over the bytes of one font file, which it keeps for
// as long as HarfBuzz may read them.
#pragma once

#include <hb.h>

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "shaping/font_variations.h"
#include "shaping/harfbuzz_handles.h"

namespace lumo::shaping {

/// Why a HarfBuzz font could not be made. `error_number` is the errno of a
/// file that could not be read (0 otherwise); `message` always says what
/// went wrong in a few words.
struct FontLoadError {
    int error_number = 0;
    std::string message;
};

class HarfBuzzFont {
public:
    /// Reads the file at `path` (file-system bytes) and builds face
    /// `face_index` of it; a negative index means face 0.
    static std::unique_ptr<HarfBuzzFont> load(const std::string& path, int face_index, FontLoadError& error);

    /// Builds face `face_index` over `bytes`, which the font takes over.
    /// HarfBuzz accepts any bytes and makes an empty face of garbage, so a
    /// face without glyphs counts as "cannot be used" and is refused here,
    /// as is a face index past the end of a collection.
    static std::unique_ptr<HarfBuzzFont> from_bytes(std::vector<std::uint8_t> bytes, int face_index,
                                                    FontLoadError& error);

    /// Builds face `face_index` over `bytes` without copying them: the caller
    /// keeps the bytes alive and unchanged for as long as the font lives.
    static std::unique_ptr<HarfBuzzFont> from_borrowed_bytes(std::span<const std::uint8_t> bytes, int face_index,
                                                             FontLoadError& error);

    HarfBuzzFont(const HarfBuzzFont&) = delete;
    HarfBuzzFont& operator=(const HarfBuzzFont&) = delete;

    /// The font, at HarfBuzz's default scale: positions come out in font units.
    hb_font_t* font() const noexcept { return font_.get(); }
    /// The font set to `coordinates` (design coordinates of every axis, as
    /// design_coordinates() gives them): one made on first use and kept per
    /// set of coordinates; font() itself for none. Valid until the next call.
    hb_font_t* font_at(std::span<const float> coordinates) const;
    /// The axes and named instances of a variable font, read when it was opened.
    const FontVariations& variations() const noexcept { return variations_; }
    /// Units per em of the face; never 0.
    unsigned upem() const noexcept { return upem_; }
    unsigned glyph_count() const noexcept { return glyph_count_; }
    /// Whether the face draws glyphs in colour: bitmap strikes (CBDT, sbix)
    /// or layered outlines (COLR).
    bool has_colour_glyphs() const noexcept { return colour_; }
    std::span<const std::uint8_t> bytes() const noexcept { return view_; }

private:
    HarfBuzzFont() = default;
    /// Creates blob, face and font over `view_`; false with `error` set when the face cannot be used.
    bool build(int face_index, FontLoadError& error);

    // Declared first so it is destroyed last: the blob, face and font read it.
    std::vector<std::uint8_t> bytes_;  // empty when the bytes are borrowed
    std::span<const std::uint8_t> view_;
    HbBlobPtr blob_;
    HbFacePtr face_;
    HbFontPtr font_;
    FontVariations variations_;
    mutable std::map<std::vector<float>, HbFontPtr> varied_;  // fonts by their coordinates
    unsigned upem_ = 0;
    unsigned glyph_count_ = 0;
    bool colour_ = false;
};

}  // namespace lumo::shaping
