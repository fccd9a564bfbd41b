// Direct access to a pygame Surface's 32-bit pixels, and its pixel format.
#pragma once

#include <nanobind/nanobind.h>

#include "shaping/glyph_painter.h"
#include "shaping/pixel_format.h"

namespace lumo::shaping {

/// The surface's pixel format, read from the surface once per distinct format.
const PixelFormat& surface_pixel_format(nanobind::handle surface);

/// Holds the surface's pixel buffer (and so its lock) while it lives; the
/// lock is released when it is destroyed, before the surface is handed back.
class LockedPixels {
public:
    explicit LockedPixels(nanobind::handle surface);
    ~LockedPixels();
    LockedPixels(const LockedPixels&) = delete;
    LockedPixels& operator=(const LockedPixels&) = delete;

    const PixelTarget& target() const { return target_; }

private:
    nanobind::object proxy_;
    Py_buffer view_{};
    bool held_ = false;
    PixelTarget target_;
};

}  // namespace lumo::shaping
