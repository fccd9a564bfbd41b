// The HarfBuzz font per (file, face index) of a font object. The file's bytes
// are read once into a host bytes object that the cache entry holds next to
// the font, which reads them in place.
#include <string>

#include "engine/console_py.h"
#include "engine/host_errors_py.h"
#include "engine/host_text_py.h"
#include "font/font_file_bytes.h"
#include "font/font_set_py.h"
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

/// Teaches the font set the HarfBuzz font of a cache entry the engine made:
/// a tuple whose first item is the font.
template <class Learn>
void learn_hb_font(const font::PathData& where, nb::handle entry, Learn&& learn) {
    if (!PyTuple_CheckExact(entry.ptr()) || PyTuple_GET_SIZE(entry.ptr()) < 1) return;
    nb::handle harfbuzz = PyTuple_GET_ITEM(entry.ptr(), 0);
    if (font::FontFileKey key; as_harfbuzz_font(harfbuzz) != nullptr && font::file_key(where.path, where.index, key))
        learn(std::move(key), nb::borrow(harfbuzz));
}

/// The HarfBuzz font the object holds for `where` (its cache entry's first
/// item), or an invalid object.
nb::object cached_hb_font(font::LumoFontObject* self, const font::PathData& where) {
    font::HostFontSet& set = font::font_set(self);
    static font::FontFileKey asked;  // reused: asking allocates nothing
    if (font::file_key(where.path, where.index, asked)) {
        if (const nb::object* known = set.shaping_fonts.find(font::stamp_of(self->hb_fonts), asked)) return *known;
    }
    nb::object key = nb::make_tuple(where.path, where.index);
    nb::object cache = nb::borrow(self->hb_fonts);
    const font::ViewStamp seen = font::stamp_of(cache.ptr());
    nb::object entry = font::cache_find(cache.ptr(), key.ptr());
    if (!entry.is_valid()) return entry;
    learn_hb_font(where, entry, [&](font::FontFileKey file, nb::object harfbuzz) {
        set.shaping_fonts.learn_read(seen, font::stamp_of(cache.ptr()), std::move(file), std::move(harfbuzz));
    });
    nb::object cached = nb::steal(PySequence_GetItem(entry.ptr(), 0));
    if (!cached.is_valid()) throw nb::python_error();
    return cached;
}

}  // namespace

nb::object load_hb_font(font::LumoFontObject* self, nb::handle path_data, nb::object& failure) {
    font::PathData where = font::parse_path_data(path_data, 0);
    if (nb::object cached = cached_hb_font(self, where); cached.is_valid()) return cached;
    nb::object wrapped = read_hb_font(where, failure);
    if (!wrapped.is_valid()) return wrapped;
    nb::object key = nb::make_tuple(where.path, where.index);
    nb::object cache = nb::borrow(self->hb_fonts);
    const font::ViewStamp before = font::stamp_of(cache.ptr());
    nb::object entry = nb::make_tuple(wrapped, as_harfbuzz_font(wrapped)->data);
    font::cache_store(cache.ptr(), key.ptr(), entry.ptr());
    learn_hb_font(where, entry, [&](font::FontFileKey file, nb::object harfbuzz) {
        font::font_set(self).shaping_fonts.learn_write(before, font::stamp_of(cache.ptr()), std::move(file),
                                                       std::move(harfbuzz));
    });
    return wrapped;
}

nb::object font_for_question(font::LumoFontObject* self, nb::handle path_data) {
    font::PathData where = font::parse_path_data(path_data, 0);
    nb::object failure;
    nb::object font = cached_hb_font(self, where);
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
