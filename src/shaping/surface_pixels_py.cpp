// Direct access to a pygame Surface's 32-bit pixels, and its pixel format.
#include "shaping/surface_pixels_py.h"

#include <map>
#include <tuple>

namespace nb = nanobind;

namespace lumo::shaping {
namespace {

using MaskKey = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t>;

}  // namespace

const PixelFormat& surface_pixel_format(nb::handle surface) {
    static std::map<MaskKey, PixelFormat> formats;
    nb::object masks = surface.attr("get_masks")();
    MaskKey key{nb::cast<std::uint32_t>(masks[0]), nb::cast<std::uint32_t>(masks[1]),
                nb::cast<std::uint32_t>(masks[2]), nb::cast<std::uint32_t>(masks[3])};
    auto found = formats.find(key);
    if (found != formats.end()) return found->second;
    PixelFormat format;
    nb::object shifts = surface.attr("get_shifts")();
    nb::object losses = surface.attr("get_losses")();
    for (int i = 0; i < 4; ++i) {
        format.masks[i] = nb::cast<std::uint32_t>(masks[i]);
        format.shifts[i] = nb::cast<std::uint8_t>(shifts[i]);
        format.losses[i] = nb::cast<std::uint8_t>(losses[i]);
    }
    return formats.emplace(key, format).first->second;
}

LockedPixels::LockedPixels(nb::handle surface) {
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

}  // namespace lumo::shaping
