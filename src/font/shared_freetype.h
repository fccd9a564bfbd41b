// The FreeType library instance that the engine's cached faces belong to.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

namespace lumo::font {

/// The process's FreeType library for cached faces, created on first use and
/// never released: cached faces may outlive any owner that could release it.
/// Its blocks are capped (base/freetype_memory.h).
/// Callers serialise through the host's interpreter lock.
FT_Library shared_freetype_library();

}  // namespace lumo::font
