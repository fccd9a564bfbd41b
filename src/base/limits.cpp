// The words of refusals past the limits; see limits.h.
#include "base/limits.h"

namespace lumo {

std::string surface_limit_message(std::int64_t width, std::int64_t height) {
    // Run extents are clamped before they become whole pixels: a width at the
    // clamp stands for at least that much.
    const char* at_least = width >= kMaxRunExtentPixels ? "at least " : "";
    return "the text needs a surface of " + std::string(at_least) + std::to_string(width) + " x " +
           std::to_string(height) + " pixels, past the largest the engine makes (" + std::to_string(kMaxSurfaceSide) +
           " pixels a side, " + std::to_string(kMaxSurfacePixels) + " pixels in all)";
}

}  // namespace lumo
