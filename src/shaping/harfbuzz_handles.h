// Owning handles for HarfBuzz objects, so that no early return leaks a blob,
// a face, a font or a buffer.
#pragma once

#include <hb.h>

#include <memory>

namespace lumo::shaping {

struct HbBlobDeleter {
    void operator()(hb_blob_t* blob) const noexcept { hb_blob_destroy(blob); }
};
struct HbFaceDeleter {
    void operator()(hb_face_t* face) const noexcept { hb_face_destroy(face); }
};
struct HbFontDeleter {
    void operator()(hb_font_t* font) const noexcept { hb_font_destroy(font); }
};
struct HbBufferDeleter {
    void operator()(hb_buffer_t* buffer) const noexcept { hb_buffer_destroy(buffer); }
};

using HbBlobPtr = std::unique_ptr<hb_blob_t, HbBlobDeleter>;
using HbFacePtr = std::unique_ptr<hb_face_t, HbFaceDeleter>;
using HbFontPtr = std::unique_ptr<hb_font_t, HbFontDeleter>;
using HbBufferPtr = std::unique_ptr<hb_buffer_t, HbBufferDeleter>;

}  // namespace lumo::shaping
