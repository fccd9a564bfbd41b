// pygame Surfaces as the engine makes and paints them: new transparent
// surfaces, their pixel format, and direct access to their 32-bit pixels.
#pragma once

#include <nanobind/nanobind.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "shaping/glyph_painter.h"
#include "shaping/pixel_format.h"
#include "shaping/prepared_run.h"

namespace lumo::shaping {

/// A new transparent pygame Surface with per-pixel alpha; ValueError when it
/// is past the engine's surface limits (require_surface_within_limits).
nanobind::object new_surface(long width, long height);

/// Raises ValueError naming the surface `width` x `height` that the text
/// needs and the engine's limits, unless it is within them.
void require_surface_within_limits(std::int64_t width, std::int64_t height);

/// Whether `object` is a pygame Surface (or a subclass's).
bool is_plain_surface(nanobind::handle object);

/// Whether pygame blits the surface by its per-pixel alpha alone: no colour
/// key and no alpha of its own below 255.
bool blends_plainly(nanobind::handle surface);

/// The surface's pixel format, read from the surface once per distinct format.
const PixelFormat& surface_pixel_format(nanobind::handle surface);

/// The surface's pixels while it lives. A plain pygame Surface is read
/// through pygame's C API (nothing can touch it while the engine holds the
/// interpreter and runs no host code); any other object through its
/// get_buffer(), whose lock is held until this is destroyed.
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

/// The surfaces the legacy emoji engine drew runs on, kept beside the lines
/// whose runs refer to them by number (PreparedRun::picture).
using RunSurfaces = std::vector<nanobind::object>;

/// Adds `surface` to `surfaces`: its number.
std::int32_t keep_run_surface(RunSurfaces& surfaces, nanobind::object surface);

/// The pixels of run surfaces for core code, each locked when first asked
/// for and until this is destroyed (before the host blits any of them).
class LockedRunSurfaces final : public RunPictures {
public:
    explicit LockedRunSurfaces(const RunSurfaces& surfaces);
    const RunPicture& picture(std::size_t number) override;

private:
    const RunSurfaces& surfaces_;
    std::vector<std::unique_ptr<LockedPixels>> locks_;  // by number; null until asked for
    std::vector<RunPicture> pictures_;
};

/// Whether surfaces are read through pygame's C API (false: only through
/// their Python methods). For tests comparing the two.
void set_direct_surface_access(bool enabled);

}  // namespace lumo::shaping
