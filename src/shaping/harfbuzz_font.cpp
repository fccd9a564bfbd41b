// HarfBuzz fonts built from font files: the file read, the checks that tell a
// usable face from the empty one HarfBuzz makes of anything else.
#include "shaping/harfbuzz_font.h"

#include <hb-ot.h>

#include <cstring>
#include <limits>
#include <new>
#include <utility>

#include "base/limits.h"
#include "font/font_file_bytes.h"

namespace lumo::shaping {

std::unique_ptr<HarfBuzzFont> HarfBuzzFont::load(const std::string& path, int face_index, FontLoadError& error) {
    std::vector<std::uint8_t> bytes;
    if (const int error_number = font::read_font_file(path, bytes); error_number != 0) {
        error = {error_number, std::strerror(error_number)};
        return nullptr;
    }
    return from_bytes(std::move(bytes), face_index, error);
}

std::unique_ptr<HarfBuzzFont> HarfBuzzFont::from_bytes(std::vector<std::uint8_t> bytes, int face_index,
                                                       FontLoadError& error) {
    std::unique_ptr<HarfBuzzFont> font(new HarfBuzzFont());
    font->bytes_ = std::move(bytes);
    font->view_ = font->bytes_;
    if (!font->build(face_index, error)) return nullptr;
    return font;
}

std::unique_ptr<HarfBuzzFont> HarfBuzzFont::from_borrowed_bytes(std::span<const std::uint8_t> bytes, int face_index,
                                                                FontLoadError& error) {
    std::unique_ptr<HarfBuzzFont> font(new HarfBuzzFont());
    font->view_ = bytes;
    if (!font->build(face_index, error)) return nullptr;
    return font;
}

bool HarfBuzzFont::build(int face_index, FontLoadError& error) {
    if (view_.size() > std::numeric_limits<unsigned>::max()) {
        error = {0, "font data is too large"};
        return false;
    }
    // The blob reads the bytes in place (read-only, no copy).
    blob_.reset(hb_blob_create(reinterpret_cast<const char*>(view_.data()), static_cast<unsigned>(view_.size()),
                               HB_MEMORY_MODE_READONLY, nullptr, nullptr));
    const unsigned index = face_index < 0 ? 0u : static_cast<unsigned>(face_index);
    if (index >= hb_face_count(blob_.get()) && index > 0) {
        error = {0, "no face at index " + std::to_string(face_index)};
        return false;
    }
    face_.reset(hb_face_create(blob_.get(), index));
    glyph_count_ = hb_face_get_glyph_count(face_.get());
    upem_ = hb_face_get_upem(face_.get());
    colour_ = hb_ot_color_has_png(face_.get()) || hb_ot_color_has_layers(face_.get());
    if (glyph_count_ == 0 || upem_ == 0) {
        error = {0, "not a usable font (no glyphs)"};
        return false;
    }
    font_.reset(hb_font_create(face_.get()));
    if (hb_font_get_face(font_.get()) != face_.get()) {
        error = {0, "out of memory"};
        return false;
    }
    variations_ = read_font_variations(face_.get());
    return true;
}

hb_font_t* HarfBuzzFont::font_at(std::span<const float> coordinates) const {
    if (coordinates.empty() || coordinates.size() != variations_.axes.size()) return font_.get();
    std::vector<float> key(coordinates.begin(), coordinates.end());
    if (auto known = varied_.find(key); known != varied_.end()) return known->second.get();
    if (varied_.size() >= kMaxVariedFontsPerFile) varied_.clear();
    // A font of its own, not a sub-font: a sub-font takes its advances from
    // its parent, at the parent's coordinates.
    HbFontPtr varied(hb_font_create(face_.get()));
    if (hb_font_get_face(varied.get()) != face_.get()) throw std::bad_alloc();  // HarfBuzz's empty font
    hb_font_set_var_coords_design(varied.get(), coordinates.data(), static_cast<unsigned>(coordinates.size()));
    return varied_.emplace(std::move(key), std::move(varied)).first->second.get();
}

}  // namespace lumo::shaping
