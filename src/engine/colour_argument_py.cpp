// Reading colours through pygame.Color.
#include "engine/colour_argument_py.h"

namespace nb = nanobind;

namespace lumo::engine {

std::array<std::uint8_t, 4> colour_rgba(nb::handle value) {
    nb::object colour = nb::module_::import_("pygame").attr("Color")(value);
    std::array<std::uint8_t, 4> rgba{};
    for (std::size_t i = 0; i < 4; ++i) rgba[i] = nb::cast<std::uint8_t>(colour[i]);
    return rgba;
}

nb::object line_colour(PyObject* value) {
    if (value == nullptr || value == Py_None) return nb::make_tuple(255, 255, 255);
    if (PyTuple_Check(value)) return nb::borrow(value);
    const std::array<std::uint8_t, 4> rgba = colour_rgba(value);
    return nb::make_tuple(rgba[0], rgba[1], rgba[2], rgba[3]);
}

}  // namespace lumo::engine
