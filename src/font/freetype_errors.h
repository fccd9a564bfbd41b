// Readable messages for FreeType error codes, so every caller that reports a
// failed load or render words it the same way.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>

namespace lumo::font {

/// FreeType's own description of `error` ("invalid glyph index"), or
/// "unknown FreeType error 0x…" for a code FreeType does not define.
/// Module bits, if a build sets them, are ignored.
std::string freetype_error_message(FT_Error error);

}  // namespace lumo::font
