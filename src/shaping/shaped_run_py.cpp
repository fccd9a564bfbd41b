// Drawing one run: the HarfBuzz font and FreeType face of its file (cached on
// the font object), layout and rasterising in the native core, and painting
// straight into the new surface's pixels.
#include "shaping/shaped_run_py.h"

#include <cmath>
#include <cstring>
#include <new>
#include <span>
#include <string>
#include <vector>

#include "base/limits.h"
#include "engine/console_py.h"
#include "engine/freetype_styling.h"
#include "engine/host_errors_py.h"
#include "engine/host_text_py.h"
#include "engine/host_values_py.h"
#include "engine/settings_py.h"
#include "font/font_set_py.h"
#include "font/object_caches_py.h"
#include "font/path_data_py.h"
#include "font/sized_fonts_py.h"
#include "shaping/drawn_style_py.h"
#include "shaping/native_fonts_py.h"
#include "shaping/run_font_choice.h"
#include "shaping/run_layout.h"
#include "base/limits.h"
#include "shaping/surface_pixels_py.h"
#include "font/synthetic_style_py.h"

namespace nb = nanobind;

namespace lumo::shaping {
namespace {

using font::LumoFontObject;

/// Runs set in the emoji font are drawn whole by pygame's older font engine,
/// always white, lowered onto the text's baseline when SMOOTH_FONT is on.
nb::object render_emoji_run(LumoFontObject* self, nb::handle engine, nb::handle text, nb::handle size, int ascent,
                            long height, const EmojiPlacement& placement, long& width) {
    // A variation selector or joiner typed on its own has no width, which
    // pygame's font engine refuses to draw: it is drawn as the empty run.
    nb::object measured = engine.attr("size")(text);
    if (nb::cast<long>(measured[0]) <= 0) {
        width = 1;
        return new_surface(width, height);
    }
    nb::object raw = engine.attr("render")(text, nb::bool_(self->anti_alias != 0), nb::make_tuple(255, 255, 255));
    width = std::max(1L, nb::cast<long>(raw.attr("get_width")()));
    nb::object surface = new_surface(width, height);
    long drop = 0;
    if (placement.lowered)
        drop = legacy_emoji_drop(placement, ascent, nb::cast<long>(engine.attr("get_ascent")()),
                                 nb::cast<double>(nb::float_(size)));
    surface.attr("blit")(raw, nb::make_tuple(0, drop));
    return surface;
}

/// The styles a game may set on pygame's font object (bold, italic,
/// underline, strikethrough, and where pygame has them its point size,
/// outline and alignment), -1 for one this pygame lacks; false when one
/// reads as anything but a bool or an int.
bool engine_style(nb::handle engine, std::vector<long>& style) {
    static constexpr const char* kStyles[] = {"bold", "italic", "underline", "strikethrough", "point_size",
                                              "outline", "align"};
    style.clear();
    for (const char* name : kStyles) {
        nb::object value = nb::steal(PyObject_GetAttrString(engine.ptr(), name));
        if (!value.is_valid()) {
            if (!PyErr_ExceptionMatches(PyExc_AttributeError)) throw nb::python_error();
            PyErr_Clear();
            style.push_back(-1);
            continue;
        }
        if (!PyLong_Check(value.ptr())) return false;  // bools are ints too
        int overflow = 0;
        const long number = PyLong_AsLongAndOverflow(value.ptr(), &overflow);
        if (overflow != 0 || (number == -1 && PyErr_Occurred())) {
            PyErr_Clear();
            return false;
        }
        style.push_back(number);
    }
    return true;
}

/// The picture of an emoji run drawn by the legacy emoji engine: the one it
/// drew before for the same question, or drawn now. Only pygame's own font
/// type is trusted to draw the same picture again (a host's engine object
/// draws every time), and only with the same styles set on it.
nb::object emoji_run_picture(LumoFontObject* self, std::u32string_view text, nb::handle size, int ascent, long height,
                             const EmojiPlacement& placement, long& width) {
    nb::object engine = font::get_old_engine(self, size);
    nb::object pygame_font = nb::module_::import_("pygame.font").attr("Font");
    if (reinterpret_cast<PyObject*>(Py_TYPE(engine.ptr())) != pygame_font.ptr())
        return render_emoji_run(self, engine, engine::text_of_code_points(text), size, ascent, height, placement,
                                width);
    std::vector<long> style;
    if (!engine_style(engine, style))
        return render_emoji_run(self, engine, engine::text_of_code_points(text), size, ascent, height, placement,
                                width);
    font::LegacyEmojiKey key{reinterpret_cast<std::uintptr_t>(engine.ptr()),
                             std::move(style),
                             std::u32string(text),
                             self->anti_alias != 0,
                             ascent,
                             height,
                             placement.lowered,
                             placement.offset,
                             nb::cast<double>(nb::float_(size))};
    auto& pictures = font::font_set(self).emoji_pictures;
    if (auto kept = pictures.find(key); kept != pictures.end()) {
        width = kept->second.width;
        return kept->second.picture;
    }
    nb::object picture =
        render_emoji_run(self, engine, engine::text_of_code_points(text), size, ascent, height, placement, width);
    if (pictures.size() >= kMaxLegacyEmojiPictures) pictures.clear();
    pictures.insert_or_assign(std::move(key), font::LegacyEmojiPicture<nb::object>{engine, picture, width});
    return picture;
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

/// The key of a FreeType face: a face at a variable font's default instance
/// keeps the key faces always had; one set to coordinates adds them.
nb::object freetype_face_key(const font::PathData& where, nb::handle size, nb::handle face,
                             const std::vector<float>& coordinates) {
    if (coordinates.empty()) return nb::make_tuple("FT", where.path, where.index, size, face);
    nb::list values;
    for (float value : coordinates) values.append(nb::float_(value));
    return nb::make_tuple("FT", where.path, where.index, size, face, nb::tuple(values));
}

/// The face at `size` for (path, index, face word, coordinates), made from
/// the bytes the HarfBuzz font holds and kept under `key`; invalid when it
/// cannot be made.
nb::object make_freetype_face(LumoFontObject* self, nb::handle key, const HarfBuzzFontObject& harfbuzz,
                              const font::PathData& where, nb::handle size, nb::handle face,
                              const std::vector<float>& coordinates) {
    int pixel_size = 0;
    if (!nb::try_cast<int>(size, pixel_size)) return nb::object();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(harfbuzz.data.c_str());
    base::FtFacePtr sized = open_sized_face(std::span<const std::uint8_t>(bytes, harfbuzz.data.size()), where.index,
                                            pixel_size, coordinates);
    if (!sized) return nb::object();
    nb::object wrapped = wrap_freetype_face(harfbuzz.data, std::move(sized), pixel_size);
    nb::object cache = nb::borrow(self->font_objs);
    const font::ViewStamp before = font::stamp_of(cache.ptr());
    font::cache_store(cache.ptr(), key.ptr(), wrapped.ptr());
    if (font::SizedFaceKey learned; font::sized_face_key(where.path, where.index, size, face, coordinates, learned))
        font::font_set(self).sized_faces.learn_write(before, font::stamp_of(cache.ptr()), std::move(learned), wrapped);
    return wrapped;
}

/// The FreeType face the object holds for (path, index, size, face word,
/// coordinates): the font set's while the cache is unchanged, else the
/// cache's entry; invalid when it holds none.
nb::object cached_freetype_face(LumoFontObject* self, const font::PathData& where, nb::handle size, nb::handle face,
                                const std::vector<float>& coordinates) {
    font::HostFontSet& set = font::font_set(self);
    static font::SizedFaceKey asked;  // reused: asking allocates nothing
    const bool keyed = font::sized_face_key(where.path, where.index, size, face, coordinates, asked);
    if (keyed) {
        if (const nb::object* known = set.sized_faces.find(font::stamp_of(self->font_objs), asked)) return *known;
    }
    nb::object key = freetype_face_key(where, size, face, coordinates);
    nb::object cache = nb::borrow(self->font_objs);
    const font::ViewStamp seen = font::stamp_of(cache.ptr());
    nb::object found = font::cache_find(cache.ptr(), key.ptr());
    if (font::SizedFaceKey learned; found.is_valid() && as_freetype_face(found) != nullptr && keyed &&
                                    font::sized_face_key(where.path, where.index, size, face, coordinates, learned))
        set.sized_faces.learn_read(seen, font::stamp_of(cache.ptr()), std::move(learned), found);
    return found;
}

/// Whether the file at `path` is no longer the one these bytes were read
/// from (replaced by a rename, rewritten in place). A file that is gone is
/// not: the bytes in memory still draw.
bool file_was_replaced(nb::handle path, const base::FileIdentity& read_from) {
    std::optional<std::string> bytes = engine::file_path_of(path);
    base::FileIdentity now;
    return bytes && base::file_identity(*bytes, now) == 0 && !(now == read_from);
}

bool names_file(nb::handle key, Py_ssize_t position, nb::handle path) {
    if (!PyTuple_Check(key.ptr()) || PyTuple_GET_SIZE(key.ptr()) <= position) return false;
    nb::object item = nb::borrow(PyTuple_GET_ITEM(key.ptr(), position));
    int same = PyObject_RichCompareBool(item.ptr(), path.ptr(), Py_EQ);
    if (same < 0) throw nb::python_error();
    return same == 1;
}

/// The (key, value) pairs of a cache the engine made, or none for the
/// host's own container (its business). A list: dropping entries while
/// walking it is safe.
nb::list entries_of(PyObject* cache_field) {
    nb::object cache = nb::borrow(cache_field);
    if (!PyDict_CheckExact(cache.ptr())) return nb::list();
    nb::object items = nb::steal(PyDict_Items(cache.ptr()));
    if (!items.is_valid()) throw nb::python_error();
    return nb::borrow<nb::list>(items);
}

void drop_entry(PyObject* cache_field, nb::handle key) {
    nb::object cache = nb::borrow(cache_field);
    if (PyDict_CheckExact(cache.ptr()) && PyDict_DelItem(cache.ptr(), key.ptr()) != 0) PyErr_Clear();
}

/// Drops every entry of a cache whose key names the file at `path` (item
/// `position` of a tuple key), so that all of them are made again from it.
/// Returns the values dropped.
nb::list forget_entries_of(PyObject* cache_field, Py_ssize_t position, nb::handle path) {
    nb::list dropped;
    for (nb::handle item : entries_of(cache_field)) {
        nb::handle key = PyTuple_GET_ITEM(item.ptr(), 0);
        if (!names_file(key, position, path)) continue;
        dropped.append(nb::handle(PyTuple_GET_ITEM(item.ptr(), 1)));
        drop_entry(cache_field, key);
    }
    return dropped;
}

/// Drops the line metrics that were read from one of `sized_fonts`.
void forget_metrics_of(LumoFontObject* self, const nb::list& sized_fonts) {
    if (sized_fonts.size() == 0) return;
    for (nb::handle item : entries_of(self->std_metrics)) {
        nb::handle entry = PyTuple_GET_ITEM(item.ptr(), 1);  // (ascent, height, sized font)
        if (!PyTuple_Check(entry.ptr()) || PyTuple_GET_SIZE(entry.ptr()) < 3) continue;
        PyObject* measured_with = PyTuple_GET_ITEM(entry.ptr(), 2);
        for (nb::handle font : sized_fonts) {
            if (font.ptr() != measured_with) continue;
            drop_entry(self->std_metrics, PyTuple_GET_ITEM(item.ptr(), 0));
            break;
        }
    }
}

/// A font file changed on disk: its HarfBuzz font, FreeType faces, sized
/// fonts, the line metrics read from them and its coverage are read again,
/// together, from the new file.
void forget_font_file(LumoFontObject* self, nb::handle path) {
    forget_entries_of(self->hb_fonts, 0, path);
    forget_entries_of(self->font_objs, 1, path);  // ("FT", path, index, size, face[, coordinates])
    nb::list sized_fonts = forget_entries_of(self->font_objs, 0, path);  // (path, index, size, face)
    forget_metrics_of(self, sized_fonts);
    forget_entries_of(self->cmap_cache, 0, path);
}

/// How the run font draws: its face word's style (without FreeType's styling
/// calls a bold or slanted face is drawn plain) and the coordinates of a
/// variable font.
void decide_style(LumoFontObject* self, RunFont& font, const HarfBuzzFont& harfbuzz, nb::handle font_path,
                  nb::handle face, DrawnStyle& style) {
    style = drawn_style(self, font_path, face, &harfbuzz.variations(), engine::styling_available());
    static const TypographyOptions kDefaults;
    const TypographyOptions& typography = font.typography ? *font.typography : kDefaults;
    font.coordinates =
        design_coordinates(harfbuzz.variations(), style.face_settings, typography.variations, font.instance_found);
}

}  // namespace

nb::object font_file_stream(LumoFontObject* self, nb::handle path_data) {
    nb::object failure;
    nb::object harfbuzz = load_hb_font(self, path_data, failure);
    const HarfBuzzFontObject* loaded = harfbuzz.is_valid() ? as_harfbuzz_font(harfbuzz) : nullptr;
    // A new sized font is made for a new size or face: the moment, as for
    // FreeType faces, to notice that the file was replaced on disk, so that
    // line metrics and glyphs come from one file.
    if (loaded != nullptr) {
        nb::object path = font::parse_path_data(path_data, 0).path;
        if (file_was_replaced(path, loaded->identity)) {
            forget_font_file(self, path);
            harfbuzz = load_hb_font(self, path_data, failure);
            loaded = harfbuzz.is_valid() ? as_harfbuzz_font(harfbuzz) : nullptr;
        }
    }
    if (loaded == nullptr) return nb::none();
    return nb::module_::import_("io").attr("BytesIO")(loaded->data);
}

bool draws_in_colour(LumoFontObject* self, nb::handle path_data) {
    nb::object held = nb::borrow(path_data);  // may be a field that host code replaces
    if (!engine::truth_of(held)) return false;
    nb::object failure;
    nb::object loaded = load_hb_font(self, held, failure);
    const HarfBuzzFontObject* harfbuzz = loaded.is_valid() ? as_harfbuzz_font(loaded) : nullptr;
    return harfbuzz != nullptr && harfbuzz->font->has_colour_glyphs();
}

EmojiPlacement current_emoji_placement() {
    return emoji_placement_of(engine::setting_value(engine::SettingId::SmoothFont),
                              engine::setting_value(engine::SettingId::EmojiOffsetY));
}

EmojiPlacement emoji_placement_of(nb::handle smooth_font, nb::handle emoji_offset_y) {
    nb::object smooth = nb::borrow(smooth_font), offset = nb::borrow(emoji_offset_y);
    return {engine::truth_of(smooth), nb::cast<double>(nb::float_(offset))};
}

RunFont resolve_run_font(LumoFontObject* self, nb::handle size, nb::handle font_path, nb::handle face,
                         const EmojiPlacement& placement, const TypographyOptions* typography) {
    RunFont font;
    font.emoji_placement = placement;
    const font::LineMetrics metrics = font::line_metrics(self, size, face);
    const LineBox box = line_box(metrics.ascent, metrics.line_height);
    font.baseline = box.baseline;
    font.height = box.height;

    bool is_record = PyList_Check(font_path.ptr()) || PyTuple_Check(font_path.ptr());
    nb::object drawn_path = is_record ? nb::object(font_path[0]) : nb::borrow(font_path);
    nb::object emoji_path = nb::borrow(self->emoji_path);  // held while compared by host code
    int same_as_emoji = PyObject_RichCompareBool(drawn_path.ptr(), emoji_path.ptr(), Py_EQ);
    if (same_as_emoji < 0) throw nb::python_error();
    if (same_as_emoji) {
        nb::object failure;
        nb::object loaded = load_hb_font(self, font_path, failure);
        const HarfBuzzFontObject* harfbuzz = loaded.is_valid() ? as_harfbuzz_font(loaded) : nullptr;
        const RunFontKind kind = run_font_kind(
            true, harfbuzz != nullptr ? std::optional<bool>(harfbuzz->font->has_colour_glyphs()) : std::nullopt);
        font.emoji = kind == RunFontKind::legacy_emoji;
        font.colour_emoji = kind == RunFontKind::colour_emoji;
        if (font.emoji) return font;
    }
    font::PathData where = font::parse_path_data(font_path, 0);
    where.index = std::max(where.index, 0);
    nb::object harfbuzz = get_hb_font(self, font_path);
    // Anything else in the caches (a restored snapshot may hold anything) cannot draw.
    if (as_harfbuzz_font(harfbuzz) == nullptr) return font;
    font.typography = typography;
    if (typography != nullptr) {
        font.shaping_key = shaping_key_of({typography->features, typography->language, {}});
    }
    DrawnStyle style;
    decide_style(self, font, *as_harfbuzz_font(harfbuzz)->font, font_path, face, style);
    nb::object face_object = cached_freetype_face(self, where, size, face, font.coordinates);
    if (!face_object.is_valid()) {
        // A new size or face is the moment to notice a font file replaced on disk.
        if (file_was_replaced(where.path, as_harfbuzz_font(harfbuzz)->identity)) {
            forget_font_file(self, where.path);
            harfbuzz = get_hb_font(self, font_path);
            if (as_harfbuzz_font(harfbuzz) == nullptr) return font;
            // The new file may offer other axes.
            decide_style(self, font, *as_harfbuzz_font(harfbuzz)->font, font_path, face, style);
        }
        nb::object key = freetype_face_key(where, size, face, font.coordinates);
        face_object = make_freetype_face(self, key, *as_harfbuzz_font(harfbuzz), where, size, face, font.coordinates);
    }
    if (!face_object.is_valid() || as_freetype_face(face_object) == nullptr) return font;
    font.options = raster_options_for(self->anti_alias != 0, style, as_harfbuzz_font(harfbuzz)->font->has_colour_glyphs());
    font.path = where.path;
    font.harfbuzz = harfbuzz;
    font.face = face_object;
    font.shaper = as_harfbuzz_font(harfbuzz)->font.get();
    font.sized = as_freetype_face(face_object)->face;
    return font;
}

/// One line per font file, the first time one of its runs meets a damaged
/// glyph; the glyph is drawn empty and its font's cache remembers it.
void report_damaged_glyphs(const RunFont& font, FT_Error damage) {
    const HarfBuzzFontObject* harfbuzz = as_harfbuzz_font(font.harfbuzz);
    if (harfbuzz->damaged_glyphs_reported) return;
    engine::print_line(nb::str("[WARNING] Damaged glyphs in ") + nb::str(font.path) + nb::str(": drawn empty (") +
                       nb::str(layout_error_message({LayoutError::Kind::glyph, damage}).c_str()) + nb::str(")"));
    harfbuzz->damaged_glyphs_reported = true;
}

const std::array<std::uint8_t, 3>& RunColour::rgb() {
    if (!read_) {
        rgb_ = {colour_component(color_, 0), colour_component(color_, 1), colour_component(color_, 2)};
        read_ = true;
    }
    return rgb_;
}

PreparedRun prepare_run_with(LumoFontObject* self, const RunFont& font, std::u32string_view text, nb::handle size,
                             RunColour& colour, ShapingDirection direction, RunSurfaces& surfaces) {
    if (font.emoji) {
        PreparedRun run;
        run.baseline = font.baseline;
        run.height = font.height;
        long width = 1;
        run.picture = keep_run_surface(
            surfaces, emoji_run_picture(self, text, size, run.baseline, run.height, font.emoji_placement, width));
        run.width = static_cast<int>(width);
        run.advance = width;
        return run;
    }
    if (!font.harfbuzz.is_valid()) {
        PreparedRun empty;  // 1 pixel wide, advance 1
        empty.baseline = font.baseline;
        empty.height = font.height;
        return empty;
    }

    const std::span<const std::uint32_t> code_points(reinterpret_cast<const std::uint32_t*>(text.data()), text.size());
    if (code_points.size() > kMaxRunCodePoints) {
        PyErr_SetString(PyExc_ValueError, run_length_refusal(code_points.size()).c_str());
        throw nb::python_error();
    }
    const std::shared_ptr<SizedFace>& face = font.sized;
    const HarfBuzzFont& harfbuzz = *font.shaper;
    ShapingOptions shaping;
    if (font.typography != nullptr) shaping = {font.typography->features, font.typography->language, {}};
    shaping.coordinates = font.coordinates;
    std::shared_ptr<const RunLayout> layout;
    // The face was made at the call's size.
    if (const LayoutError error = find_or_lay_out(harfbuzz, *face, code_points, face->pixel_size, font.options,
                                                  direction, shaping, font.shaping_key, layout)) {
        if (error.kind == LayoutError::Kind::glyph && error.freetype_error == FT_Err_Out_Of_Memory)
            throw std::bad_alloc();
        PyErr_SetString(PyExc_RuntimeError, layout_error_message(error).c_str());
        throw nb::python_error();
    }
    if (layout->glyph_damage != 0) report_damaged_glyphs(font, layout->glyph_damage);
    // The colour is read when a run first has ink to paint.
    const std::array<std::uint8_t, 3> rgb = layout->empty ? std::array<std::uint8_t, 3>{} : colour.rgb();
    PreparedRun run = run_of_layout(std::move(layout), face, font.options, font.baseline, font.height, rgb);
    if (font.colour_emoji && run.layout)
        run.baseline = emoji_baseline(harfbuzz, *run.layout, font.emoji_placement, font.baseline, font.height,
                                      static_cast<double>(face->pixel_size));
    return run;
}

PreparedRun prepare_run(LumoFontObject* self, nb::handle text, nb::handle size, nb::handle color,
                        nb::handle font_path, nb::handle face, const EmojiPlacement& placement,
                        RunSurfaces& surfaces) {
    RunColour colour(color);
    const std::u32string code_points = engine::code_points_of(text);
    return prepare_run_with(self, resolve_run_font(self, size, font_path, face, placement), code_points, size, colour,
                            ShapingDirection::from_script, surfaces);
}

nb::object run_surface(const PreparedRun& run, const RunSurfaces& surfaces, int lowered) {
    if (run.has_picture()) return surfaces[static_cast<std::size_t>(run.picture)];
    nb::object surface = new_surface(run.width, run.height);
    if (run.layout) {
        LockedPixels pixels(surface);
        paint_run_alone(pixels.target(), surface_pixel_format(surface), run, lowered);
    }
    return surface;
}

nb::object render_shaped_run(LumoFontObject* self, nb::handle text, nb::handle size, nb::handle color,
                             nb::handle font_path, nb::handle face, const EmojiPlacement& placement,
                             bool whole_line) {
    RunSurfaces surfaces;
    PreparedRun run = prepare_run(self, text, size, color, font_path, face, placement, surfaces);
    int lowered = 0;
    if (whole_line) {
        LockedRunSurfaces pictures(surfaces);
        lowered = rows_to_keep_ink(std::span<const PreparedRun>(&run, 1), pictures);
    }
    return nb::make_tuple(run_surface(run, surfaces, lowered), run.advance);
}

}  // namespace lumo::shaping
