// The render entry point: one line of text to one pygame Surface, with the
// text cache in front and the glyph cache behind the dynamic path.
#include "render/render_entry_py.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <string>

#include "engine/call_arguments_py.h"
#include "engine/colour_argument_py.h"
#include "engine/engine_namespace_py.h"
#include "engine/host_errors_py.h"
#include "engine/host_text_py.h"
#include "engine/host_values_py.h"
#include "engine/settings_py.h"
#include "font/font_set_py.h"
#include "font/lumo_font_methods_py.h"
#include "font/insertion_order_py.h"
#include "font/object_caches_py.h"
#include "font/sized_fonts_py.h"
#include "render/dynamic_line.h"
#include "render/line_composer_py.h"
#include "render/line_preparation.h"
#include "render/markup.h"
#include "render/segmentation_py.h"
#include "render/text_options_py.h"
#include "shaping/shaped_run_py.h"
#include "shaping/surface_pixels_py.h"

namespace nb = nanobind;

namespace lumo::render {
namespace {

using font::LumoFontObject;

}  // namespace

/// The arguments checked as the engine's typed parameters check them.
RenderCall read_arguments(LumoFontObject* self, PyObject* const* given) {
    RenderCall call;
    PyObject* text = given[0];
    if (text != Py_None && !PyUnicode_Check(text)) engine::raise_argument_type_error("text", "str", text);
    PyObject* size = given[1];
    if (!PyLong_Check(size)) engine::raise_argument_type_error("size", "int", size);
    int overflow = 0;
    long size_value = PyLong_AsLongAndOverflow(size, &overflow);
    if (overflow != 0 || size_value > INT_MAX || size_value < INT_MIN) {
        PyErr_SetString(PyExc_OverflowError, "value too large to convert to int");
        throw nb::python_error();
    }
    PyObject* face = given[4];
    if (face != nullptr && face != Py_None && !PyUnicode_Check(face))
        engine::raise_argument_type_error("face", "str", face);

    call.text = nb::borrow(text);
    // The size as the engine holds it: a plain int (True counts as 1).
    call.size = nb::int_(size_value);
    call.color = engine::line_colour(given[2]);
    if (given[3] != nullptr) {
        int truth = PyObject_IsTrue(given[3]);
        if (truth < 0) throw nb::python_error();
        call.dynamic = truth == 1;
    }
    // A face in any case shares the cache entry of its lower-case form; none means the object's own.
    if (face != nullptr && face != Py_None && PyUnicode_GET_LENGTH(face) > 0)
        call.face = engine::lowered_text(face);
    else
        call.face = nb::borrow(self->init_face);
    return call;
}

namespace {

nb::object setting(engine::SettingId id) { return nb::borrow(engine::setting_value(id)); }

}  // namespace

void read_key_settings(RenderCall& call) {
    call.modern_font = setting(engine::SettingId::ModernFont);
    call.smooth_font = setting(engine::SettingId::SmoothFont);
    call.emoji_offset_y = setting(engine::SettingId::EmojiOffsetY);
}

RenderCall read_text_call(LumoFontObject* self, PyObject* const* given) {
    RenderCall call = read_arguments(self, given);
    read_key_settings(call);
    if (call.text.is_none()) {
        PyErr_SetString(PyExc_TypeError, "object of type 'NoneType' has no len()");
        throw nb::python_error();
    }
    return call;
}

nb::object cache_key(nb::handle first, const RenderCall& call) {
    return nb::make_tuple(first, call.size, call.color, call.modern_font, call.smooth_font, call.emoji_offset_y,
                          call.face);
}

namespace {

shaping::EmojiPlacement emoji_placement(const RenderCall& call) {
    return shaping::emoji_placement_of(call.smooth_font, call.emoji_offset_y);
}

/// Drops the oldest entries until the cache holds at most the setting's limit.
void trim_cache(PyObject* field, font::InsertionOrder& order, engine::SettingId limit_setting) {
    nb::object limit = setting(limit_setting);
    order.trim(field, limit.ptr());
}

/// int(metrics[1]): the line height that every surface of the line shares.
int standard_height(LumoFontObject* self, const RenderCall& call) {
    nb::object metrics = font::get_metrics(self, call.size, call.face);
    nb::object height = nb::steal(PySequence_GetItem(metrics.ptr(), 1));
    if (!height.is_valid()) throw nb::python_error();
    return nb::cast<int>(nb::int_(height));
}

nb::object character(char32_t code) {
    nb::object ch = nb::steal(PyUnicode_FromOrdinal(static_cast<int>(code)));
    if (!ch.is_valid()) throw nb::python_error();
    return ch;
}

/// The host's glyph cache as a changing line's composition asks it
/// (render/dynamic_line.h). Each character is a key of that cache, the one
/// place this path would make Python objects per character.
class HostGlyphCache {
public:
    using Key = nb::object;
    using Entry = nb::object;

    HostGlyphCache(LumoFontObject* self, const RenderCall& call, nb::handle primary_path)
        : self_(self), call_(call), primary_path_(primary_path), placement_(emoji_placement(call)) {}

    font::ViewStamp stamp() const { return font::stamp_of(self_->glyph_cache); }
    Key key_of(char32_t code) { return cache_key(character(code), call_); }

    std::optional<Entry> find(const Key& key) {
        nb::object stored = font::cache_find(self_->glyph_cache, key.ptr());
        return stored.is_valid() ? std::optional<Entry>(std::move(stored)) : std::nullopt;
    }

    // Pieces of one line: all on the one baseline, never lowered one by one.
    Entry draw(char32_t code) {
        return shaping::render_shaped_run(self_, character(code), call_.size, call_.color, primary_path_, call_.face,
                                          placement_, false);
    }

    void store(const Key& key, const Entry& entry) {
        font::glyph_cache_order(self_).store(self_->glyph_cache, key.ptr(), entry.ptr());
    }

    long advance(const Entry& entry) { return nb::cast<long>(nb::int_(entry[1])); }

    // While the cache is the same dict, unchanged since (its version tag), the entries are the ones just read.
    void entries_read() {
        looked_in_ = nb::borrow(self_->glyph_cache);
        version_ = PyDict_CheckExact(looked_in_.ptr()) ? font::dict_version(looked_in_.ptr()) : 0;
    }
    bool entries_unchanged() {
        return PyDict_CheckExact(looked_in_.ptr()) && self_->glyph_cache == looked_in_.ptr() &&
               font::dict_version(looked_in_.ptr()) == version_;
    }

    int line_height() { return standard_height(self_, call_); }
    void start_line(long width, long height) { line_ = shaping::new_surface(width, height); }

    Entry read_again(const Key& key) {
        nb::object cache = nb::borrow(self_->glyph_cache);  // held while the lookup may run host code
        nb::object entry = nb::steal(PyObject_GetItem(cache.ptr(), key.ptr()));
        if (!entry.is_valid()) throw nb::python_error();
        return entry;
    }

    long place(const Entry& entry, long pen) {
        nb::object items = nb::steal(PySequence_Tuple(entry.ptr()));
        if (!items.is_valid()) throw nb::python_error();
        if (PyTuple_GET_SIZE(items.ptr()) != 2) {
            PyErr_Format(PyExc_ValueError, "too many values to unpack (expected 2)");
            throw nb::python_error();
        }
        pieces_.push_back({nb::borrow(items[0]), pen});
        return nb::cast<long>(nb::int_(items[1]));
    }

    nb::object finish() {
        place_surfaces(line_, pieces_);
        trim_cache(self_->glyph_cache, font::glyph_cache_order(self_), engine::SettingId::MaxGlyphCache);
        return line_;
    }

private:
    LumoFontObject* self_;
    const RenderCall& call_;
    nb::handle primary_path_;
    const shaping::EmojiPlacement placement_;
    nb::object looked_in_, line_;
    std::uint64_t version_ = 0;
    std::vector<PlacedSurface> pieces_;
};

/// Changing ASCII text (a score, a timer): each character is drawn once and
/// kept in the glyph cache, and the entries the last lines read are kept
/// natively while that cache is unchanged; the line is composed from them.
nb::object render_dynamic(LumoFontObject* self, const RenderCall& call, std::u32string_view text,
                          nb::handle primary_path) {
    HostGlyphCache cache(self, call, primary_path);
    auto& memo = font::font_set(self).dynamic_glyphs;
    font::DynamicGlyphContext context;
    const bool memoised = font::dynamic_glyph_context(call.size, call.color, call.modern_font, call.smooth_font,
                                                      call.emoji_offset_y, call.face, context);
    if (memoised) memo.begin(context, cache.stamp());
    return compose_dynamic_line(text, cache, memoised ? &memo : nullptr);
}

/// The fonts and colours of a line's runs as host objects: runs of one path
/// data and face object share a font number, runs of one colour object a colour.
class HostRunFonts final : public RunFonts {
public:
    HostRunFonts(LumoFontObject* self, const RenderCall& call, const shaping::EmojiPlacement& placement,
                 const std::vector<Run>& runs, shaping::RunSurfaces& surfaces, ResolvedRunFonts* resolved)
        : self_(self), call_(call), runs_(runs), surfaces_(surfaces), placement_(placement), resolved_(resolved) {}

    /// The font number of `run`'s path data and face.
    int font_number(const Run& run) {
        const std::pair<PyObject*, PyObject*> key{run.path.ptr(), run.face.ptr()};
        const auto known = std::find(keys_.begin(), keys_.end(), key);
        if (known != keys_.end()) return static_cast<int>(known - keys_.begin());
        keys_.push_back(key);
        asking_.push_back(&run);
        fonts_.emplace_back();
        return static_cast<int>(keys_.size() - 1);
    }

    Resolved resolve(int number) override {
        const Run& run = *asking_[static_cast<std::size_t>(number)];
        shaping::RunFont& font = fonts_[static_cast<std::size_t>(number)];
        if (const shaping::RunFont* known = resolved_ != nullptr ? resolved_->find(run.path, run.face) : nullptr) {
            font = *known;
        } else {
            font = shaping::resolve_run_font(self_, call_.size, run.path, run.face, placement_,
                                             &call_.options.typography);
            if (resolved_ != nullptr) resolved_->keep(run.path, run.face, font);
        }
        return {font.emoji || font.harfbuzz.is_valid(), font.harfbuzz.is_valid(), font.instance_found};
    }

    shaping::PreparedRun prepare(std::size_t index, const RunRequest& request,
                                 shaping::ShapingDirection direction) override {
        const nb::handle color = runs_[index].color;
        auto colour = std::find_if(colours_.begin(), colours_.end(),
                                   [&](const shaping::RunColour& known) { return known.object().is(color); });
        if (colour == colours_.end()) colour = colours_.insert(colours_.end(), shaping::RunColour(color));
        return shaping::prepare_run_with(self_, fonts_[static_cast<std::size_t>(request.font)], request.text,
                                         call_.size, *colour, direction, surfaces_);
    }

private:
    LumoFontObject* self_;
    const RenderCall& call_;
    const std::vector<Run>& runs_;
    shaping::RunSurfaces& surfaces_;
    const shaping::EmojiPlacement placement_;
    ResolvedRunFonts* resolved_;
    std::vector<std::pair<PyObject*, PyObject*>> keys_;
    std::vector<const Run*> asking_;         // per font number: a run with that path and face
    std::vector<shaping::RunFont> fonts_;     // per font number: as last resolved
    std::vector<shaping::RunColour> colours_;  // one per colour object the runs use
};

}  // namespace

const shaping::RunFont* ResolvedRunFonts::find(nb::handle path, nb::handle face) const {
    for (const Entry& entry : entries_)
        if (entry.path.is(path) && entry.face.is(face)) return &entry.font;
    return nullptr;
}

void ResolvedRunFonts::keep(nb::handle path, nb::handle face, const shaping::RunFont& font) {
    entries_.push_back({nb::borrow(path), nb::borrow(face), font});
}

PreparedLine prepare_line(LumoFontObject* self, const RenderCall& call, nb::handle text, nb::handle primary_path,
                          nb::handle fallback_path, shaping::RunSurfaces& surfaces, ResolvedRunFonts* resolved) {
    const int height = standard_height(self, call);
    LineContext context{call.color, call.face, primary_path, fallback_path, engine::truth_of(call.modern_font),
                        call.right_to_left_paragraph, call.options.markup};
    const shaping::EmojiPlacement placement = emoji_placement(call);
    const SegmentedRuns segmented = segment_line(self, text, context);
    HostRunFonts fonts(self, call, placement, segmented.runs, surfaces, resolved);
    std::vector<RunRequest> requests;
    requests.reserve(segmented.runs.size());
    for (const Run& run : segmented.runs)
        requests.push_back({run.text, fonts.font_number(run), run.level, run.visible_start});
    return prepare_runs(requests, height, fonts);
}

void require_named_instance(const TextOptions& options, std::span<const PreparedLine* const> lines) {
    const std::string& instance = options.typography.variations.instance;
    if (!lacks_named_instance(instance, lines)) return;
    nb::str name = engine::text_from_utf8(instance);
    PyErr_Format(PyExc_ValueError, "variations: no font of the text has a named instance %R", name.ptr());
    throw nb::python_error();
}

nb::object draw_line(const PreparedLine& line, const shaping::RunSurfaces& surfaces) {
    int lowered = 0;
    {
        shaping::LockedRunSurfaces pictures(surfaces);  // released before the host blits any of them
        lowered = shaping::rows_to_keep_ink(line.runs, pictures);
    }
    if (line.runs.size() == 1) return shaping::run_surface(line.runs.front(), surfaces, lowered);
    const auto [width, height] = line_size(line);
    if (line.runs.empty()) return shaping::new_surface(width, height);
    return compose_runs(line.runs, surfaces, width, height, lowered);
}

void trim_caches(LumoFontObject* self) {
    trim_cache(self->text_cache, font::text_cache_order(self), engine::SettingId::MaxTextCache);
    trim_cache(self->glyph_cache, font::glyph_cache_order(self), engine::SettingId::MaxGlyphCache);
}

namespace {

nb::object render(LumoFontObject* self, PyObject* const* given) {
    const RenderCall call = read_text_call(self, given);
    nb::object key = cache_key(call.text, call);
    if (!call.dynamic) {
        if (nb::object cached = font::cache_find(self->text_cache, key.ptr()); cached.is_valid()) return cached;
    }

    font::ensure_initialized(self);
    nb::object primary_path = font::get_true_path(self, self->primary_name, call.face);
    nb::object fallback_path = font::get_true_path(self, self->fallback_name, call.face);
    if (call.dynamic) {
        const std::u32string text = engine::code_points_of(call.text);
        if (is_plain_ascii(text)) return render_dynamic(self, call, text, primary_path);
    }

    shaping::RunSurfaces surfaces;
    const PreparedLine prepared = prepare_line(self, call, call.text, primary_path, fallback_path, surfaces);
    nb::object line = draw_line(prepared, surfaces);
    if (!call.dynamic) font::text_cache_order(self).store(self->text_cache, key.ptr(), line.ptr());
    trim_caches(self);
    return line;
}

/// The size of the surface render() gives for the same arguments: the cached
/// surface's when there is one, else the line's, shaped but not painted.
nb::object measure(LumoFontObject* self, PyObject* const* given, const TextOptionValues& options) {
    engine::require_positive_size(given[1]);
    RenderCall call = read_text_call(self, given);
    call.options = read_text_options(options);
    // The text cache holds lines render() drew: with the default options.
    if (call.options.is_default()) {
        nb::object key = cache_key(call.text, call);
        if (nb::object cached = font::cache_find(self->text_cache, key.ptr()); cached.is_valid())
            return cached.attr("get_size")();
    }
    font::ensure_initialized(self);
    nb::object primary_path = font::get_true_path(self, self->primary_name, call.face);
    nb::object fallback_path = font::get_true_path(self, self->fallback_name, call.face);
    shaping::RunSurfaces surfaces;
    const PreparedLine line = prepare_line(self, call, call.text, primary_path, fallback_path, surfaces);
    const PreparedLine* lines[] = {&line};
    require_named_instance(call.options, lines);
    const auto [width, height] = line_size(line);
    shaping::require_surface_within_limits(width, height);
    return nb::make_tuple(width, height);
}

}  // namespace

PyObject* size_method(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    static constexpr auto kNames = with_text_options(std::array<const char*, 3>{"text", "size", "face"});
    std::array<PyObject*, kNames.size()> named{};
    if (!engine::parse_call_arguments("size", kNames, 2, 3, args, nargs, kwnames, named)) return nullptr;
    PyObject* given[5] = {named[0], named[1], nullptr, nullptr, named[2]};
    TextOptionValues options{};
    std::copy(named.begin() + 3, named.end(), options.begin());
    return engine::call_guarded([&] { return measure(reinterpret_cast<LumoFontObject*>(self), given, options); });
}

PyObject* render_method(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    PyObject* given[5];
    if (!engine::parse_call_arguments("render", {"text", "size", "color", "dynamic", "face"}, 2, args, nargs, kwnames,
                                      given))
        return nullptr;
    return engine::call_guarded([&] { return render(reinterpret_cast<LumoFontObject*>(self), given); });
}

}  // namespace lumo::render
