// Owning handles for FreeType objects, so that no early return leaks a library or a face.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>
#include <type_traits>

namespace lumo::base {

struct FtLibraryDeleter {
    void operator()(FT_Library library) const noexcept { FT_Done_FreeType(library); }
};
struct FtFaceDeleter {
    void operator()(FT_Face face) const noexcept { FT_Done_Face(face); }
};

using FtLibraryPtr = std::unique_ptr<std::remove_pointer_t<FT_Library>, FtLibraryDeleter>;
using FtFacePtr = std::unique_ptr<std::remove_pointer_t<FT_Face>, FtFaceDeleter>;

/// A fresh FreeType library instance, or null when FreeType cannot start.
inline FtLibraryPtr make_ft_library() noexcept {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return nullptr;
    return FtLibraryPtr(library);
}

}  // namespace lumo::base
