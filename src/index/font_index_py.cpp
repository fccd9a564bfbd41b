// The host functions of the font index: scanning, fingerprint, and the cached
// index that a font object loads when it first renders.
#include <cstdlib>
#include <optional>
#include <string>

#include "engine/console_py.h"
#include "engine/host_errors_py.h"
#include "engine/host_text_py.h"
#include "engine/scanning_flag.h"
#include "index/fingerprint.h"
#include "index/font_directories.h"
#include "index/font_map_file.h"
#include "index/font_map_loading.h"
#include "base/limits.h"
#include "index/font_scan.h"
#include "base/fs_paths.h"
#include "index/index_functions_py.h"

namespace nb = nanobind;

namespace lumo::index {
namespace {

/// Read on every call, so a host (or a test) that changes sys.platform is followed.
std::string current_platform() {
    return engine::utf8_of(nb::module_::import_("sys").attr("platform"));
}

std::optional<std::string> environment_value(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

/// Prints progress lines and lets the host interrupt a long scan (Ctrl-C).
class PrintingScanObserver final : public ScanObserver {
public:
    void scanning_directory(const std::string& directory) override {
        engine::print_line(nb::str("[DEBUG] Scanning...: ") + engine::text_from_path_bytes(directory));
    }
    void opening_file(const std::string&) override {
        if (PyErr_CheckSignals() != 0) throw nb::python_error();
    }
};

nb::dict python_font_map(const FontMap& map, const std::string* timestamp) {
    nb::dict paths;
    for (const auto& [key, record] : map.paths.entries()) {
        nb::list value;
        value.append(engine::text_from_path_bytes(record.path));
        value.append(record.face_index);
        paths[engine::text_from_utf8(key)] = value;
    }
    nb::dict names;
    for (const auto& [alias, full_name] : map.names.entries())
        names[engine::text_from_utf8(alias)] = engine::text_from_utf8(full_name);
    nb::dict result;
    if (timestamp) result["_timestamp"] = engine::text_from_utf8(*timestamp);
    result["paths"] = paths;
    result["names"] = names;
    return result;
}

FontMap scan_with_flag(const std::vector<std::string>& directories) {
    engine::ScanningScope scanning;
    PrintingScanObserver observer;
    FontMap map = scan_fonts(directories, observer);
    engine::print_line(scan_finished_line(map.paths.size()));
    return map;
}

nb::dict build_font_map() {
    return python_font_map(scan_with_flag(font_directories(current_platform())), nullptr);
}

std::string fingerprint_or_raise(const std::vector<std::string>& directories) {
    std::string fingerprint;
    if (auto error = fonts_fingerprint(directories, fingerprint)) engine::raise_os_error(*error);
    return fingerprint;
}

nb::str get_fonts_timestamp() {
    return engine::text_from_utf8(fingerprint_or_raise(font_directories(current_platform())));
}

/// The file's bytes as the host reads a UTF-8 text file and parses it with its
/// json module, so that every refusal is worded as that interpreter words it.
nb::object parse_as_host_text_json(const std::string& contents) {
    nb::object text = nb::steal(PyUnicode_DecodeUTF8(contents.data(), static_cast<Py_ssize_t>(contents.size()), "strict"));
    if (!text.is_valid()) throw nb::python_error();
    // Text mode reads every line break as "\n".
    if (contents.find('\r') != std::string::npos) text = text.attr("replace")("\r\n", "\n").attr("replace")("\r", "\n");
    return nb::module_::import_("json").attr("loads")(text);
}

/// repr() of a value from the index file.
std::string shown(nb::handle value) { return engine::utf8_of(nb::repr(value)); }

/// Whether `value` is [path text, face index] as the scan writes it.
bool is_path_record(nb::handle value) {
    if (!PyList_CheckExact(value.ptr()) || PyList_GET_SIZE(value.ptr()) != 2) return false;
    PyObject* path = PyList_GET_ITEM(value.ptr(), 0);
    PyObject* face_index = PyList_GET_ITEM(value.ptr(), 1);
    if (!PyUnicode_CheckExact(path) || !PyLong_CheckExact(face_index)) return false;
    const Py_ssize_t length = PyUnicode_GET_LENGTH(path);
    int overflow = 0;
    const long long number = PyLong_AsLongLongAndOverflow(face_index, &overflow);
    return is_written_path_record(static_cast<std::size_t>(length),
                                  length > 0 && PyUnicode_FindChar(path, 0, 0, length, 1) != -1,
                                  overflow == 0 ? std::optional<long long>(number) : std::nullopt);
}

/// Refuses an index whose members are not what a scan writes, so that a file
/// damaged in place is rebuilt instead of failing every font object that uses it.
void check_index_shape(nb::dict document, nb::dict paths) {
    for (auto [name, record] : paths) {
        if (!PyUnicode_CheckExact(name.ptr()) || !is_path_record(record))
            engine::raise_value_error(bad_path_record_message(shown(name), shown(record)));
    }
    nb::object names = document.contains("names") ? nb::object(document["names"]) : nb::none();
    if (!PyDict_CheckExact(names.ptr())) engine::raise_value_error(bad_names_message(shown(names)));
    for (auto [alias, full_name] : nb::borrow<nb::dict>(names)) {
        if (!PyUnicode_CheckExact(alias.ptr()) || !PyUnicode_CheckExact(full_name.ptr()) ||
            !paths.contains(full_name))
            engine::raise_value_error(bad_alias_message(shown(alias), shown(full_name)));
    }
}

/// The cached index when the file is current. A file that cannot be read or
/// has the wrong shape is reported and answered with nullopt.
std::optional<nb::object> load_current_cache(const std::string& cache_file, const std::string& fingerprint) {
    try {
        std::string contents;
        if (auto error = base::read_whole_file(cache_file, contents, kMaxIndexFileBytes)) {
            nb::object exception = engine::os_error(*error);
            PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(exception.ptr())), exception.ptr());
            throw nb::python_error();
        }
        nb::object data = parse_as_host_text_json(contents);

        if (!PyDict_Check(data.ptr())) engine::raise_missing_attribute(data, "get");
        nb::dict document = nb::borrow<nb::dict>(data);
        nb::object paths = document.contains("paths") ? nb::object(document["paths"]) : nb::object(nb::dict());
        if (!PyDict_Check(paths.ptr())) engine::raise_missing_attribute(paths, "values");
        nb::dict paths_dict = nb::borrow<nb::dict>(paths);
        bool first_is_list = false;
        for (auto [key, value] : paths_dict) {
            first_is_list = PyList_Check(value.ptr());
            break;
        }
        nb::object stored = document.contains("_timestamp") ? nb::object(document["_timestamp"]) : nb::none();
        const std::optional<std::string> timestamp =
            PyUnicode_Check(stored.ptr()) ? std::optional<std::string>(engine::utf8_of(stored)) : std::nullopt;
        if (!is_current_index(timestamp, fingerprint, first_is_list)) return std::nullopt;
        check_index_shape(document, paths_dict);
        return data;
    } catch (nb::python_error& error) {
        if (!engine::is_recoverable(error)) throw;
        engine::print_line(nb::str("[DEBUG] Cache error or old format, Rescanning: ") + engine::exception_message(error));
        return std::nullopt;
    }
}

/// The index as the host loads it: the cache file read with its json module,
/// a scan's progress and outcome printed.
class HostIndexLoading final : public IndexLoading {
public:
    bool take_cached(const std::string& cache_file, const std::string& fingerprint) override {
        std::optional<nb::object> cached = load_current_cache(cache_file, fingerprint);
        if (cached) taken = nb::borrow<nb::dict>(*cached);
        return cached.has_value();
    }
    void say(std::string_view line) override { engine::print_line(line); }
    FontMap scan(const std::vector<std::string>& directories) override { return scan_with_flag(directories); }
    void say_written(const std::string& cache_file) override {
        engine::print_line(nb::str("[SUCCESS] Font index updated at ") + engine::text_from_path_bytes(cache_file));
    }
    void say_not_written(const base::FileError& error) override {
        engine::print_line(nb::str("[ERROR] Failed to update font_map.json: ") + nb::str(engine::os_error(error)));
    }

    nb::dict taken;  // the cache file's index, when it was current
};

nb::dict load_or_update_font_map() {
    std::string platform = current_platform();
    std::string cache_file = base::join_path(prepare_host_index_directory(true).path, kCacheFileName);
    std::vector<std::string> directories = font_directories(platform);
    std::string fingerprint = fingerprint_or_raise(directories);
    HostIndexLoading host;
    std::optional<FontMap> scanned = load_or_scan(cache_file, directories, fingerprint, host);
    if (!scanned) return host.taken;
    return python_font_map(*scanned, &fingerprint);
}

}  // namespace

IndexDirectory prepare_host_index_directory(bool announce_fallback) {
    IndexDirectory directory;
    std::optional<base::FileError> error = prepare_index_directory(current_platform(), &environment_value, directory);
    if (directory.is_fallback && announce_fallback)
        engine::print_line("[WARNING] No permission to write in system app data. Using local user directory.");
    if (error) engine::raise_os_error(*error);
    return directory;
}

void install_font_index_functions(nb::module_& package) {
    package.def("build_font_map", &build_font_map, nb::sig("def build_font_map() -> dict"),
                "Scans the platform's font directories and returns {'paths': ..., 'names': ...}.");
    package.def("get_fonts_timestamp", &get_fonts_timestamp, nb::sig("def get_fonts_timestamp() -> str"),
                "A fingerprint of the font directories that changes when fonts are added or removed.");
    package.def("load_or_update_font_map", &load_or_update_font_map, nb::sig("def load_or_update_font_map() -> dict"),
                "The font index from the cache file when it is current, else a fresh scan stored in the file.");
}

}  // namespace lumo::index
