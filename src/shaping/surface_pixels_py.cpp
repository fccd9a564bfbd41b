// pygame Surfaces as the engine makes and paints them.
//
// pygame's C API hands out a Surface's SDL_Surface as the first field after
// the object header (its pgSurface_AsSurface), and SDL 2 keeps the layout of
// SDL_Surface and SDL_PixelFormat fixed. Read through them, a glyph surface's
// size, format and pixels cost no Python call: composing a changing line
// from its cached glyphs reads a dozen surfaces. The layout is checked once
// against the Surface's own methods; on any difference, or another major SDL
// version, the methods are used throughout.
#include "shaping/surface_pixels_py.h"

#include <algorithm>

#include "base/limits.h"

namespace nb = nanobind;

namespace lumo::shaping {
namespace {

// The leading fields of SDL 2's SDL_PixelFormat and SDL_Surface.
struct SdlPixelFormat {
    std::uint32_t format;
    void* palette;
    std::uint8_t bits_per_pixel;
    std::uint8_t bytes_per_pixel;
    std::uint8_t padding[2];
    std::uint32_t masks[4];
    std::uint8_t losses[4];
    std::uint8_t shifts[4];
};

struct SdlSurface {
    std::uint32_t flags;
    SdlPixelFormat* format;
    int w;
    int h;
    int pitch;
    void* pixels;
};

struct PygameSurfaceObject {
    PyObject_HEAD
    SdlSurface* surface;
};

constexpr std::uint32_t kSdlRunLengthEncoded = 0x00000002;  // SDL_RLEACCEL: pixels not plain

enum class DirectAccess { unchecked, usable, unusable };
DirectAccess g_direct_access = DirectAccess::unchecked;
bool g_direct_access_enabled = true;

nb::handle g_surface_type, g_per_pixel_alpha;

void look_up_pygame() {
    if (g_surface_type.is_valid()) return;
    nb::module_ pygame = nb::module_::import_("pygame");
    g_per_pixel_alpha = nb::object(pygame.attr("SRCALPHA")).release();
    g_surface_type = nb::object(pygame.attr("Surface")).release();
}

/// The SDL surface behind a plain pygame Surface with plain pixels, or null.
const SdlSurface* sdl_surface_of(nb::handle surface) {
    look_up_pygame();
    if (!PyObject_TypeCheck(surface.ptr(), reinterpret_cast<PyTypeObject*>(g_surface_type.ptr()))) return nullptr;
    const SdlSurface* sdl = reinterpret_cast<PygameSurfaceObject*>(surface.ptr())->surface;
    // A display surface after pygame.quit() has none; the methods say so.
    if (sdl == nullptr || sdl->format == nullptr || (sdl->flags & kSdlRunLengthEncoded) != 0) return nullptr;
    return sdl;
}

/// Whether the fields read directly agree with what the surface's methods
/// say, for the first surface seen (and so for this pygame build).
bool layout_agrees(nb::handle surface, const SdlSurface& sdl) {
    nb::object version = nb::module_::import_("pygame").attr("get_sdl_version")();
    if (nb::cast<int>(version[0]) != 2) return false;
    if (sdl.w != nb::cast<int>(surface.attr("get_width")()) || sdl.h != nb::cast<int>(surface.attr("get_height")()) ||
        sdl.pitch != nb::cast<int>(surface.attr("get_pitch")()))
        return false;
    // Only now is the format pointer known to be one.
    nb::object masks = surface.attr("get_masks")(), shifts = surface.attr("get_shifts")();
    nb::object losses = surface.attr("get_losses")();
    for (int i = 0; i < 4; ++i) {
        if (sdl.format->masks[i] != nb::cast<std::uint32_t>(masks[i]) ||
            sdl.format->shifts[i] != nb::cast<int>(shifts[i]) || sdl.format->losses[i] != nb::cast<int>(losses[i]))
            return false;
    }
    return sdl.format->bytes_per_pixel == nb::cast<int>(surface.attr("get_bytesize")());
}

/// The surface's SDL fields when they may be read directly, else null.
const SdlSurface* direct_surface(nb::handle surface) {
    if (!g_direct_access_enabled || g_direct_access == DirectAccess::unusable) return nullptr;
    const SdlSurface* sdl = sdl_surface_of(surface);
    if (sdl == nullptr) return nullptr;
    if (g_direct_access == DirectAccess::unchecked)
        g_direct_access = layout_agrees(surface, *sdl) ? DirectAccess::usable : DirectAccess::unusable;
    return g_direct_access == DirectAccess::usable ? sdl : nullptr;
}

}  // namespace

void set_direct_surface_access(bool enabled) { g_direct_access_enabled = enabled; }

bool is_plain_surface(nb::handle object) {
    look_up_pygame();
    return PyObject_TypeCheck(object.ptr(), reinterpret_cast<PyTypeObject*>(g_surface_type.ptr()));
}

bool blends_plainly(nb::handle surface) {
    nb::object alpha = surface.attr("get_alpha")();
    if (!alpha.is_none() && nb::cast<int>(alpha) != 255) return false;
    return surface.attr("get_colorkey")().is_none();
}

void require_surface_within_limits(std::int64_t width, std::int64_t height) {
    if (surface_within_limits(width, height)) return;
    PyErr_SetString(PyExc_ValueError, surface_limit_message(width, height).c_str());
    throw nb::python_error();
}

nb::object new_surface(long width, long height) {
    require_surface_within_limits(width, height);
    look_up_pygame();
    return g_surface_type(nb::make_tuple(width, height), g_per_pixel_alpha);
}

const PixelFormat& surface_pixel_format(nb::handle surface) {
    if (const SdlSurface* sdl = direct_surface(surface)) {
        return known_pixel_format(sdl->format->masks, [sdl] {
            PixelFormat format;
            std::copy(std::begin(sdl->format->masks), std::end(sdl->format->masks), format.masks);
            std::copy(std::begin(sdl->format->shifts), std::end(sdl->format->shifts), format.shifts);
            std::copy(std::begin(sdl->format->losses), std::end(sdl->format->losses), format.losses);
            return format;
        });
    }
    nb::object masks = surface.attr("get_masks")();
    PixelFormat format;
    for (int i = 0; i < 4; ++i) format.masks[i] = nb::cast<std::uint32_t>(masks[i]);
    // Shifts and losses are asked for only for masks not seen before.
    return known_pixel_format(format.masks, [&] {
        nb::object shifts = surface.attr("get_shifts")();
        nb::object losses = surface.attr("get_losses")();
        for (int i = 0; i < 4; ++i) {
            format.shifts[i] = nb::cast<std::uint8_t>(shifts[i]);
            format.losses[i] = nb::cast<std::uint8_t>(losses[i]);
        }
        return format;
    });
}

LockedPixels::LockedPixels(nb::handle surface) {
    if (const SdlSurface* sdl = direct_surface(surface)) {
        if (sdl->format->bytes_per_pixel != 4) {
            PyErr_SetString(PyExc_ValueError, "lumo_font paints only 32-bit surfaces");
            throw nb::python_error();
        }
        target_ = {static_cast<std::uint8_t*>(sdl->pixels), sdl->w, sdl->h, sdl->pitch};
        return;
    }
    if (nb::cast<int>(surface.attr("get_bytesize")()) != 4) {
        PyErr_SetString(PyExc_ValueError, "lumo_font paints only 32-bit surfaces");
        throw nb::python_error();
    }
    target_.width = nb::cast<int>(surface.attr("get_width")());
    target_.height = nb::cast<int>(surface.attr("get_height")());
    target_.pitch_bytes = nb::cast<long>(surface.attr("get_pitch")());
    proxy_ = surface.attr("get_buffer")();
    if (PyObject_GetBuffer(proxy_.ptr(), &view_, PyBUF_WRITABLE | PyBUF_SIMPLE) != 0) throw nb::python_error();
    if (target_.pitch_bytes * target_.height > view_.len || target_.pitch_bytes < 4L * target_.width) {
        PyBuffer_Release(&view_);
        PyErr_SetString(PyExc_ValueError, "surface buffer is smaller than its size says");
        throw nb::python_error();
    }
    held_ = true;
    target_.pixels = static_cast<std::uint8_t*>(view_.buf);
}

LockedPixels::~LockedPixels() {
    if (held_) PyBuffer_Release(&view_);
}

std::int32_t keep_run_surface(RunSurfaces& surfaces, nb::object surface) {
    surfaces.push_back(std::move(surface));
    return static_cast<std::int32_t>(surfaces.size() - 1);
}

LockedRunSurfaces::LockedRunSurfaces(const RunSurfaces& surfaces)
    : surfaces_(surfaces), locks_(surfaces.size()), pictures_(surfaces.size()) {}

const RunPicture& LockedRunSurfaces::picture(std::size_t number) {
    if (!locks_.at(number)) {
        locks_[number] = std::make_unique<LockedPixels>(surfaces_[number]);
        pictures_[number] = {locks_[number]->target(), surface_pixel_format(surfaces_[number])};
    }
    return pictures_[number];
}

}  // namespace lumo::shaping
