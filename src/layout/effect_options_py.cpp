// Reading the effect options of the block calls from the host, and what
// they add to the block cache's key.
#include "layout/effect_options_py.h"


#include "base/limits.h"
#include "engine/call_arguments_py.h"
#include "engine/colour_argument_py.h"
#include "engine/host_errors_py.h"

namespace nb = nanobind;

namespace lumo::layout {
namespace {

/// A number of pixels from 0 to `most` (an int or a float, not a bool).
double pixels_argument(const char* argument, PyObject* value, double most) {
    if (PyBool_Check(value) || !(PyLong_Check(value) || PyFloat_Check(value)))
        engine::raise_argument_type_error(argument, "int or float", value);
    const double pixels = PyFloat_AsDouble(value);
    if (pixels == -1.0 && PyErr_Occurred()) throw nb::python_error();
    if (!effect_pixels_allowed(pixels, most)) {
        PyErr_Format(PyExc_ValueError, "%s, not %R", effect_pixels_message(argument, most).c_str(), value);
        throw nb::python_error();
    }
    return pixels;
}

/// The shadow's offset: None, or (dx, dy) in pixels, rounded to whole pixels.
void read_shadow_offset(PyObject* value, TextEffects& effects) {
    if (value == nullptr || value == Py_None) return;
    nb::object items = nb::steal(PySequence_Fast(value, "shadow must be None or a pair (dx, dy) of numbers"));
    if (!items.is_valid()) throw nb::python_error();
    bool numbers = PySequence_Fast_GET_SIZE(items.ptr()) == 2;
    double offset[2] = {0.0, 0.0};
    for (int i = 0; numbers && i < 2; ++i) {
        PyObject* item = PySequence_Fast_GET_ITEM(items.ptr(), i);
        numbers = !PyBool_Check(item) && (PyLong_Check(item) || PyFloat_Check(item));
        if (numbers) offset[i] = PyFloat_AsDouble(item);
        if (PyErr_Occurred()) throw nb::python_error();
    }
    if (!numbers) {
        PyErr_Format(PyExc_TypeError, "shadow must be None or a pair (dx, dy) of numbers, not %R", value);
        throw nb::python_error();
    }
    if (!set_shadow_offset(offset[0], offset[1], effects)) {
        PyErr_Format(PyExc_ValueError, "%s, not %R", shadow_offset_message().c_str(), value);
        throw nb::python_error();
    }
}

}  // namespace

TextEffects read_effects(PyObject* const* given) {
    TextEffects effects;
    if (given[0]) effects.outline = pixels_argument("outline", given[0], kMaxOutlinePixels);
    if (given[1] != nullptr && given[1] != Py_None)
        effects.outline_colour = engine::colour_rgba(given[1]);
    read_shadow_offset(given[2], effects);
    if (given[3] != nullptr && given[3] != Py_None)
        effects.shadow_colour = engine::colour_rgba(given[3]);
    if (given[4])
        effects.shadow_blur = pixels_argument("shadow_blur", given[4], kMaxShadowBlurPixels);
    effects.underline = engine::flag_argument(given[5], false);
    effects.strikethrough = engine::flag_argument(given[6], false);
    return effects;
}

namespace {

nb::object rgba_key(const Rgba& colour) { return nb::make_tuple(colour[0], colour[1], colour[2], colour[3]); }

}  // namespace

nb::object effects_key(const TextEffects& effects) {
    if (!effects.any()) return nb::none();
    nb::object outline = nb::none(), shadow = nb::none();
    if (effects.has_outline()) outline = nb::make_tuple(effects.outline, rgba_key(effects.outline_colour));
    if (effects.shadow)
        shadow = nb::make_tuple(effects.shadow_x, effects.shadow_y, rgba_key(effects.shadow_colour), effects.shadow_blur);
    return nb::make_tuple("effects", outline, shadow, effects.underline, effects.strikethrough);
}

}  // namespace lumo::layout
