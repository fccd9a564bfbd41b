// Binds coverage sets to the host: membership for any object, pickling
// through the checked byte form, and the coverage reader of font files.
#include "font/code_point_set_py.h"

#include <nanobind/stl/string.h>

#include <cstdint>
#include <string>

#include "engine/host_errors_py.h"
#include "engine/host_text_py.h"
#include "font/cmap_reader.h"

namespace nb = nanobind;

namespace lumo::font {
namespace {

/// `value in set` as the host asks it: any object, and only ints within
/// Unicode can be members, however large or small the int is.
bool contains_object(const CodePointSet& set, nb::handle value) {
    if (!PyLong_Check(value.ptr())) return false;
    int overflow = 0;
    const long long code = PyLong_AsLongLongAndOverflow(value.ptr(), &overflow);
    if (code == -1 && PyErr_Occurred()) {
        PyErr_Clear();
        return false;
    }
    if (overflow != 0 || code < 0 || code > kMaxCodePoint) return false;
    return set.contains(static_cast<std::uint32_t>(code));
}

nb::list ranges_list(const CodePointSet& set) {
    nb::list out;
    for (const CodePointRange& range : set.ranges()) out.append(nb::make_tuple(range.first, range.last));
    return out;
}

/// The set is immutable, so it hashes by content like a frozenset.
Py_hash_t content_hash(const CodePointSet& set) { return static_cast<Py_hash_t>(set.content_hash()); }

nb::object equals(const CodePointSet& set, nb::handle other) {
    const CodePointSet* other_set = as_code_point_set(other);
    if (other_set == nullptr) return nb::borrow(Py_NotImplemented);
    return nb::bool_(set == *other_set);
}

// Pickles name this function, so its name is part of the pickle format.
constexpr const char* kRestoreFunctionName = "_restore_code_point_set";

/// The restore function as the host calls it: the set that pickling stored
/// as `state`. A pickle may be forged, so anything but bytes the set itself
/// wrote is refused with ValueError. It is a plain builtin rather than a
/// nanobind function because only builtins pickle by name, which the
/// reduction below needs under every protocol.
PyObject* restore_entry(PyObject* /*module*/, PyObject* state) noexcept {
    if (!PyBytes_Check(state)) {
        PyErr_SetString(PyExc_ValueError, "CodePointSet state must be the bytes that pickling a CodePointSet produced");
        return nullptr;
    }
    const std::string_view bytes(PyBytes_AS_STRING(state), static_cast<std::size_t>(PyBytes_GET_SIZE(state)));
    try {
        std::optional<CodePointSet> restored = CodePointSet::deserialize(bytes);
        if (restored) return wrap_code_point_set(std::move(*restored)).release().ptr();
        PyErr_SetString(PyExc_ValueError, "CodePointSet state is malformed: not bytes that pickling a CodePointSet produced");
    } catch (nb::python_error& error) {
        error.restore();
    } catch (const std::bad_alloc&) {
        PyErr_NoMemory();
    } catch (const std::exception& error) {
        PyErr_SetString(PyExc_RuntimeError, error.what());
    }
    return nullptr;
}

PyMethodDef restore_method = {kRestoreFunctionName, &restore_entry, METH_O,
                              "_restore_code_point_set($module, state, /)\n--\n\n"
                              "Unpickles a CodePointSet; ValueError for bytes that pickling did not produce."};

/// Pickles as a call of the module's restore function with the byte form: a
/// reduction works with every pickle protocol and never leaves a half-built set.
nb::tuple reduce(const CodePointSet& set) {
    const std::string state = set.serialize();
    nb::object module_name = nb::type<CodePointSet>().attr("__module__");
    nb::object restore = nb::module_::import_(module_name).attr(kRestoreFunctionName);
    return nb::make_tuple(restore, nb::make_tuple(nb::bytes(state.data(), state.size())));
}

/// Instance size plus the heap the ranges take, so that sys.getsizeof tells the truth.
std::size_t size_in_memory(const CodePointSet& set) {
    const auto* type = reinterpret_cast<PyTypeObject*>(nb::type<CodePointSet>().ptr());
    return static_cast<std::size_t>(type->tp_basicsize) + set.memory_bytes();
}

/// Unreadable paths cover nothing, as unreadable fonts do: text the file
/// system cannot encode, or that holds a NUL byte and so names no file.
nb::object read_coverage(nb::str path, int face_index) {
    std::optional<std::string> path_bytes = engine::file_path_of(path);
    if (!path_bytes) return wrap_code_point_set({});
    CodePointSet coverage;
    {
        // The reader has its own FreeType instance; other threads may run meanwhile.
        nb::gil_scoped_release unlocked;
        coverage = read_unicode_coverage(*path_bytes, face_index);
    }
    return wrap_code_point_set(std::move(coverage));
}

}  // namespace

nb::object wrap_code_point_set(CodePointSet set) {
    engine::require_headroom_for_wrapper();
    return nb::cast(std::move(set));
}

const CodePointSet* as_code_point_set(nb::handle object) {
    if (!nb::isinstance<CodePointSet>(object) || !nb::inst_ready(object)) return nullptr;
    return nb::inst_ptr<CodePointSet>(object);
}

void bind_code_point_set(nb::module_& native) {
    nb::class_<CodePointSet>(native, "CodePointSet",
                             "The Unicode code points a font face covers, kept as sorted ranges. Immutable.")
        .def(nb::init<>(), "An empty set.")
        .def("__contains__", &contains_object, nb::arg("code_point").none(),
             nb::sig("def __contains__(self, code_point: object) -> bool"))
        .def("__len__", &CodePointSet::size)
        .def("__eq__", &equals, nb::arg("other").none(), nb::sig("def __eq__(self, other: object) -> bool"))
        .def("__hash__", &content_hash)
        .def("__repr__", &CodePointSet::description)
        .def("__sizeof__", &size_in_memory)
        .def("ranges", &ranges_list, nb::sig("def ranges(self) -> list[tuple[int, int]]"),
             "The covered code points as sorted, inclusive (first, last) pairs.")
        .def("__reduce__", &reduce);

    nb::object restore = nb::steal(PyCFunction_NewEx(&restore_method, native.ptr(), native.attr("__name__").ptr()));
    if (!restore.is_valid()) throw nb::python_error();
    native.attr(kRestoreFunctionName) = restore;
    native.def("_read_unicode_coverage", &read_coverage, nb::arg("path"), nb::arg("face_index"),
               nb::sig("def _read_unicode_coverage(path: str, face_index: int) -> CodePointSet"),
               "The code points of the face's preferred Unicode character map; empty for a file that cannot be "
               "read. face_index -1 names a single-font file; a collection asked for -1 covers nothing.");
}

}  // namespace lumo::font
