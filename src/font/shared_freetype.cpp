// The FreeType library instance that the engine's cached faces belong to.
#include "font/shared_freetype.h"

#include "base/freetype_memory.h"

namespace lumo::font {

FT_Library shared_freetype_library() {
    // Made on first use; a start that failed (for lack of memory) is tried again next time.
    static FT_Library library = nullptr;
    if (library == nullptr && base::new_capped_freetype_library(&library) != 0) library = nullptr;
    return library;
}

}  // namespace lumo::font
