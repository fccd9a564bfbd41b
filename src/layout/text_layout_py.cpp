// The TextLayout type: conversions between the host's indices, points and
// rectangles and the core's carets (layout/block_carets.h).
#include "layout/text_layout_py.h"

#include <nanobind/stl/optional.h>
#include <nanobind/stl/pair.h>
#include <nanobind/stl/string.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/engine_namespace_py.h"
#include "engine/host_errors_py.h"
#include "layout/block_clusters.h"
#include "layout/block_options.h"
#include "layout/cluster_requests.h"
#include "layout/laid_out_text.h"
#include "shaping/surface_pixels_py.h"

#include "api_docstrings.h"  // generated from scripts/stub_patterns.txt

namespace nb = nanobind;

namespace lumo::layout {
namespace {

struct TextLayout {
    LaidOutText text;
    std::function<nb::object()> paint;
    nb::object painted;  // the surface, once asked for
    std::shared_ptr<const BlockPicture> picture;  // what frames are drawn from
    nb::object cluster_list;                      // the host's list of clusters, made once
    FrameSurfaces frames;                         // what draw() draws frames on
};

PyObject* g_rect_type = nullptr;       // pygame.Rect
PyObject* g_layout_line = nullptr;     // lumo_font.LayoutLine
PyObject* g_layout_cluster = nullptr;  // lumo_font.LayoutCluster

nb::object rect(long x, long y, long width, long height) {
    return nb::borrow(g_rect_type)(x, y, width, height);
}

nb::object rect(const PixelRect& pixels) { return rect(pixels.x, pixels.y, pixels.width, pixels.height); }

/// An index of the text given to the call: 0 to its length.
std::size_t text_index(const TextLayout& layout, Py_ssize_t index) {
    const std::optional<std::size_t> within = layout.text.index(index);
    if (!within) throw nb::index_error(index_outside_text_message(index, layout.text.carets().text_length()).c_str());
    return *within;
}

/// A point as the host gives one: any pair of numbers (a tuple, a list, a Vector2).
std::pair<double, double> point_of(nb::handle pos) {
    nb::object items = nb::steal(PySequence_Fast(pos.ptr(), "pos must be a pair of numbers (x, y)"));
    if (!items.is_valid()) throw nb::python_error();
    if (PySequence_Fast_GET_SIZE(items.ptr()) != 2) throw nb::type_error("pos must be a pair of numbers (x, y)");
    const double x = PyFloat_AsDouble(PySequence_Fast_GET_ITEM(items.ptr(), 0));
    if (x == -1.0 && PyErr_Occurred()) throw nb::python_error();
    const double y = PyFloat_AsDouble(PySequence_Fast_GET_ITEM(items.ptr(), 1));
    if (y == -1.0 && PyErr_Occurred()) throw nb::python_error();
    if (!point_allowed(x, y)) throw nb::value_error("pos must be finite");
    return {x, y};
}

/// How many clusters a `reveal` (an index of the text, or None) shows.
std::size_t revealed_clusters(TextLayout& layout, nb::handle reveal) {
    if (reveal.is_none()) return layout.text.shown(std::nullopt);
    if (!PyLong_Check(reveal.ptr())) engine::raise_argument_type_error("reveal", "int or None", reveal);
    int overflow = 0;
    const long long index = PyLong_AsLongLongAndOverflow(reveal.ptr(), &overflow);
    return layout.text.shown(index, overflow);
}

/// A number of an offsets triple, as offset_allowed() allows it.
double offset_number(PyObject* item, OffsetPart part) {
    const double value = PyFloat_AsDouble(item);
    if (value == -1.0 && PyErr_Occurred()) {
        PyErr_Clear();
        PyErr_Format(PyExc_TypeError, "offsets must give (dx, dy, alpha) numbers, not %R", item);
        throw nb::python_error();
    }
    if (!offset_allowed(part, value)) {
        PyErr_Format(PyExc_ValueError, "%s, not %R", offset_limit_message(part).c_str(), item);
        throw nb::python_error();
    }
    return value;
}

ClusterShift shift_asked(nb::handle triple) {
    nb::object items = nb::steal(PySequence_Fast(triple.ptr(), "offsets must give (dx, dy, alpha) triples"));
    if (!items.is_valid()) throw nb::python_error();
    if (PySequence_Fast_GET_SIZE(items.ptr()) != 3) {
        PyErr_Format(PyExc_ValueError, "offsets must give (dx, dy, alpha) triples, not %R", triple.ptr());
        throw nb::python_error();
    }
    PyObject** values = PySequence_Fast_ITEMS(items.ptr());
    const double dx = offset_number(values[0], OffsetPart::dx);
    const double dy = offset_number(values[1], OffsetPart::dy);
    return shift_of(dx, dy, offset_number(values[2], OffsetPart::alpha));
}

/// A frame's `offsets` as the host gives them: a callable of the cluster's
/// number, or a sequence with one triple per cluster.
class HostOffsets final : public FrameOffsets {
public:
    explicit HostOffsets(nb::handle offsets) : offsets_(offsets) {}

    std::optional<std::size_t> count() override {
        if (PyCallable_Check(offsets_.ptr())) return std::nullopt;
        items_ = nb::steal(PySequence_Fast(offsets_.ptr(), "offsets must be a callable or a sequence of "
                                                           "(dx, dy, alpha) triples"));
        if (!items_.is_valid()) throw nb::python_error();
        return static_cast<std::size_t>(PySequence_Fast_GET_SIZE(items_.ptr()));
    }

    ClusterShift shift(std::size_t cluster) override {
        if (!items_.is_valid()) return shift_asked(offsets_(cluster));
        return shift_asked(PySequence_Fast_GET_ITEM(items_.ptr(), static_cast<Py_ssize_t>(cluster)));
    }

    [[noreturn]] void refuse(const std::string& message) override { throw nb::value_error(message.c_str()); }

private:
    nb::handle offsets_;
    nb::object items_;  // the sequence's items, when it is one
};

/// The frame `reveal` and `offsets` ask for, on the surfaces `kept` when
/// given; invalid when it is the whole block as it stands.
ClusterFrame frame_of(TextLayout& layout, nb::handle reveal, nb::handle offsets, FrameSurfaces* kept = nullptr) {
    if (reveal.is_none() && offsets.is_none()) return {};
    const std::size_t shown = revealed_clusters(layout, reveal);
    HostOffsets asked(offsets);
    const std::optional<std::vector<ClusterShift>> shifts =
        layout.text.frame_shifts(shown, offsets.is_none() ? nullptr : &asked);
    if (!shifts) return {};
    const std::vector<LinePieces> pieces = layout.text.clusters().pieces(*shifts);
    return draw_cluster_frame(*layout.picture, pieces, kept);
}

nb::object surface_of(TextLayout& layout, nb::handle reveal) {
    if (ClusterFrame frame = frame_of(layout, reveal, nb::none()); frame.surface.is_valid()) return frame.surface;
    if (!layout.painted.is_valid()) layout.painted = layout.paint();
    return layout.painted;
}

nb::object draw(TextLayout& layout, nb::handle target, nb::handle pos, const std::string& anchor, nb::handle reveal,
                nb::handle offsets) {
    if (anchor_named(anchor) == nullptr) throw nb::value_error(layout_anchor_message(anchor).c_str());
    const auto [x, y] = point_of(pos);
    nb::object placed = rect(0, 0, layout.text.width(), layout.text.height());
    nb::setattr(placed, anchor.c_str(), nb::make_tuple(std::lround(x), std::lround(y)));
    ClusterFrame frame = frame_of(layout, reveal, offsets, &layout.frames);
    if (frame.surface.is_valid()) {
        const long left = nb::cast<long>(placed.attr("x")), top = nb::cast<long>(placed.attr("y"));
        target.attr("blit")(frame.surface, nb::make_tuple(left + frame.x, top + frame.y));
    } else {
        target.attr("blit")(surface_of(layout, nb::none()), placed);
    }
    return placed;
}

/// The clusters as the host sees them, made once.
nb::list clusters_list(TextLayout& layout) {
    if (!layout.cluster_list.is_valid()) {
        nb::list made;
        for (const TextCluster& cluster : layout.text.clusters().clusters())
            made.append(nb::borrow(g_layout_cluster)(cluster.start, cluster.end, rect(cluster.rect), cluster.line,
                                                     cluster.baseline));
        layout.cluster_list = made;
    }
    return nb::steal<nb::list>(PyList_GetSlice(layout.cluster_list.ptr(), 0, PY_SSIZE_T_MAX));
}

nb::list lines_of(const TextLayout& layout) {
    nb::list lines;
    for (const LayoutLineRecord& line : layout.text.lines())
        lines.append(nb::borrow(g_layout_line)(line.start, line.end, rect(line.rect), line.baseline, line.direction));
    return lines;
}

nb::list selection_rects(const TextLayout& layout, Py_ssize_t start, Py_ssize_t end) {
    nb::list rects;
    for (const PixelRect& pixels : layout.text.carets().selection(text_index(layout, start), text_index(layout, end)))
        rects.append(rect(pixels));
    return rects;
}

}  // namespace

nb::object make_text_layout(BlockCarets carets, long width, long height, std::function<nb::object()> paint,
                            std::shared_ptr<const BlockPicture> picture) {
    engine::require_headroom_for_wrapper();
    return nb::cast(TextLayout{LaidOutText(std::move(carets), width, height), std::move(paint), nb::object(),
                               std::move(picture), nb::object(), FrameSurfaces{}});
}

namespace {

void bind_text_layout(nb::module_& package) {
    nb::class_<TextLayout>(package, "TextLayout",
                           "A block of text laid out once by LumoFont.layout_block(): drawn, and asked where its\n"
                           "carets, clicks and selections fall. Indices are positions in the text given (0 to its\n"
                           "length); with markup, tags take no room. Points and rectangles are in the layout's own\n"
                           "pixels, its top-left corner at (0, 0). An index outside the text raises IndexError.")
        .def_prop_ro("size", [](const TextLayout& self) { return std::make_pair(self.text.width(), self.text.height()); },
                     nb::sig("def size(self) -> tuple[int, int]"),
                     "(width, height): what size_block() gives for the same arguments.")
        .def("surface", &surface_of, nb::kw_only(), nb::arg("reveal") = nb::none(),
             nb::sig("def surface(self, *, reveal: int | None = None) -> pygame.Surface"),
             "The block drawn: the pixels render_block() gives for the same arguments (one surface, made once).\n"
             "With `reveal`, a new surface of the same size with only the grapheme clusters that end at or\n"
             "before that index of the text, each drawn exactly as in the whole block (see draw()).")
        .def("draw", &draw, nb::arg("surface"), nb::arg("pos"), nb::arg("anchor") = "topleft", nb::kw_only(),
             nb::arg("reveal") = nb::none(), nb::arg("offsets") = nb::none(),
             nb::sig("def draw(self, surface: pygame.Surface, pos: tuple[float, float], anchor: str = 'topleft', *, "
                     "reveal: int | None = None, offsets: collections.abc.Callable[[int], tuple[float, float, float]] | "
                     "collections.abc.Sequence[tuple[float, float, float]] | None = None) -> pygame.Rect"),
             "Blits the block onto `surface` with its `anchor` point (a pygame.Rect position name) at `pos`;\n"
             "returns where it went. Subtract its topleft from a screen point to ask index_at().\n"
             "reveal: draw only the grapheme clusters (see `clusters`) that end at or before this index of\n"
             "the text, in logical order whatever the direction: each where and as the whole block draws it\n"
             "(the same glyphs, an Arabic letter in the form the whole text gives it), with its part of the\n"
             "outline, shadow, underline and strikethrough; a typewriter without reflow.\n"
             "offsets: per cluster, (dx, dy, alpha): moved by whole pixels and made alpha/255 as opaque\n"
             "(0: not drawn), from the glyphs already drawn, without shaping again; a callable of the\n"
             "cluster's number, or a sequence with one triple per cluster. A glyph several clusters share\n"
             "(a ligature) goes with the first of them. Faded clusters are drawn over the opaque ones.")
        .def_prop_ro("clusters", &clusters_list, nb::sig("def clusters(self) -> list[LayoutCluster]"),
                     "Every grapheme cluster of the text in logical order: its text range [start, end), its\n"
                     "rectangle (what selection_rects() covers for it), its line and its baseline row; what\n"
                     "draw()'s `offsets` are numbered by.")
        .def_prop_ro("lines", &lines_of, nb::sig("def lines(self) -> list[LayoutLine]"),
                     "Per line: (start, end) of its text, its rectangle, its baseline row and its paragraph's\n"
                     "direction ('ltr' or 'rtl').")
        .def("caret",
             [](const TextLayout& self, Py_ssize_t index, bool other) {
                 return rect(self.text.carets().caret(text_index(self, index), other));
             },
             nb::arg("index"), nb::arg("other") = false,
             nb::sig("def caret(self, index: int, other: bool = False) -> pygame.Rect"),
             "The caret before the character at `index`, one pixel wide and one line high. Where the characters\n"
             "before and after it run in different directions, the caret of the one typed last (the strong\n"
             "caret); other=True gives the other one (the weak caret).")
        .def("index_at",
             [](const TextLayout& self, nb::handle pos) {
                 const auto [x, y] = point_of(pos);
                 return self.text.carets().index_at(x, y);
             },
             nb::arg("pos"), nb::sig("def index_at(self, pos: tuple[float, float]) -> int"),
             "The caret index nearest to the point pos (a click): the nearer edge of the grapheme cluster under it.\n"
             "Never inside a cluster; a ligature is shared evenly between its characters.")
        .def("selection_rects", &selection_rects, nb::arg("start"), nb::arg("end"),
             nb::sig("def selection_rects(self, start: int, end: int) -> list[pygame.Rect]"),
             "Rectangles covering the characters in [start, end) as they stand on screen: one per stretch, so\n"
             "several on a line where the selection crosses a change of direction.")
        .def("next_caret",
             [](const TextLayout& self, Py_ssize_t index) {
                 return self.text.carets().next_caret(text_index(self, index));
             },
             nb::arg("index"), "The next caret index in the text: one grapheme cluster on (the length at the end).")
        .def("prev_caret",
             [](const TextLayout& self, Py_ssize_t index) {
                 return self.text.carets().prev_caret(text_index(self, index));
             },
             nb::arg("index"), "The previous caret index in the text: one grapheme cluster back (0 at the start).")
        .def("move_visually",
             [](const TextLayout& self, Py_ssize_t index, long steps) {
                 return self.text.carets().move_visually(text_index(self, index), steps);
             },
             nb::arg("index"), nb::arg("steps"),
             "The caret index `steps` places to the right on screen (negative: to the left), across changes of\n"
             "direction and on to the next or previous line; unchanged at the text's ends.")
        .def("line_of",
             [](const TextLayout& self, Py_ssize_t index) {
                 return self.text.carets().line_of(text_index(self, index));
             },
             nb::arg("index"), "The number of the line the caret at `index` stands on.")
        .def("move_vertically",
             [](const TextLayout& self, Py_ssize_t index, long lines, std::optional<double> x) {
                 if (x && !std::isfinite(*x)) throw nb::value_error("x must be finite");
                 return self.text.carets().move_vertically(text_index(self, index), lines, x);
             },
             nb::arg("index"), nb::arg("lines"), nb::arg("x") = nb::none(),
             nb::sig("def move_vertically(self, index: int, lines: int, x: float | None = None) -> int"),
             "The caret index `lines` lines further down (negative: up) nearest to `x`, by default the caret's\n"
             "own x: keep the x of the first move to go on in a straight line. 0 above the first line, the\n"
             "length below the last.")
        .def("word_at",
             [](const TextLayout& self, Py_ssize_t index) {
                 return self.text.carets().word_at(text_index(self, index));
             },
             nb::arg("index"), nb::sig("def word_at(self, index: int) -> tuple[int, int]"),
             "(start, end) of the word at `index` by the Unicode word boundaries (or of the spaces or\n"
             "punctuation there when no word touches it): what a double click selects.");
}

/// A named tuple type `name` with `fields`, documented, defined in the
/// package and held in `slot` until the interpreter exits.
void install_named_tuple(PyObject*& slot, nb::module_& package, const char* name, nb::tuple fields,
                         const char* doc) {
    nb::object type = nb::module_::import_("collections").attr("namedtuple")(
        name, fields, nb::arg("module") = package.attr("__name__"));
    type.attr("__doc__") = doc;
    engine::hold_until_exit(slot, type.ptr());
    package.attr(name) = type;
}

}  // namespace

void install_text_layout_types(nb::module_& package) {
    engine::hold_until_exit(g_rect_type, nb::module_::import_("pygame").attr("Rect").ptr());
    install_named_tuple(g_layout_line, package, "LayoutLine",
                        nb::make_tuple("start", "end", "rect", "baseline", "direction"), LUMO_DOC_LAYOUTLINE);
    install_named_tuple(g_layout_cluster, package, "LayoutCluster",
                        nb::make_tuple("start", "end", "rect", "line", "baseline"), LUMO_DOC_LAYOUTCLUSTER);
    // Defined in the package itself, so that it and its methods belong there;
    // a package started again (reloaded) names the class it already has.
    if (nb::type<TextLayout>().is_valid())
        package.attr("TextLayout") = nb::type<TextLayout>();
    else
        bind_text_layout(package);
}

}  // namespace lumo::layout
