// A FreeType library whose every allocation is capped, so that a damaged font
// claiming a gigantic image is refused instead of being given the memory.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>

namespace lumo::base {

/// Creates a FreeType library with FreeType's default modules whose memory
/// manager refuses any single block above kMaxFreeTypeBlockBytes (FreeType
/// then reports FT_Err_Out_Of_Memory). Release it with FT_Done_Library, not
/// FT_Done_FreeType. Returns FreeType's error, 0 on success.
FT_Error new_capped_freetype_library(FT_Library* library);

/// How many blocks the cap has refused on this thread so far. A call that
/// failed with FT_Err_Out_Of_Memory while this count rose asked for more than
/// any real font needs: the font is to blame, not the machine.
std::uint64_t refused_freetype_blocks() noexcept;

/// Whether `error` of a FreeType call means the machine ran out of memory:
/// FT_Err_Out_Of_Memory while the cap refused nothing since `refused_before`,
/// the count taken before the call.
bool machine_out_of_memory(FT_Error error, std::uint64_t refused_before) noexcept;

}  // namespace lumo::base
