// HarfBuzz fonts built from font files: the file read, the checks that tell a
// usable face from the empty one HarfBuzz makes of anything else.
#include "shaping/harfbuzz_font.h"

#include <cstring>
#include <limits>
#include <utility>

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
    if (bytes.size() > std::numeric_limits<unsigned>::max()) {
        error = {0, "font data is too large"};
        return nullptr;
    }
    std::unique_ptr<HarfBuzzFont> font(new HarfBuzzFont());
    font->bytes_ = std::move(bytes);
    // The blob borrows the bytes (read-only, no copy); the object owns them.
    font->blob_.reset(hb_blob_create(reinterpret_cast<const char*>(font->bytes_.data()),
                                     static_cast<unsigned>(font->bytes_.size()), HB_MEMORY_MODE_READONLY, nullptr,
                                     nullptr));
    const unsigned index = face_index < 0 ? 0u : static_cast<unsigned>(face_index);
    if (index >= hb_face_count(font->blob_.get()) && index > 0) {
        error = {0, "no face at index " + std::to_string(face_index)};
        return nullptr;
    }
    font->face_.reset(hb_face_create(font->blob_.get(), index));
    font->glyph_count_ = hb_face_get_glyph_count(font->face_.get());
    font->upem_ = hb_face_get_upem(font->face_.get());
    if (font->glyph_count_ == 0 || font->upem_ == 0) {
        error = {0, "not a usable font (no glyphs)"};
        return nullptr;
    }
    font->font_.reset(hb_font_create(font->face_.get()));
    if (hb_font_get_face(font->font_.get()) != font->face_.get()) {
        error = {0, "out of memory"};
        return nullptr;
    }
    return font;
}

}  // namespace lumo::shaping
