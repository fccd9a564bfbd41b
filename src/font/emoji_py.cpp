// Emoji classification of single characters, memoised for the process.
#include "font/emoji_py.h"

#include "engine/engine_namespace_py.h"
#include "engine/host_text_py.h"
#include "font/emoji_ranges.h"

namespace nb = nanobind;

namespace lumo::font {
namespace {

/// The module's emoji cache as it stands now; the host may have replaced it.
PyObject* emoji_cache() {
    PyObject* cache = PyDict_GetItemString(engine::engine_namespace(), "_EMOJI_CACHE");
    if (cache == nullptr) {
        PyErr_SetString(PyExc_NameError, "name '_EMOJI_CACHE' is not defined");
        throw nb::python_error();
    }
    return cache;
}

bool listed_in_emoji_table(nb::handle ch) {
    // Looked up on each use, as the emoji package may be updated while running.
    nb::object table = nb::module_::import_("emoji").attr("EMOJI_DATA");
    int found = PySequence_Contains(table.ptr(), ch.ptr());
    if (found < 0) throw nb::python_error();
    return found == 1;
}

}  // namespace

bool is_emoji(nb::handle ch) {
    // Held: the lookup may run a key's __eq__, which may replace the module's cache.
    nb::object held = nb::borrow(emoji_cache());
    PyObject* cache = held.ptr();
    if (PyDict_Check(cache)) {
        if (PyObject* known = PyDict_GetItemWithError(cache, ch.ptr())) {
            int truth = PyObject_IsTrue(known);
            if (truth < 0) throw nb::python_error();
            return truth == 1;
        }
        if (PyErr_Occurred()) throw nb::python_error();
    }
    Py_UCS4 code = engine::code_point_of(ch);
    bool result;
    if (std::optional<bool> fixed = fixed_emoji_status(code))
        result = *fixed;
    else
        result = listed_in_emoji_table(ch) || is_emoji_joiner(code);
    if (PyObject_SetItem(cache, ch.ptr(), result ? Py_True : Py_False) != 0) throw nb::python_error();
    return result;
}

void install_emoji_function(nb::module_& package) {
    package.def("is_emoji", [](nb::handle ch) { return is_emoji(ch); }, nb::arg("ch").none(),
                nb::sig("def is_emoji(ch: str) -> bool"),
                "Whether ch, a single character, is an emoji (memoised for the process in _EMOJI_CACHE).");
}

}  // namespace lumo::font
