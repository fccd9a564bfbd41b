// Text blocks and line metrics for the host: render_block(), size_block(),
// get_linesize(), get_ascent() and get_descent(). Lines are prepared by the
// line renderer, then broken and placed by the core (layout/block_layout.h).
#include "layout/text_block_py.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/limits.h"
#include "engine/call_arguments_py.h"
#include "engine/colour_argument_py.h"
#include "engine/host_errors_py.h"
#include "engine/host_text_py.h"
#include "font/lumo_font_methods_py.h"
#include "font/object_caches_py.h"
#include "font/sized_fonts_py.h"
#include "layout/block_effects_py.h"
#include "layout/block_layout.h"
#include "layout/block_options.h"
#include "layout/caret_lines.h"
#include "layout/effect_options_py.h"
#include "layout/kept_blocks.h"
#include "layout/text_block.h"
#include "layout/text_effects.h"
#include "layout/text_layout_py.h"
#include "render/render_entry_py.h"
#include "render/segmentation_py.h"
#include "render/text_options_py.h"
#include "shaping/surface_pixels_py.h"

namespace nb = nanobind;

namespace lumo::layout {
namespace {

using font::LumoFontObject;

enum BlockArgument {
    kText, kSize, kColor, kFace, kWraplength, kAlign, kLineSpacing, kBackground, kDirection,
    kOutline, kOutlineColor, kShadow, kShadowColor, kShadowBlur, kUnderline, kStrikethrough
};
constexpr auto kBlockNames = render::with_text_options(std::array<const char*, 16>{
    "text", "size", "color", "face", "wraplength", "align", "line_spacing", "background", "direction",
    "outline", "outline_color", "shadow", "shadow_color", "shadow_blur", "underline", "strikethrough"});
constexpr std::size_t kBlockArguments = kBlockNames.size();
// The effect options sit in kBlockNames in the order read_effects() reads them.
static_assert([] {
    for (std::size_t i = 0; i < kEffectNames.size(); ++i)
        if (std::string_view(kBlockNames[kOutline + i]) != kEffectNames[i]) return false;
    return true;
}());
constexpr std::size_t kFirstTextOption = kBlockArguments - render::kTextOptionNames.size();

/// A str argument's text, to be matched against the words it may be; empty
/// (no word) when it cannot be written as UTF-8 (a lone surrogate).
std::string_view word_of(const char* argument, nb::handle value) {
    if (!PyUnicode_Check(value.ptr())) engine::raise_argument_type_error(argument, "str", value);
    Py_ssize_t length = 0;
    const char* text = PyUnicode_AsUTF8AndSize(value.ptr(), &length);
    if (text != nullptr) return {text, static_cast<std::size_t>(length)};
    if (!PyErr_ExceptionMatches(PyExc_UnicodeEncodeError)) throw nb::python_error();
    PyErr_Clear();
    return {};
}

/// A word outside the list: `choices` ("align must be ...") and the value given.
[[noreturn]] void raise_word_error(const std::string& choices, nb::handle value) {
    PyErr_Format(PyExc_ValueError, "%s, not %R", choices.c_str(), value.ptr());
    throw nb::python_error();
}

struct BlockCall {
    render::RenderCall line;  // what every line is drawn with
    BlockOptions block;       // how they are laid out and drawn
    std::optional<std::array<std::uint8_t, 4>> background;
    nb::object key;  // the block cache's key
};

BlockCall read_block_arguments(LumoFontObject* self, PyObject* const* given) {
    BlockCall call;
    Rgba& colour = call.block.colour;
    if (given[kColor] != nullptr && given[kColor] != Py_None) colour = engine::colour_rgba(given[kColor]);
    nb::object rgb = nb::make_tuple(colour[0], colour[1], colour[2]);
    PyObject* line_arguments[5] = {given[kText], given[kSize], rgb.ptr(), nullptr, given[kFace]};
    engine::require_positive_size(given[kSize]);
    call.line = render::read_text_call(self, line_arguments);
    render::TextOptionValues options{};
    std::copy(given + kFirstTextOption, given + kBlockArguments, options.begin());
    call.line.options = render::read_text_options(options);
    if (PyObject* wrap = given[kWraplength]) {
        if (!PyLong_Check(wrap)) engine::raise_argument_type_error("wraplength", "int", wrap);
        int overflow = 0;
        const long value = PyLong_AsLongAndOverflow(wrap, &overflow);
        const std::optional<long> wraplength = wraplength_of(value, overflow > 0, overflow < 0);
        if (!wraplength) engine::raise_value_error(wraplength_limit_message());
        call.block.wraplength = *wraplength;
    }
    if (given[kAlign]) {
        const std::optional<Align> align = align_named(word_of("align", given[kAlign]));
        if (!align) raise_word_error(align_choice_message(), given[kAlign]);
        call.block.align = *align;
    }
    if (given[kDirection]) {
        const std::optional<Direction> direction = direction_named(word_of("direction", given[kDirection]));
        if (!direction) raise_word_error(direction_choice_message(), given[kDirection]);
        call.block.direction = *direction;
    }
    if (PyObject* spacing = given[kLineSpacing]) {
        call.block.line_spacing = nb::cast<double>(nb::float_(nb::handle(spacing)));
        if (!line_spacing_allowed(call.block.line_spacing)) engine::raise_value_error(line_spacing_limit_message());
    }
    if (given[kBackground] != nullptr && given[kBackground] != Py_None)
        call.background = engine::colour_rgba(given[kBackground]);
    nb::object background = call.background ? nb::object(nb::make_tuple((*call.background)[0], (*call.background)[1],
                                                                       (*call.background)[2], (*call.background)[3]))
                                            : nb::none();
    call.key = nb::make_tuple(call.line.text, call.line.size,
                              nb::make_tuple(colour[0], colour[1], colour[2], colour[3]), call.line.face,
                              call.block.wraplength, static_cast<int>(call.block.align), call.block.line_spacing,
                              background, static_cast<int>(call.block.direction),
                              nb::make_tuple(call.line.modern_font, call.line.smooth_font, call.line.emoji_offset_y));
    // Options away from their defaults extend the key; a call without them keeps the key it always had.
    if (nb::object options_key = render::text_options_key(call.line.options); !options_key.is_none())
        call.key = nb::make_tuple(call.key, options_key);
    call.block.effects = read_effects(given + kOutline);
    if (nb::object key = effects_key(call.block.effects); !key.is_none()) call.key = nb::make_tuple(call.key, key);
    return call;
}

/// Which "^" tags are colour tags in the call's text: none when its markup is off.
std::function<bool(char32_t)> palette_keys(const BlockCall& call) {
    if (!call.line.options.markup) return {};
    return &render::is_palette_key;
}

/// The block's lines, prepared as render() prepares a line.
class LineRenderer final : public BlockLines {
public:
    LineRenderer(LumoFontObject* self, const render::RenderCall& call)
        : self_(self), calls_{call, call}, primary_(font::get_true_path(self, self->primary_name, call.face)),
          fallback_(font::get_true_path(self, self->fallback_name, call.face)),
          surfaces_(std::make_shared<shaping::RunSurfaces>()) {
        calls_[1].right_to_left_paragraph = true;
    }

    nb::handle fallback_path() const { return fallback_; }

    /// The surfaces the legacy emoji engine drew the lines' runs on.
    const std::shared_ptr<shaping::RunSurfaces>& surfaces() const { return surfaces_; }

protected:
    render::PreparedLine prepare(std::u32string_view markup, bool right_to_left) override {
        return render::prepare_line(self_, calls_[right_to_left ? 1 : 0], engine::text_of_code_points(markup), primary_,
                                    fallback_, *surfaces_, &resolved_);
    }

private:
    LumoFontObject* self_;
    // The call as a left-to-right and a right-to-left paragraph's lines take
    // it: made once, and in place while the fonts resolved with them are kept.
    std::array<render::RenderCall, 2> calls_;
    nb::object primary_, fallback_;
    std::shared_ptr<shaping::RunSurfaces> surfaces_;
    render::ResolvedRunFonts resolved_;
};

/// A block laid out, and the surfaces its runs drawn as pictures refer to.
struct HostBlock {
    LaidOutBlock laid_out;
    std::shared_ptr<const shaping::RunSurfaces> surfaces;
};

/// The line metrics the block's lines share, and its decorations when its effects draw them.
BlockMetrics block_metrics(LumoFontObject* self, const BlockCall& call, const LineRenderer& renderer) {
    BlockMetrics metrics;
    const font::LineMetrics measured = font::line_metrics(self, call.line.size, call.line.face);
    const LineRows rows = line_rows(measured.ascent, measured.line_height);
    metrics.baseline = static_cast<int>(rows.baseline);
    metrics.line_height = rows.line_height;
    if (call.block.effects.underline || call.block.effects.strikethrough)
        metrics.decorations = fallback_decorations(self, call.line.size, renderer.fallback_path(), call.line.face);
    return metrics;
}

/// The block laid out, refused past the surface limits.
HostBlock lay_out(LumoFontObject* self, const BlockCall& call, LineRenderer& renderer) {
    HostBlock block{break_block(engine::code_points_of(call.line.text), palette_keys(call), call.block, renderer),
                    renderer.surfaces()};
    place_block(block.laid_out, call.block, block_metrics(self, call, renderer), renderer);
    std::vector<const render::PreparedLine*> prepared_lines;
    for (const PlacedLine& placed : block.laid_out.drawing.lines) prepared_lines.push_back(placed.line);
    render::require_named_instance(call.line.options, prepared_lines);
    shaping::require_surface_within_limits(block.laid_out.frame.width, block.laid_out.frame.height);
    return block;
}

/// The pixel bytes a kept block holds: its entry is (surface, bytes).
std::int64_t kept_bytes(PyObject* entry) {
    return PyLong_AsLongLong(PyTuple_GET_ITEM(entry, 1));
}

/// Keeps `block` (`bytes` of pixels) under `key`, dropping the oldest blocks
/// past the count and byte limits.
void remember_block(LumoFontObject* self, nb::handle key, nb::handle block, std::int64_t bytes) {
    if (!block_may_be_kept(bytes)) return;
    if (self->block_cache == nullptr) {
        self->block_cache = PyDict_New();
        if (self->block_cache == nullptr) throw nb::python_error();
    }
    nb::object cache = nb::borrow(self->block_cache);
    std::int64_t total = bytes;
    Py_ssize_t position = 0;
    PyObject *kept_key = nullptr, *entry = nullptr;
    while (PyDict_Next(cache.ptr(), &position, &kept_key, &entry)) total += kept_bytes(entry);
    nb::object entry_of_block = nb::make_tuple(block, bytes);
    font::cache_store(cache.ptr(), key.ptr(), entry_of_block.ptr());
    std::vector<nb::object> keys;
    std::vector<std::int64_t> sizes;
    std::size_t new_position = PyDict_GET_SIZE(cache.ptr());
    for (position = 0; PyDict_Next(cache.ptr(), &position, &kept_key, &entry);) {
        if (kept_key == key.ptr()) new_position = keys.size();
        keys.push_back(nb::borrow(kept_key));
        sizes.push_back(kept_bytes(entry));
    }
    for (std::size_t i = 0, dropped = blocks_to_drop(sizes, total, new_position); i < dropped; ++i)
        if (PyDict_DelItem(cache.ptr(), keys[i].ptr()) != 0) throw nb::python_error();
}

nb::object known_block(LumoFontObject* self, nb::handle key) {
    if (self->block_cache == nullptr) return nb::object();
    nb::object entry = font::cache_find(self->block_cache, key.ptr());
    return entry.is_valid() ? nb::borrow(PyTuple_GET_ITEM(entry.ptr(), 0)) : nb::object();
}

/// The block drawn with its effects over its background.
nb::object paint_block(const HostBlock& block, const TextEffects& effects,
                       const std::optional<std::array<std::uint8_t, 4>>& background) {
    const LaidOutBlock& laid_out = block.laid_out;
    nb::object surface = draw_block_surface(laid_out.drawing, effects, *block.surfaces);
    if (background) {
        nb::object backdrop = shaping::new_surface(laid_out.frame.width, laid_out.frame.height);
        const auto& rgba = *background;
        backdrop.attr("fill")(nb::make_tuple(rgba[0], rgba[1], rgba[2], rgba[3]));
        backdrop.attr("blit")(surface, nb::make_tuple(0, 0));
        surface = backdrop;
    }
    return surface;
}

/// The block's surface: the one kept under its key, or drawn and kept.
nb::object block_surface(LumoFontObject* self, const BlockCall& call) {
    if (nb::object cached = known_block(self, call.key); cached.is_valid()) return cached;
    font::ensure_initialized(self);
    LineRenderer renderer(self, call.line);
    const HostBlock block = lay_out(self, call, renderer);
    const long width = block.laid_out.frame.width, height = block.laid_out.frame.height;
    nb::object surface = paint_block(block, call.block.effects, call.background);
    remember_block(self, call.key, surface, std::int64_t{4} * width * height);
    render::trim_caches(self);
    return surface;
}

nb::object render_block(LumoFontObject* self, PyObject* const* given) {
    return block_surface(self, read_block_arguments(self, given));
}

/// draw_block(surface, pos, text, size, ...): the block drawn onto `surface`
/// with its `anchor` point at `pos`, as surface.blit() blends it, within the
/// surface's clip rectangle; returns the block's rectangle.
nb::object draw_block(LumoFontObject* self, PyObject* const* given) {
    PyObject* target = given[0];
    if (!shaping::is_plain_surface(target)) engine::raise_argument_type_error("surface", "pygame.Surface", target);
    const char* anchor = kAnchorNames[0];
    if (PyObject* named = given[2 + kBlockArguments]) {
        anchor = anchor_named(word_of("anchor", named));
        if (anchor == nullptr) raise_word_error(anchor_choice_message(), named);
    }
    // The position is checked (by pygame) before anything is drawn.
    nb::object rect = nb::module_::import_("pygame").attr("Rect")(0, 0, 0, 0);
    rect.attr(anchor) = nb::handle(given[1]);
    const BlockCall call = read_block_arguments(self, given + 2);
    nb::object block = block_surface(self, call);
    rect.attr("size") = block.attr("get_size")();
    rect.attr(anchor) = nb::handle(given[1]);
    nb::handle(target).attr("blit")(block, rect);
    return rect;
}

/// The lines a block is broken into: (characters, line drawn, right to left).
nb::object block_lines(LumoFontObject* self, PyObject* const* given) {
    const BlockCall call = read_block_arguments(self, given);
    font::ensure_initialized(self);
    LineRenderer renderer(self, call.line);
    const std::u32string text = engine::code_points_of(call.line.text);
    nb::list out;
    for (const BlockLine& line :
         break_into_lines(text, call.block.direction, call.block.wraplength, renderer, palette_keys(call)))
        out.append(nb::make_tuple(engine::text_of_code_points(line.visible), engine::text_of_code_points(line.markup),
                                  line.right_to_left));
    return out;
}

nb::object size_block(LumoFontObject* self, PyObject* const* given) {
    const BlockCall call = read_block_arguments(self, given);
    if (nb::object cached = known_block(self, call.key); cached.is_valid()) return cached.attr("get_size")();
    font::ensure_initialized(self);
    LineRenderer renderer(self, call.line);
    const LaidOutBlock block = lay_out(self, call, renderer).laid_out;
    return nb::make_tuple(block.frame.width, block.frame.height);
}

/// The block laid out once, to be drawn and asked where its carets are.
nb::object layout_block(LumoFontObject* self, PyObject* const* given) {
    const BlockCall call = read_block_arguments(self, given);
    font::ensure_initialized(self);
    LineRenderer renderer(self, call.line);
    auto block = std::make_shared<HostBlock>(lay_out(self, call, renderer));
    const LaidOutBlock& laid_out = block->laid_out;
    BlockCarets carets =
        block_carets(laid_out, [&renderer](std::u32string_view markup, bool right_to_left) -> const render::PreparedLine& {
            return *renderer.line(markup, right_to_left);
        });
    auto picture = std::make_shared<BlockPicture>(BlockPicture{laid_out.drawing, laid_out.lines, block->surfaces,
                                                                call.block.effects, call.background});
    return make_text_layout(std::move(carets), laid_out.frame.width, laid_out.frame.height,
                            [block, effects = call.block.effects, background = call.background] {
                                return paint_block(*block, effects, background);
                            },
                            std::move(picture));
}

/// A block method: its checked (text, size, color, face, wraplength, align,
/// line_spacing, background, direction, text options...), all after the
/// face by keyword only, handed to `body`.
template <nb::object (*body)(LumoFontObject*, PyObject* const*)>
PyObject* block_method(const char* function, PyObject* self, PyObject* const* args, Py_ssize_t nargs,
                       PyObject* kwnames) {
    constexpr std::size_t kPositional = 4;
    PyObject* given[kBlockArguments];
    if (!engine::parse_call_arguments(function, kBlockNames, 2, kPositional, args, nargs, kwnames,
                                      std::span<PyObject*>(given, kBlockArguments)))
        return nullptr;
    return engine::call_guarded([&] { return body(reinterpret_cast<LumoFontObject*>(self), given); });
}

enum class Metric { line_size, ascent, descent };

/// get_linesize(size, face=""), get_ascent(...), get_descent(...): from the
/// line metrics every line is drawn with.
nb::object line_metric(LumoFontObject* self, PyObject* const* named, Metric metric) {
    PyObject* given[5] = {Py_None, named[0], nullptr, nullptr, named[1]};
    nb::object empty = nb::str("");
    given[0] = empty.ptr();
    engine::require_positive_size(given[1]);
    const render::RenderCall call = render::read_arguments(self, given);
    font::ensure_initialized(self);
    const font::LineMetrics measured = font::line_metrics(self, call.size, call.face);
    const LineRows rows = line_rows(measured.ascent, measured.line_height);
    switch (metric) {
    case Metric::line_size: return nb::cast(rows.line_height);
    case Metric::ascent: return nb::cast(rows.baseline);
    case Metric::descent: break;
    }
    return nb::cast(rows.descent());
}

template <Metric metric>
PyObject* metric_method(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    static constexpr const char* kNames[] = {"get_linesize", "get_ascent", "get_descent"};
    PyObject* named[2];
    if (!engine::parse_call_arguments(kNames[static_cast<int>(metric)], {"size", "face"}, 1, args, nargs, kwnames,
                                      named))
        return nullptr;
    return engine::call_guarded(
        [&] { return line_metric(reinterpret_cast<LumoFontObject*>(self), named, metric); });
}

}  // namespace

PyObject* draw_block_method(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    static constexpr auto kDrawNames = [] {
        std::array<const char*, kBlockArguments + 3> names{"surface", "pos"};
        for (std::size_t i = 0; i < kBlockArguments; ++i) names[2 + i] = kBlockNames[i];
        names[kBlockArguments + 2] = "anchor";
        return names;
    }();
    PyObject* given[kDrawNames.size()];
    constexpr std::size_t kPositional = 6;  // surface, pos, text, size, color, face
    if (!engine::parse_call_arguments("draw_block", kDrawNames, 4, kPositional, args, nargs, kwnames,
                                      std::span<PyObject*>(given, kDrawNames.size())))
        return nullptr;
    return engine::call_guarded([&] { return draw_block(reinterpret_cast<LumoFontObject*>(self), given); });
}

PyObject* render_block_method(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    return block_method<render_block>("render_block", self, args, nargs, kwnames);
}

PyObject* size_block_method(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    return block_method<size_block>("size_block", self, args, nargs, kwnames);
}

PyObject* layout_block_method(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    return block_method<layout_block>("layout_block", self, args, nargs, kwnames);
}

PyObject* block_lines_method(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    return block_method<block_lines>("_block_lines", self, args, nargs, kwnames);
}

PyObject* get_linesize_method(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    return metric_method<Metric::line_size>(self, args, nargs, kwnames);
}

PyObject* get_ascent_method(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    return metric_method<Metric::ascent>(self, args, nargs, kwnames);
}

PyObject* get_descent_method(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    return metric_method<Metric::descent>(self, args, nargs, kwnames);
}

}  // namespace lumo::layout
