// Reading the shared text options: the host's values become the core's plain
// settings once per call, checked by the core's readers.
#include "render/text_options_py.h"

#include <climits>
#include <string>

#include "engine/call_arguments_py.h"
#include "engine/host_errors_py.h"
#include "engine/host_text_py.h"

namespace nb = nanobind;

namespace lumo::render {
namespace {

[[noreturn]] void raise_type_error(const char* what, nb::handle given) {
    PyErr_Format(PyExc_TypeError, "%s, not %.200s", what, Py_TYPE(given.ptr())->tp_name);
    throw nb::python_error();
}

/// Raises the core's refusal, when there is one, as a ValueError.
void require_accepted(const std::string& refusal) {
    if (!refusal.empty()) engine::raise_value_error(refusal);
}

bool is_mapping(nb::handle value) { return PyDict_Check(value.ptr()) || PyObject_HasAttrString(value.ptr(), "items"); }

/// Calls `each(tag, value)` with every item of a mapping whose keys must be text.
template <typename Each>
void for_each_item(nb::handle mapping, const char* option, Each&& each) {
    nb::object items = nb::steal(PyMapping_Items(mapping.ptr()));
    if (!items.is_valid()) throw nb::python_error();
    for (nb::handle item : items) {
        if (!PyTuple_Check(item.ptr()) || PyTuple_GET_SIZE(item.ptr()) != 2)
            raise_type_error((std::string(option) + ": items() must give (tag, value) pairs").c_str(), item);
        nb::handle tag = PyTuple_GET_ITEM(item.ptr(), 0);
        if (!PyUnicode_Check(tag.ptr())) raise_type_error((std::string(option) + ": a tag must be a str").c_str(), tag);
        each(engine::utf8_of(tag), tag, nb::handle(PyTuple_GET_ITEM(item.ptr(), 1)));
    }
}

std::vector<shaping::FeatureSetting> read_features(PyObject* given) {
    std::vector<shaping::FeatureSetting> features;
    if (given == nullptr || given == Py_None) return features;
    if (PyUnicode_Check(given)) {
        require_accepted(shaping::parse_features(engine::utf8_of(given), features));
        return features;
    }
    if (!is_mapping(given))
        raise_type_error("features must be a str such as '-liga,+tnum' or a mapping such as {'liga': False}", given);
    for_each_item(given, "features", [&](const std::string& tag, nb::handle tag_object, nb::handle value) {
        long long number = 0;
        if (PyBool_Check(value.ptr())) {
            number = value.ptr() == Py_True ? 1 : 0;
        } else if (PyLong_Check(value.ptr())) {
            int overflow = 0;
            number = PyLong_AsLongLongAndOverflow(value.ptr(), &overflow);
            if (number == -1 && PyErr_Occurred()) throw nb::python_error();
            if (overflow != 0) number = overflow < 0 ? LLONG_MIN : LLONG_MAX;
        } else {
            PyErr_Format(PyExc_TypeError, "features: the value of %R must be a bool or an int, not %.200s",
                         tag_object.ptr(), Py_TYPE(value.ptr())->tp_name);
            throw nb::python_error();
        }
        require_accepted(shaping::add_feature(tag, number, features));
    });
    return features;
}

std::string read_language(PyObject* given) {
    std::string language;
    if (given == nullptr || given == Py_None) return language;
    if (!PyUnicode_Check(given)) raise_type_error("language must be a str such as 'sr' or 'zh-Hant'", given);
    require_accepted(shaping::parse_language(engine::utf8_of(given), language));
    return language;
}

shaping::VariationRequest read_variations(PyObject* given) {
    shaping::VariationRequest variations;
    if (given == nullptr || given == Py_None) return variations;
    if (PyUnicode_Check(given)) {
        require_accepted(shaping::parse_variations(engine::utf8_of(given), variations));
        return variations;
    }
    if (!is_mapping(given))
        raise_type_error("variations must be a mapping such as {'wght': 650} or a named instance's name", given);
    for_each_item(given, "variations", [&](const std::string& tag, nb::handle tag_object, nb::handle value) {
        if (PyBool_Check(value.ptr()) || !(PyLong_Check(value.ptr()) || PyFloat_Check(value.ptr()))) {
            PyErr_Format(PyExc_TypeError, "variations: the value of %R must be an int or a float, not %.200s",
                         tag_object.ptr(), Py_TYPE(value.ptr())->tp_name);
            throw nb::python_error();
        }
        const double number = PyFloat_AsDouble(value.ptr());
        if (number == -1.0 && PyErr_Occurred()) throw nb::python_error();
        require_accepted(shaping::add_axis(tag, number, variations));
    });
    return variations;
}

nb::tuple features_key(const std::vector<shaping::FeatureSetting>& features) {
    nb::list key;
    for (const shaping::FeatureSetting& setting : features)
        key.append(nb::make_tuple(shaping::tag_text(setting.tag).c_str(), setting.value));
    return nb::tuple(key);
}

nb::object variations_key(const shaping::VariationRequest& variations) {
    if (!variations.instance.empty()) return engine::text_from_utf8(variations.instance);
    nb::list key;
    for (const shaping::AxisSetting& setting : variations.axes)
        key.append(nb::make_tuple(shaping::tag_text(setting.tag).c_str(), setting.value));
    return nb::tuple(key);
}

}  // namespace

TextOptions read_text_options(const TextOptionValues& given) {
    TextOptions options;
    options.markup = engine::flag_argument(given[0], true);
    options.typography.features = read_features(given[1]);
    options.typography.language = read_language(given[2]);
    options.typography.variations = read_variations(given[3]);
    return options;
}

nb::object text_options_key(const TextOptions& options) {
    if (options.is_default()) return nb::none();
    nb::list key;
    if (!options.markup) {
        key.append("markup");
        key.append(false);
    }
    const shaping::TypographyOptions& typography = options.typography;
    if (!typography.features.empty()) {
        key.append("features");
        key.append(features_key(typography.features));
    }
    if (!typography.language.empty()) {
        key.append("language");
        key.append(typography.language.c_str());
    }
    if (!typography.variations.empty()) {
        key.append("variations");
        key.append(variations_key(typography.variations));
    }
    return nb::tuple(key);
}

}  // namespace lumo::render
