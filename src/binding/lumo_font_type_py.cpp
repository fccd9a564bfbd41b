// The LumoFont type: allocation, garbage collection, the constructor, and the
// methods that expose the object's operations to the host.
#include "binding/lumo_font_type_py.h"

#include <nanobind/stl/string.h>

#include <array>
#include <string>
#include <utility>

#include "diagnostics/debug_report_py.h"
#include "diagnostics/snapshot_py.h"
#include "engine/call_arguments_py.h"
#include "engine/engine_namespace_py.h"
#include "engine/host_errors_py.h"
#include "engine/host_text_py.h"
#include "engine/settings_py.h"
#include "font/font_choice_memo_py.h"
#include "font/font_set_py.h"
#include "font/insertion_order_py.h"
#include "font/lumo_font_methods_py.h"
#include "font/sized_fonts_py.h"
#include "render/render_entry_py.h"
#include "render/segmentation_py.h"
#include "shaping/drawn_style_py.h"
#include "shaping/shaped_run_py.h"
#include "font/synthetic_style_py.h"
#include "layout/text_block_py.h"

#include "api_docstrings.h"  // generated from scripts/stub_patterns.txt

namespace nb = nanobind;

namespace lumo::font {
namespace {

PyObject* g_lumo_font_type = nullptr;

LumoFontObject* as_font(PyObject* self) { return reinterpret_cast<LumoFontObject*>(self); }

/// Every value field of a new object starts as None, both flags as 0.
PyObject* lumo_font_new(PyTypeObject* type, PyObject*, PyObject*) {
    PyObject* self = type->tp_alloc(type, 0);
    if (self == nullptr) return nullptr;
    for (const FieldSpec& field : kLumoFontFields)
        if (field.kind != FieldKind::Flag) field_slot(as_font(self), field) = Py_NewRef(Py_None);
    return self;
}

/// Fields that can take part in a reference cycle: all but the five text fields.
bool may_hold_cycle(const FieldSpec& field) { return field.kind != FieldKind::Text && field.kind != FieldKind::Flag; }

int lumo_font_traverse(PyObject* self, visitproc visit, void* arg) {
    Py_VISIT(Py_TYPE(self));
    for (const FieldSpec& field : kLumoFontFields)
        if (may_hold_cycle(field)) Py_VISIT(field_slot(as_font(self), field));
    Py_VISIT(as_font(self)->block_cache);
    Py_VISIT(as_font(self)->substituted_families);
    for (font::InsertionOrder* order : {as_font(self)->text_order, as_font(self)->glyph_order})
        if (order != nullptr && order->traverse(visit, arg) != 0) return -1;
    if (as_font(self)->font_set != nullptr && as_font(self)->font_set->traverse(visit, arg) != 0) return -1;
    if (as_font(self)->font_choices != nullptr) return as_font(self)->font_choices->traverse(visit, arg);
    return 0;
}

/// Keeps an exception in flight aside while the fields are released: what they
/// hold may run host code as it goes (pygame closes the file objects its fonts
/// read from), and host code must not run with an exception set.
class PendingExceptionAside {
public:
    PendingExceptionAside() { PyErr_Fetch(&type_, &value_, &traceback_); }
    ~PendingExceptionAside() { PyErr_Restore(type_, value_, traceback_); }
    PendingExceptionAside(const PendingExceptionAside&) = delete;
    PendingExceptionAside& operator=(const PendingExceptionAside&) = delete;

private:
    PyObject* type_ = nullptr;
    PyObject* value_ = nullptr;
    PyObject* traceback_ = nullptr;
};

int lumo_font_clear(PyObject* self) {
    PendingExceptionAside aside;
    for (const FieldSpec& field : kLumoFontFields)
        if (may_hold_cycle(field)) Py_XSETREF(field_slot(as_font(self), field), Py_NewRef(Py_None));
    Py_CLEAR(as_font(self)->block_cache);
    Py_CLEAR(as_font(self)->substituted_families);
    if (as_font(self)->font_choices != nullptr) as_font(self)->font_choices->clear();
    if (as_font(self)->font_set != nullptr) as_font(self)->font_set->clear();
    for (font::InsertionOrder* order : {as_font(self)->text_order, as_font(self)->glyph_order})
        if (order != nullptr) order->clear();
    return 0;
}

void lumo_font_dealloc(PyObject* self) {
    PyTypeObject* type = Py_TYPE(self);
    PyObject_GC_UnTrack(self);
    {
        PendingExceptionAside aside;
        for (const FieldSpec& field : kLumoFontFields)
            if (field.kind != FieldKind::Flag) Py_CLEAR(field_slot(as_font(self), field));
        Py_CLEAR(as_font(self)->block_cache);
        Py_CLEAR(as_font(self)->substituted_families);
        delete std::exchange(as_font(self)->font_choices, nullptr);
        delete std::exchange(as_font(self)->font_set, nullptr);
        delete std::exchange(as_font(self)->text_order, nullptr);
        delete std::exchange(as_font(self)->glyph_order, nullptr);
    }
    type->tp_free(self);
    Py_DECREF(type);
}

int lumo_font_init(PyObject* self, PyObject* args, PyObject* kwargs) {
    static const char* keywords[] = {"primary_name", "fallback_name", "fallback_dir", "emoji_path", "init_face",
                                     nullptr};
    nb::object primary = nb::str("Arial"), fallback = nb::str("Times New Roman"),
               fallback_dir = nb::str("assets/fonts/fallback"),
               emoji = nb::str("assets/fonts/NotoEmoji-Regular.ttf"), init_face = nb::str("regular");
    PyObject* given[5] = {primary.ptr(), fallback.ptr(), fallback_dir.ptr(), emoji.ptr(), init_face.ptr()};
    if (!PyArg_ParseTupleAndKeywords(args, kwargs, "|OOOOO:LumoFont", const_cast<char**>(keywords), &given[0],
                                     &given[1], &given[2], &given[3], &given[4]))
        return -1;
    PyObject* result = engine::call_guarded([&] {
        construct_lumo_font(as_font(self), given[0], given[1], given[2], given[3], given[4]);
        return nb::none();
    });
    if (result == nullptr) return -1;
    Py_DECREF(result);
    return 0;
}

constexpr std::size_t kMaxMethodArguments = 5;

/// Declares a method taking the named arguments, of which `required` must be given.
#define LUMO_METHOD(function_name, required, body, ...)                                                     \
    [](PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) -> PyObject* {        \
        static const std::initializer_list<const char*> names = {__VA_ARGS__};                            \
        std::array<PyObject*, kMaxMethodArguments> arg{};                                                 \
        if (!engine::parse_call_arguments(function_name, names, required, args, nargs, kwnames,           \
                                          std::span<PyObject*>(arg.data(), names.size())))                \
            return nullptr;                                                                               \
        LumoFontObject* font = as_font(self);                                                             \
        (void)font;                                                                                       \
        return engine::call_guarded([&]() -> nb::object body);                                            \
    }

using FastMethod = PyObject* (*)(PyObject*, PyObject* const*, Py_ssize_t, PyObject*);

const FastMethod ensure_init = LUMO_METHOD("_ensure_init", 0, {
    ensure_initialized(font);
    return nb::none();
});

const FastMethod get_true_path_method = LUMO_METHOD("_get_true_path", 2, {
    return get_true_path(font, arg[0], arg[1]);
}, "name", "face");

const FastMethod has_glyph_method = LUMO_METHOD("_has_glyph", 2, {
    return nb::bool_(has_glyph(font, nb::handle(arg[0]), nb::handle(arg[1])));
}, "path_data", "code");

const FastMethod find_best_font_path_method = LUMO_METHOD("_find_best_font_path", 2, {
    // Asked on its own, the choice keeps no HarfBuzz font on the object: it still pickles.
    return render::font_for_character(font, arg[0], arg[1], engine::setting_flag(engine::SettingId::ModernFont),
                                      Presentation::by_default, [font] {
                                          return shaping::has_colour_glyphs(font, nb::borrow(font->emoji_path))
                                              .value_or(false);
                                      });
}, "ch", "face");

const FastMethod search_fallback_layers_method = LUMO_METHOD("_search_fallback_layers", 2, {
    return search_fallback_layers(font, nb::handle(arg[0]), nb::handle(arg[1]));
}, "code", "face");

const FastMethod get_synthetic_flags_method = LUMO_METHOD("_get_synthetic_flags", 1, {
    engine::SyntheticStyle style = font::synthetic_flags(arg[0]);
    return nb::make_tuple(nb::bool_(style.bold), nb::bool_(style.italic));
}, "face");

const FastMethod is_synthetic_needed_method = LUMO_METHOD("_is_synthetic_needed", 2, {
    return nb::bool_(font::is_synthetic_needed(font, arg[0], arg[1], arg[2] ? nb::handle(arg[2]) : nb::handle()));
}, "name", "face", "actual_path");

const FastMethod face_axes_method = LUMO_METHOD("_face_axes", 2, {
    return shaping::face_axes_of(font, arg[0], arg[1]);
}, "face", "font_path");

const FastMethod reduce_method = LUMO_METHOD("__reduce__", 0, {
    return diagnostics::reduce_lumo_font(font);
});

const FastMethod setstate_method = LUMO_METHOD("__setstate__", 1, {
    diagnostics::restore_lumo_font(font, arg[0]);
    return nb::none();
}, "state");

const FastMethod get_font_obj_method = LUMO_METHOD("_get_font_obj", 2, {
    return get_font_obj(font, arg[0], arg[1], arg[2] ? nb::handle(arg[2]) : nb::handle(nb::str("")));
}, "path_data", "size", "face", "font_name");

const FastMethod get_old_engine_method = LUMO_METHOD("_get_old_engine", 1, {
    return get_old_engine(font, arg[0]);
}, "size");

const FastMethod get_metrics_method = LUMO_METHOD("_get_metrics", 2, {
    return get_metrics(font, arg[0], arg[1]);
}, "size", "face");

const FastMethod get_hb_font_method = LUMO_METHOD("_get_hb_font", 1, {
    return shaping::get_hb_font(font, arg[0]);
}, "path_data");

const FastMethod render_shaped_run_method = LUMO_METHOD("_render_shaped_run", 5, {
    return shaping::render_shaped_run(font, arg[0], arg[1], arg[2], arg[3], arg[4], shaping::current_emoji_placement());
}, "text", "size", "color", "font_path", "face");

const FastMethod split_runs_method = LUMO_METHOD("_split_runs", 1, {
    // The runs render() would draw, in drawing order, for tests and debugging.
    if (!PyUnicode_Check(arg[0])) engine::raise_argument_type_error("text", "str", arg[0]);
    ensure_initialized(font);
    nb::object face = arg[2] && arg[2] != Py_None && PyObject_Length(arg[2]) > 0 ? nb::handle(arg[2]).attr("lower")()
                                                                                 : nb::borrow(font->init_face);
    nb::object color = arg[1] ? nb::borrow(arg[1]) : nb::object(nb::make_tuple(255, 255, 255));
    nb::object primary = get_true_path(font, font->primary_name, face);
    nb::object fallback = get_true_path(font, font->fallback_name, face);
    nb::list runs;
    bool modern_font = engine::setting_flag(engine::SettingId::ModernFont);
    const render::SegmentedRuns segmented = render::segment_line(font, arg[0], {color, face, primary, fallback, modern_font});
    for (const render::Run& run : segmented.runs)
        runs.append(nb::make_tuple(engine::text_of_code_points(run.text), run.path, run.color, run.script_group, run.face));
    return runs;
}, "text", "color", "face");

#undef LUMO_METHOD

constexpr int kFastFlags = METH_FASTCALL | METH_KEYWORDS;

// The arguments render_block(), size_block() and _block_lines() share, as
// their documentation's signature line.
#define LUMO_BLOCK_SIGNATURE                                                                                   \
    "($self, /, text, size, color=(255, 255, 255), face='', *, wraplength=0, align='start', line_spacing=1.0, " \
    "background=None, direction='ltr', outline=0, outline_color=(0, 0, 0), shadow=None, "                     \
    "shadow_color=(0, 0, 0, 128), shadow_blur=0, underline=False, strikethrough=False, markup=True, "          \
    "features=None, language=None, variations=None)\n--\n\n"

// A public method's text after its signature line is its stub's docstring, from
// scripts/stub_patterns.txt (the build writes api_docstrings.h from it).
PyMethodDef g_methods[] = {
    {"render", reinterpret_cast<PyCFunction>(+render::render_method), kFastFlags,
     "render($self, /, text, size, color=(255, 255, 255), dynamic=False, face='')\n--\n\n"
     LUMO_DOC_LUMOFONT_RENDER},
    {"size", reinterpret_cast<PyCFunction>(+render::size_method), kFastFlags,
     "size($self, /, text, size, face='', *, markup=True, features=None, language=None, variations=None)\n--\n\n"
     LUMO_DOC_LUMOFONT_SIZE},
    {"get_linesize", reinterpret_cast<PyCFunction>(+layout::get_linesize_method), kFastFlags,
     "get_linesize($self, /, size, face='')\n--\n\n"
     LUMO_DOC_LUMOFONT_GET_LINESIZE},
    {"get_ascent", reinterpret_cast<PyCFunction>(+layout::get_ascent_method), kFastFlags,
     "get_ascent($self, /, size, face='')\n--\n\n"
     LUMO_DOC_LUMOFONT_GET_ASCENT},
    {"get_descent", reinterpret_cast<PyCFunction>(+layout::get_descent_method), kFastFlags,
     "get_descent($self, /, size, face='')\n--\n\n"
     LUMO_DOC_LUMOFONT_GET_DESCENT},
    {"render_block", reinterpret_cast<PyCFunction>(+layout::render_block_method), kFastFlags,
     "render_block" LUMO_BLOCK_SIGNATURE
     LUMO_DOC_LUMOFONT_RENDER_BLOCK},
    {"size_block", reinterpret_cast<PyCFunction>(+layout::size_block_method), kFastFlags,
     "size_block" LUMO_BLOCK_SIGNATURE
     LUMO_DOC_LUMOFONT_SIZE_BLOCK},
    {"layout_block", reinterpret_cast<PyCFunction>(+layout::layout_block_method), kFastFlags,
     "layout_block" LUMO_BLOCK_SIGNATURE
     LUMO_DOC_LUMOFONT_LAYOUT_BLOCK},
    {"draw_block", reinterpret_cast<PyCFunction>(+layout::draw_block_method), kFastFlags,
     "draw_block($self, /, surface, pos, text, size, color=(255, 255, 255), face='', *, wraplength=0, "
     "align='start', line_spacing=1.0, background=None, direction='ltr', outline=0, outline_color=(0, 0, 0), "
     "shadow=None, shadow_color=(0, 0, 0, 128), shadow_blur=0, underline=False, strikethrough=False, markup=True, "
     "features=None, language=None, variations=None, anchor='topleft')\n--\n\n"
     LUMO_DOC_LUMOFONT_DRAW_BLOCK},
    {"_block_lines", reinterpret_cast<PyCFunction>(+layout::block_lines_method), kFastFlags,
     "_block_lines" LUMO_BLOCK_SIGNATURE
     "The lines render_block() draws: (characters, line with the markup in force, right to left)."},
    {"get_debug_info", reinterpret_cast<PyCFunction>(+diagnostics::debug_info_method), kFastFlags,
     "get_debug_info($self, /, text_input, face='')\n--\n\n"
     LUMO_DOC_LUMOFONT_GET_DEBUG_INFO},
    {"_split_runs", reinterpret_cast<PyCFunction>(+split_runs_method), kFastFlags,
     "_split_runs($self, text, color=(255, 255, 255), face='')\n--\n\n"
     "The runs (text, path data, colour, script group, face) render() draws, left to right."},
    {"_get_font_obj", reinterpret_cast<PyCFunction>(+get_font_obj_method), kFastFlags,
     "_get_font_obj($self, path_data, size, face='', font_name=None)\n--\n\n"
     "A sized pygame.freetype font for a file, with the object's anti-aliasing and synthetic styles."},
    {"_get_old_engine", reinterpret_cast<PyCFunction>(+get_old_engine_method), kFastFlags,
     "_get_old_engine($self, size)\n--\n\nThe legacy pygame.font engine for the emoji font at a size."},
    {"_get_metrics", reinterpret_cast<PyCFunction>(+get_metrics_method), kFastFlags,
     "_get_metrics($self, size, face)\n--\n\n(ascent, line height, font) of the fallback family."},
    {"_get_hb_font", reinterpret_cast<PyCFunction>(+get_hb_font_method), kFastFlags,
     "_get_hb_font($self, path_data)\n--\n\nThe HarfBuzz font of a file and face, or None."},
    {"_render_shaped_run", reinterpret_cast<PyCFunction>(+render_shaped_run_method), kFastFlags,
     "_render_shaped_run($self, text, size, color, font_path, face)\n--\n\n"
     "(surface, advance) of one run drawn with one font."},
    {"_ensure_init", reinterpret_cast<PyCFunction>(+ensure_init), kFastFlags,
     "_ensure_init($self, /)\n--\n\nLoads the font index and looks at the fallback fonts, once."},
    {"_get_true_path", reinterpret_cast<PyCFunction>(+get_true_path_method), kFastFlags,
     "_get_true_path($self, name, face)\n--\n\nThe path data of the file serving family `name` in face `face`."},
    {"_has_glyph", reinterpret_cast<PyCFunction>(+has_glyph_method), kFastFlags,
     "_has_glyph($self, path_data, code)\n--\n\nWhether the font maps the code point to a glyph."},
    {"_find_best_font_path", reinterpret_cast<PyCFunction>(+find_best_font_path_method), kFastFlags,
     "_find_best_font_path($self, ch, face)\n--\n\nThe path data of the font that draws `ch` in `face`."},
    {"_search_fallback_layers", reinterpret_cast<PyCFunction>(+search_fallback_layers_method), kFastFlags,
     "_search_fallback_layers($self, code, face)\n--\n\nThe fallback, international and last-resort layers."},
    {"_get_synthetic_flags", reinterpret_cast<PyCFunction>(+get_synthetic_flags_method), kFastFlags,
     "_get_synthetic_flags($self, face)\n--\n\n(bold, italic) effects that a face word asks for."},
    {"_is_synthetic_needed", reinterpret_cast<PyCFunction>(+is_synthetic_needed_method), kFastFlags,
     "_is_synthetic_needed($self, name, face, actual_path=None)\n--\n\n"
     "Whether drawing in `face` from a file that is not the family's own for it imitates the style (a variable\n"
     "font's axes may still draw it: see _face_axes)."},
    {"_face_axes", reinterpret_cast<PyCFunction>(+face_axes_method), kFastFlags,
     "_face_axes($self, face, font_path)\n--\n\n"
     "{axis tag: value} a variable font at font_path draws the face word at, instead of imitating it; {} for none."},
    {"__reduce__", reinterpret_cast<PyCFunction>(+reduce_method), kFastFlags,
     "__reduce__($self, /)\n--\n\nThe snapshot through which the object is pickled and copied."},
    {"__setstate__", reinterpret_cast<PyCFunction>(+setstate_method), kFastFlags,
     "__setstate__($self, state, /)\n--\n\nRestores the fields from a snapshot tuple."},
    {nullptr, nullptr, 0, nullptr},
};

#undef LUMO_BLOCK_SIGNATURE

constexpr const char* kClassDoc =
    "(primary_name, fallback_name, fallback_dir, emoji_path, init_face)\n\n"
    "One typeface set-up: a primary family, a fallback family, a folder of fonts for other scripts, an\n"
    "emoji font and a default face word. render() turns a line of text into a pygame Surface with\n"
    "per-pixel alpha; get_debug_info() explains which font draws each character and why. Its caches are\n"
    "unsynchronised: use one object per thread.";

}  // namespace

PyTypeObject* lumo_font_type() { return reinterpret_cast<PyTypeObject*>(g_lumo_font_type); }

bool is_lumo_font(PyObject* object) {
    return g_lumo_font_type != nullptr && PyObject_TypeCheck(object, lumo_font_type());
}

void install_lumo_font_type(nb::module_& package) {
    static std::vector<PyGetSetDef> attributes = lumo_font_attributes();
    static std::string qualified_name = nb::cast<std::string>(package.attr("__name__")) + ".LumoFont";
    static PyType_Slot slots[] = {
        {Py_tp_new, reinterpret_cast<void*>(lumo_font_new)},
        {Py_tp_init, reinterpret_cast<void*>(lumo_font_init)},
        {Py_tp_dealloc, reinterpret_cast<void*>(lumo_font_dealloc)},
        {Py_tp_traverse, reinterpret_cast<void*>(lumo_font_traverse)},
        {Py_tp_clear, reinterpret_cast<void*>(lumo_font_clear)},
        {Py_tp_methods, g_methods},
        {Py_tp_getset, attributes.data()},
        {Py_tp_doc, const_cast<char*>(kClassDoc)},
        {0, nullptr},
    };
    static PyType_Spec spec = {qualified_name.c_str(), sizeof(LumoFontObject), 0,
                               Py_TPFLAGS_DEFAULT | Py_TPFLAGS_BASETYPE | Py_TPFLAGS_HAVE_GC, slots};
    PyObject* type = PyType_FromSpec(&spec);
    if (type == nullptr) throw nb::python_error();
    engine::hold_until_exit(g_lumo_font_type, type);
    Py_DECREF(type);
    nb::setattr(package, "LumoFont", nb::handle(type));
}

}  // namespace lumo::font
