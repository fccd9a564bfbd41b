// The HarfBuzz font per (file, face index) of a font object. The file's bytes
// are read once into a host bytes object that the cache entry holds next to
// the font, which reads them in place.
#include <string>

#include "engine/console_py.h"
#include "engine/host_errors_py.h"
#include "engine/host_text_py.h"
#include "font/font_file_bytes.h"
#include "font/object_caches_py.h"
#include "font/path_data_py.h"
#include "base/file_reader.h"
#include "shaping/native_fonts_py.h"
#include "shaping/shaped_run_py.h"

namespace nb = nanobind;

namespace lumo::shaping {
namespace {

/// The whole file as host bytes; the errno of the failure otherwise.
int read_into_bytes(const std::string& path, nb::object& data, base::FileIdentity& identity) {
    std::size_t read = 0;
    const int error = base::read_file(path, lumo::kMaxFontFileBytes, [&](std::size_t size) {
        data = nb::steal(PyBytes_FromStringAndSize(nullptr, static_cast<Py_ssize_t>(size)));
        if (!data.is_valid()) throw nb::python_error();
        return reinterpret_cast<std::uint8_t*>(PyBytes_AS_STRING(data.ptr()));
    }, read, &identity);
    if (error != 0) return error;
    // A file that shrank meanwhile keeps what was read.
    if (read < static_cast<std::size_t>(PyBytes_GET_SIZE(data.ptr())))
        data = nb::steal(PyBytes_FromStringAndSize(PyBytes_AS_STRING(data.ptr()), static_cast<Py_ssize_t>(read)));
    return 0;
}

}  // namespace

namespace {

/// The HarfBuzz font of the file and face `where`, read now; an invalid
/// object, with `failure` set to the reason, when it cannot be read.
nb::object read_hb_font(const font::PathData& where, nb::object& failure) {
    if (where.path.is_none()) {
        failure = nb::str("expected str, bytes or os.PathLike object, not NoneType");
        return nb::object();
    }
    std::string path = engine::path_bytes_of(where.path);
    nb::object data;
    base::FileIdentity identity;
    if (int error_number = read_into_bytes(path, data, identity); error_number != 0) {
        failure = nb::str(engine::os_error({error_number, path}));  // worded as the host's open() words it
        return nb::object();
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(PyBytes_AS_STRING(data.ptr()));
    FontLoadError load_error;
    auto font = HarfBuzzFont::from_borrowed_bytes(
        std::span<const std::uint8_t>(bytes, static_cast<std::size_t>(PyBytes_GET_SIZE(data.ptr()))), where.index,
        load_error);
    if (!font) {
        failure = nb::str(load_error.message.c_str());
        return nb::object();
    }
    return wrap_harfbuzz_font({nb::borrow<nb::bytes>(data), std::move(font), identity});
}

nb::object cached_hb_font(font::LumoFontObject* self, nb::handle key) {
    nb::object entry = font::cache_find(self->hb_fonts, key.ptr());
    if (!entry.is_valid()) return entry;
    nb::object cached = nb::steal(PySequence_GetItem(entry.ptr(), 0));
    if (!cached.is_valid()) throw nb::python_error();
    return cached;
}

}  // namespace

nb::object load_hb_font(font::LumoFontObject* self, nb::handle path_data, nb::object& failure) {
    font::PathData where = font::parse_path_data(path_data, 0);
    nb::object key = nb::make_tuple(where.path, where.index);
    if (nb::object cached = cached_hb_font(self, key); cached.is_valid()) return cached;
    nb::object wrapped = read_hb_font(where, failure);
    if (!wrapped.is_valid()) return wrapped;
    font::cache_store(self->hb_fonts, key.ptr(), nb::make_tuple(wrapped, as_harfbuzz_font(wrapped)->data).ptr());
    return wrapped;
}

nb::object font_for_question(font::LumoFontObject* self, nb::handle path_data) {
    font::PathData where = font::parse_path_data(path_data, 0);
    nb::object failure;
    nb::object font = cached_hb_font(self, nb::make_tuple(where.path, where.index));
    if (!font.is_valid()) font = read_hb_font(where, failure);
    return font;
}

std::optional<bool> has_colour_glyphs(font::LumoFontObject* self, nb::handle path_data) {
    nb::object font = font_for_question(self, path_data);
    const HarfBuzzFontObject* harfbuzz = font.is_valid() ? as_harfbuzz_font(font) : nullptr;
    if (harfbuzz == nullptr || !harfbuzz->font) return std::nullopt;
    return harfbuzz->font->has_colour_glyphs();
}

std::optional<FontVariations> font_variations(font::LumoFontObject* self, nb::handle path_data) {
    nb::object font = font_for_question(self, path_data);
    const HarfBuzzFontObject* harfbuzz = font.is_valid() ? as_harfbuzz_font(font) : nullptr;
    if (harfbuzz == nullptr || !harfbuzz->font) return std::nullopt;
    return harfbuzz->font->variations();
}

nb::object get_hb_font(font::LumoFontObject* self, nb::handle path_data) {
    nb::object failure;
    if (nb::object font = load_hb_font(self, path_data, failure); font.is_valid()) return font;
    font::PathData where = font::parse_path_data(path_data, 0);
    engine::print_line(nb::str("Error loading HarfBuzz font at ") + nb::str(where.path) + nb::str(", (index ") +
                       nb::str(std::to_string(where.index).c_str()) + nb::str("): ") + failure);
    return nb::none();
}

}  // namespace lumo::shaping
