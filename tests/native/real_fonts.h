// Real fonts the shaping tests draw with, and a FreeType face opened at a
// pixel size the way the renderer opens it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/freetype_handles.h"

namespace lumo::test {

inline constexpr const char* kDejaVuSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
inline constexpr const char* kNotoSansArabic = "/usr/share/fonts/truetype/noto/NotoSansArabic-Regular.ttf";
inline constexpr const char* kNotoSansHebrew = "/usr/share/fonts/truetype/noto/NotoSansHebrew-Regular.ttf";
inline constexpr const char* kNotoColorEmoji = "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf";

/// A FreeType face with its own library, sized to `pixel_size`.
struct SizedFace {
    base::FtLibraryPtr library;
    base::FtFacePtr face;

    FT_Face get() const { return face.get(); }
};

/// Opens face 0 of `path` at `pixel_size`; null face when that fails.
inline SizedFace open_sized_face(const std::string& path, int pixel_size) {
    SizedFace sized{base::make_ft_library(), nullptr};
    FT_Face face = nullptr;
    if (sized.library && FT_New_Face(sized.library.get(), path.c_str(), 0, &face) == 0) {
        sized.face.reset(face);
        if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixel_size)) != 0) sized.face.reset();
    }
    return sized;
}

inline bool font_installed(const std::string& path) { return std::filesystem::exists(path); }

}  // namespace lumo::test
