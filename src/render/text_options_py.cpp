// Reading the shared text options.
#include "render/text_options_py.h"

#include "engine/call_arguments_py.h"

namespace nb = nanobind;

namespace lumo::render {

TextOptions read_text_options(const TextOptionValues& given) {
    TextOptions options;
    options.markup = engine::flag_argument(given[0], true);
    return options;
}

nb::object text_options_key(const TextOptions& options) {
    if (options.is_default()) return nb::none();
    return nb::make_tuple("markup", options.markup);
}

}  // namespace lumo::render
