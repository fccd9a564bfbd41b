// Sized pygame font objects: measuring fonts with their two-step fallback, and
// the legacy emoji engine.
#include "font/sized_fonts_py.h"

#include <cerrno>
#include <string>

#include "engine/console_py.h"
#include "engine/host_errors_py.h"
#include "engine/host_text_py.h"
#include "font/font_set_py.h"
#include "font/lumo_font_methods_py.h"
#include "font/object_caches_py.h"
#include "font/path_data_py.h"
#include "font/sized_font_opening.h"
#include "font/synthetic_style_py.h"

namespace nb = nanobind;

namespace lumo::font {
namespace {

/// pygame's FreeType module, started again when the game has stopped it
/// (pygame.quit() stops it, and a game may go on drawing text after).
nb::module_ pygame_freetype() {
    nb::module_ module = nb::module_::import_("pygame.freetype");
    if (!nb::cast<bool>(module.attr("get_init")())) module.attr("init")();
    return module;
}

void refuse_special_file(nb::handle path) {
    if (std::optional<std::string> bytes = engine::file_path_of(path); bytes && is_special_file(*bytes))
        engine::raise_os_error({EINVAL, *bytes});
}

FontStreamSource g_stream_source = nullptr;

/// What pygame opens for the file of `path_data`: a file object over its bytes
/// in memory, or else the path itself, once it is known not to be a pipe.
nb::object font_source(LumoFontObject* self, nb::handle path_data, nb::handle path) {
    nb::object stream = (g_stream_source != nullptr && !path.is_none()) ? g_stream_source(self, path_data) : nb::none();
    if (!stream.is_none()) return stream;
    refuse_special_file(path);
    return nb::borrow(path);
}

/// pygame reports a font file it could not map or read for lack of memory as
/// a file it cannot use: a substitute chosen then would stay cached after
/// memory came back, so MemoryError is raised when memory is short now.
void raise_if_memory_was_short(nb::handle path) {
    if (engine::memory_is_short(memory_to_open_font(engine::file_path_of(path)))) {
        PyErr_NoMemory();
        throw nb::python_error();
    }
}

/// Opens and configures the file's font; raises when the file cannot be used.
nb::object open_sized_font(LumoFontObject* self, nb::handle path_data, const PathData& where, nb::handle size,
                           nb::handle face) {
    if (where.path.is_none()) {
        PyErr_SetString(PyExc_FileNotFoundError, "no font file");
        throw nb::python_error();
    }
    const std::optional<int> collection_face = sized_font_face(engine::utf8_of(where.path), where.index);
    nb::object file = font_source(self, path_data, where.path);
    nb::object font = collection_face ? pygame_freetype().attr("Font")(file, size, nb::arg("font_index") = *collection_face)
                                      : pygame_freetype().attr("Font")(file, size);
    font.attr("antialiased") = nb::bool_(self->anti_alias != 0);
    font.attr("use_bitmap_strikes") = true;
    int face_given = PyObject_IsTrue(face.ptr());
    if (face_given < 0) throw nb::python_error();
    if (face_given && font::is_synthetic_needed(self, nb::str(""), face, path_data)) {
        engine::SyntheticStyle style = font::synthetic_flags(face);
        if (style.bold) font.attr("strong") = true;
        if (style.italic) font.attr("oblique") = true;
    }
    return font;
}

}  // namespace

nb::object get_font_obj(LumoFontObject* self, nb::handle path_data, nb::handle size, nb::handle face) {
    PathData where = parse_path_data(path_data, 0);
    nb::object key = nb::make_tuple(where.path, where.index, size, face);
    if (nb::object known = cache_find(self->font_objs, key.ptr()); known.is_valid()) return known;
    try {
        nb::object font = open_sized_font(self, path_data, where, size, face);
        cache_store(self->font_objs, key.ptr(), font.ptr());
        return font;
    } catch (nb::python_error& error) {
        if (!engine::is_recoverable(error)) throw;
    }
    raise_if_memory_was_short(where.path);
    // Substitutes are not kept: the next request tries the file again.
    try {
        nb::object arial = pygame_freetype().attr("SysFont")("arial", size);
        arial.attr("antialiased") = true;
        return arial;
    } catch (nb::python_error& error) {
        if (!engine::is_recoverable(error)) throw;
    }
    return pygame_freetype().attr("Font")(nb::none(), size);
}

void set_font_stream_source(FontStreamSource source) { g_stream_source = source; }

nb::object get_old_engine(LumoFontObject* self, nb::handle size) {
    if (nb::object known = cache_find(self->emoji_fallback_engine, size.ptr()); known.is_valid()) return known;
    nb::module_ font_module = nb::module_::import_("pygame.font");
    // pygame's font module must be started before it loads anything.
    if (!nb::cast<bool>(font_module.attr("get_init")())) font_module.attr("init")();
    nb::object engine;
    nb::object emoji_path = nb::borrow(self->emoji_path);
    try {
        engine = font_module.attr("Font")(font_source(self, emoji_path, emoji_path), size);
    } catch (nb::python_error& error) {
        if (!engine::is_recoverable(error)) throw;
        raise_if_memory_was_short(emoji_path);
        engine::print_line(nb::str("[ERROR] Can't load old Emoji Engine: ") + nb::str(error.value()));
        engine = font_module.attr("SysFont")("seguiemj", size);
    }
    cache_store(self->emoji_fallback_engine, size.ptr(), engine.ptr());
    return engine;
}

namespace {

/// The metrics entry to learn, when it is what the engine stores: a tuple
/// that begins with two floats.
std::optional<std::pair<SizeFaceKey, LearnedMetrics<nb::object>>> metrics_to_learn(nb::handle size, nb::handle face,
                                                                                     nb::handle entry) {
    PyObject* tuple = entry.ptr();
    if (!PyTuple_CheckExact(tuple) || PyTuple_GET_SIZE(tuple) < 2) return std::nullopt;
    PyObject* ascent = PyTuple_GET_ITEM(tuple, 0);
    PyObject* line_height = PyTuple_GET_ITEM(tuple, 1);
    if (!PyFloat_CheckExact(ascent) || !PyFloat_CheckExact(line_height)) return std::nullopt;
    if (SizeFaceKey key; size_face_key(size, face, key))
        return std::pair{std::move(key), LearnedMetrics<nb::object>{PyFloat_AS_DOUBLE(ascent),
                                                                    PyFloat_AS_DOUBLE(line_height), nb::borrow(entry)}};
    return std::nullopt;
}

const LearnedMetrics<nb::object>* learned_metrics(LumoFontObject* self, nb::handle size, nb::handle face) {
    static SizeFaceKey asked;  // reused: asking allocates nothing
    if (!size_face_key(size, face, asked)) return nullptr;
    return font_set(self).metrics.find(stamp_of(self->std_metrics), asked);
}

}  // namespace

nb::object get_metrics(LumoFontObject* self, nb::handle size, nb::handle face) {
    if (const LearnedMetrics<nb::object>* learned = learned_metrics(self, size, face)) return learned->entry;
    auto measure = [&](nb::handle path_data) {
        nb::object font = get_font_obj(self, path_data, size, face);
        nb::object ascent = nb::float_(font.attr("get_sized_ascender")());
        nb::object height = nb::float_(font.attr("get_sized_height")());
        return nb::make_tuple(ascent, height, font);
    };
    return consult_cache(
        self->std_metrics, font_set(self).metrics, nb::make_tuple(size, face),
        [&](nb::handle entry) { return metrics_to_learn(size, face, entry); },
        [&]() -> nb::object {
            try {
                return measure(get_true_path(self, self->fallback_name, face));
            } catch (nb::python_error& error) {
                if (!engine::is_recoverable(error)) throw;
            }
            return measure(nb::none());
        });
}

LineMetrics line_metrics(LumoFontObject* self, nb::handle size, nb::handle face) {
    if (const LearnedMetrics<nb::object>* learned = learned_metrics(self, size, face))
        return {learned->ascent, learned->line_height};
    nb::object metrics = get_metrics(self, size, face);
    return {nb::cast<double>(nb::float_(metrics[0])), nb::cast<double>(nb::float_(metrics[1]))};
}

}  // namespace lumo::font
