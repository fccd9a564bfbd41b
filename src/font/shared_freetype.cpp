// The FreeType library instance that the engine's cached faces belong to.
#include "font/shared_freetype.h"

namespace lumo::font {

FT_Library shared_freetype_library() {
    // Made on first use; a start that failed (for lack of memory) is tried again next time.
    static FT_Library library = nullptr;
    if (library == nullptr && FT_Init_FreeType(&library) != 0) library = nullptr;
    return library;
}

}  // namespace lumo::font
