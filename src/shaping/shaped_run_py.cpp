// Drawing one run: the HarfBuzz font and FreeType face of its file (cached on
// the font object), layout and rasterising in the native core, and painting
// straight into the new surface's pixels.
#include "shaping/shaped_run_py.h"

#include <cstring>
#include <string>
#include <vector>

#include "engine/console_py.h"
#include "engine/host_errors_py.h"
#include "engine/host_text_py.h"
#include "engine/host_values_py.h"
#include "engine/settings_py.h"
#include "font/freetype_errors.h"
#include "font/object_caches_py.h"
#include "font/path_data_py.h"
#include "font/shared_freetype.h"
#include "font/sized_fonts_py.h"
#include "shaping/native_fonts_py.h"
#include "shaping/run_layout.h"
#include "shaping/shaping_limits.h"
#include "shaping/surface_pixels_py.h"
#include "shaping/synthetic_style_py.h"

namespace nb = nanobind;

namespace lumo::shaping {
namespace {

using font::LumoFontObject;

/// Runs set in the emoji font are drawn whole by pygame's older font engine,
/// always white, lowered onto the text's baseline when SMOOTH_FONT is on.
nb::object render_emoji_run(LumoFontObject* self, nb::handle text, nb::handle size, int ascent, long height,
                            const EmojiPlacement& placement, long& width) {
    nb::object engine = font::get_old_engine(self, size);
    nb::object raw = engine.attr("render")(text, nb::bool_(self->anti_alias != 0), nb::make_tuple(255, 255, 255));
    width = std::max(1L, nb::cast<long>(raw.attr("get_width")()));
    nb::object surface = new_surface(width, height);
    long drop = 0;
    if (placement.lowered) {
        long lift = static_cast<long>(nb::cast<double>(nb::float_(size)) * placement.offset);
        drop = std::max(0L, ascent - nb::cast<long>(engine.attr("get_ascent")()) - lift);
    }
    surface.attr("blit")(raw, nb::make_tuple(0, drop));
    return surface;
}

std::uint8_t colour_component(nb::handle color, Py_ssize_t index) {
    nb::object item = nb::steal(PySequence_GetItem(color.ptr(), index));
    if (!item.is_valid()) throw nb::python_error();
    long value = nb::cast<long>(nb::int_(item));
    // The surface's map_rgb refuses the same values.
    if (value < 0 || value > 255) {
        PyErr_SetString(PyExc_ValueError, "invalid color argument");
        throw nb::python_error();
    }
    return static_cast<std::uint8_t>(value);
}

/// The face at `size` for (path, index, face word), created once; null when it cannot be.
nb::object freetype_face(LumoFontObject* self, const font::PathData& where, nb::handle size, nb::handle face) {
    nb::object key = nb::make_tuple("FT", where.path, where.index, size, face);
    if (nb::object known = font::cache_find(self->font_objs, key.ptr()); known.is_valid()) return known;
    if (where.path.is_none()) return nb::object();
    std::string path;
    try {
        path = engine::path_bytes_of(where.path);
    } catch (nb::python_error& error) {
        if (!error.matches(PyExc_Exception)) throw;
        return nb::object();
    }
    int pixel_size = 0;
    if (!nb::try_cast<int>(size, pixel_size)) return nb::object();
    FT_Library library = font::shared_freetype_library();
    FT_Face created = nullptr;
    if (library == nullptr || path.find('\0') != std::string::npos ||
        FT_New_Face(library, path.c_str(), where.index, &created) != 0)
        return nb::object();
    font::FtFacePtr owned(created);
    if (pixel_size <= 0 || FT_Set_Pixel_Sizes(created, 0, static_cast<FT_UInt>(pixel_size)) != 0) return nb::object();
    nb::object wrapped = wrap_freetype_face({std::move(owned), pixel_size});
    font::cache_store(self->font_objs, key.ptr(), wrapped.ptr());
    return wrapped;
}

std::vector<std::uint32_t> code_points_of(nb::handle text) {
    if (!PyUnicode_Check(text.ptr())) {
        PyErr_Format(PyExc_TypeError, "Expected str, got %.200s", Py_TYPE(text.ptr())->tp_name);
        throw nb::python_error();
    }
    Py_ssize_t length = PyUnicode_GET_LENGTH(text.ptr());
    std::vector<std::uint32_t> code_points(static_cast<std::size_t>(length));
    for (Py_ssize_t i = 0; i < length; ++i) code_points[static_cast<std::size_t>(i)] = PyUnicode_READ_CHAR(text.ptr(), i);
    return code_points;
}

RasterOptions raster_options(LumoFontObject* self, nb::handle font_path, nb::handle face) {
    RasterOptions options;
    options.anti_aliased = self->anti_alias != 0;
    int face_given = PyObject_IsTrue(face.ptr());
    if (face_given < 0) throw nb::python_error();
    if (face_given && is_synthetic_needed(self, nb::str(""), face, font_path)) {
        engine::SyntheticStyle style = synthetic_flags(face);
        options.synthetic_bold = style.bold;
        options.synthetic_italic = style.italic;
    }
    return options;
}

}  // namespace

EmojiPlacement current_emoji_placement() {
    return emoji_placement_of(engine::setting_value(engine::SettingId::SmoothFont),
                              engine::setting_value(engine::SettingId::EmojiOffsetY));
}

EmojiPlacement emoji_placement_of(nb::handle smooth_font, nb::handle emoji_offset_y) {
    nb::object smooth = nb::borrow(smooth_font), offset = nb::borrow(emoji_offset_y);
    return {engine::truth_of(smooth), nb::cast<double>(nb::float_(offset))};
}

nb::object new_surface(long width, long height) {
    nb::module_ pygame = nb::module_::import_("pygame");
    return pygame.attr("Surface")(nb::make_tuple(width, height), pygame.attr("SRCALPHA"));
}

RunFont resolve_run_font(LumoFontObject* self, nb::handle size, nb::handle font_path, nb::handle face,
                         const EmojiPlacement& placement) {
    RunFont font;
    font.emoji_placement = placement;
    nb::object metrics = font::get_metrics(self, size, face);
    double ascent = nb::cast<double>(nb::float_(metrics[0]));
    double line_height = nb::cast<double>(nb::float_(metrics[1]));
    font.baseline = static_cast<int>(ascent + 0.5);
    font.height = static_cast<int>(line_height * 1.5);

    bool is_record = PyList_Check(font_path.ptr()) || PyTuple_Check(font_path.ptr());
    nb::object drawn_path = is_record ? nb::object(font_path[0]) : nb::borrow(font_path);
    nb::object emoji_path = nb::borrow(self->emoji_path);  // held while compared by host code
    int same_as_emoji = PyObject_RichCompareBool(drawn_path.ptr(), emoji_path.ptr(), Py_EQ);
    if (same_as_emoji < 0) throw nb::python_error();
    if (same_as_emoji) {
        font.emoji = true;
        return font;
    }
    font::PathData where = font::parse_path_data(font_path, 0);
    where.index = std::max(where.index, 0);
    nb::object harfbuzz = get_hb_font(self, font_path);
    if (harfbuzz.is_none()) return font;
    nb::object face_object = freetype_face(self, where, size, face);
    if (!face_object.is_valid()) return font;
    font.options = raster_options(self, font_path, face);
    font.harfbuzz = harfbuzz;
    font.face = face_object;
    return font;
}

PreparedRun prepare_run_with(LumoFontObject* self, const RunFont& font, nb::handle text, nb::handle size,
                             nb::handle color) {
    PreparedRun run;
    run.baseline = font.baseline;
    run.height = font.height;
    if (font.emoji) {
        long width = 1;
        run.surface = render_emoji_run(self, text, size, run.baseline, run.height, font.emoji_placement, width);
        run.width = static_cast<int>(width);
        run.advance = width;
        return run;
    }
    if (!font.harfbuzz.is_valid()) return run;  // empty: 1 pixel wide, advance 1

    std::vector<std::uint32_t> code_points = code_points_of(text);
    if (code_points.size() > kMaxRunCodePoints) {
        PyErr_Format(PyExc_ValueError, "a run of %zu characters is longer than the %zu one run may hold",
                     code_points.size(), kMaxRunCodePoints);
        throw nb::python_error();
    }
    FreeTypeFaceObject* face_entry = as_freetype_face(font.face);
    std::shared_ptr<const RunLayout> layout = face_entry->layouts->find(code_points, font.options);
    if (!layout) {
        auto fresh = std::make_shared<RunLayout>();
        FT_Error error = layout_run(*as_harfbuzz_font(font.harfbuzz)->font, face_entry->face.get(), code_points,
                                    nb::cast<int>(size), font.options, *fresh, face_entry->glyphs.get());
        if (error != 0) {
            PyErr_Format(PyExc_RuntimeError, "FreeType error %d: %s", error,
                         font::freetype_error_message(error).c_str());
            throw nb::python_error();
        }
        face_entry->layouts->store(code_points, font.options, fresh);
        layout = fresh;
    }
    run.anti_aliased = font.options.anti_aliased;
    if (layout->empty) {
        run.width = layout->logical_width;
        run.advance = layout->logical_width;
        return run;
    }
    run.rgb = {colour_component(color, 0), colour_component(color, 1), colour_component(color, 2)};
    run.width = layout->surface_width;
    run.advance = layout->total_advance;
    run.layout = std::move(layout);
    return run;
}

PreparedRun prepare_run(LumoFontObject* self, nb::handle text, nb::handle size, nb::handle color,
                        nb::handle font_path, nb::handle face, const EmojiPlacement& placement) {
    return prepare_run_with(self, resolve_run_font(self, size, font_path, face, placement), text, size, color);
}

nb::object run_surface(const PreparedRun& run) {
    if (run.surface.is_valid()) return run.surface;
    nb::object surface = new_surface(run.width, run.height);
    if (run.layout) {
        ColorTable colors = color_table(surface_pixel_format(surface), run.rgb[0], run.rgb[1], run.rgb[2]);
        LockedPixels pixels(surface);
        paint_glyphs(pixels.target(), run.layout->glyphs, colors, run.anti_aliased, run.baseline, run.layout->start_x);
    }
    return surface;
}

nb::object render_shaped_run(LumoFontObject* self, nb::handle text, nb::handle size, nb::handle color,
                             nb::handle font_path, nb::handle face, const EmojiPlacement& placement) {
    PreparedRun run = prepare_run(self, text, size, color, font_path, face, placement);
    return nb::make_tuple(run_surface(run), run.advance);
}

}  // namespace lumo::shaping
