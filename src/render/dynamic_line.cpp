// The size of a changing line's surface; see dynamic_line.h.
#include "render/dynamic_line.h"

namespace lumo::render {

DynamicLineSize dynamic_line_size(long total_advance, int line_height) {
    return {std::max(1L, total_advance), line_surface_height(line_height)};
}

}  // namespace lumo::render
