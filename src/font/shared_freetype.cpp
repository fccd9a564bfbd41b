// The FreeType library instance that the engine's cached faces belong to.
#include "font/shared_freetype.h"

namespace lumo::font {

FT_Library shared_freetype_library() {
    static FT_Library library = [] {
        FT_Library created = nullptr;
        return FT_Init_FreeType(&created) == 0 ? created : nullptr;
    }();
    return library;
}

}  // namespace lumo::font
