// The render entry point: argument handling, the text cache, the dynamic
// per-character path and the composition of a line from its runs; and the
// pieces of it that measuring and text blocks share.
#pragma once

#include <nanobind/nanobind.h>

#include <span>
#include <utility>
#include <vector>

#include "font/lumo_font_object_py.h"
#include "render/prepared_line.h"
#include "render/text_options.h"
#include "shaping/shaped_run_py.h"

namespace lumo::render {

/// One line's arguments as the engine holds them, with the settings that are
/// part of its cache key read once: the whole call draws with them.
struct RenderCall {
    nanobind::object text;   // str
    nanobind::object size;   // int that fits a C int
    nanobind::object color;  // tuple or None
    bool dynamic = false;
    nanobind::object face;   // resolved face word
    nanobind::object modern_font, smooth_font, emoji_offset_y;
    bool right_to_left_paragraph = false;  // a line of a right-to-left text block
    TextOptions options;  // the keyword options of the calls added after render()
};

/// (text, size, color, dynamic, face) checked as render() checks them; an
/// omitted optional argument is nullptr.
RenderCall read_arguments(font::LumoFontObject* self, PyObject* const* given);
void read_key_settings(RenderCall& call);

/// read_arguments() and read_key_settings() for a call that draws or measures
/// text: a None text raises the TypeError render() raises.
RenderCall read_text_call(font::LumoFontObject* self, PyObject* const* given);

/// The text cache's key for `first` (the text) drawn as `call` asks.
nanobind::object cache_key(nanobind::handle first, const RenderCall& call);

/// The fonts a call's lines resolved, by the path data and face object of
/// their runs: the lines of a block (and the lines measured to break it)
/// share them instead of resolving each line's fonts again. The fonts point
/// to their call's typography options: the calls the lines are prepared
/// with must have the same options and outlive this.
class ResolvedRunFonts {
public:
    const shaping::RunFont* find(nanobind::handle path, nanobind::handle face) const;
    void keep(nanobind::handle path, nanobind::handle face, const shaping::RunFont& font);

private:
    struct Entry {
        nanobind::object path, face;  // held, so that their identities stay theirs
        shaping::RunFont font;
    };
    std::vector<Entry> entries_;
};

/// The runs of `text` (markup included), for an initialised object and the
/// path data of its primary and fallback families in the call's face; the
/// surfaces of runs the legacy emoji engine draws are kept in `surfaces`.
/// With `resolved`, fonts resolved by earlier lines of the call are reused.
PreparedLine prepare_line(font::LumoFontObject* self, const RenderCall& call, nanobind::handle text,
                          nanobind::handle primary_path, nanobind::handle fallback_path,
                          shaping::RunSurfaces& surfaces, ResolvedRunFonts* resolved = nullptr);

/// Refuses variations that name an instance no font of the text has, when
/// the text draws with fonts at all: `lines` are the call's prepared lines.
void require_named_instance(const TextOptions& options, std::span<const PreparedLine* const> lines);

/// The line's surface, as render() returns it: lowered, when its ink would
/// reach above the surface's top, by as many rows as it needs and the room
/// below its ink allows (shaping::rows_to_keep_ink); line_size() big.
nanobind::object draw_line(const PreparedLine& line, const shaping::RunSurfaces& surfaces);

/// Drops the oldest entries of the text and glyph caches beyond their limits.
void trim_caches(font::LumoFontObject* self);

/// LumoFont.render(text, size, color=(255, 255, 255), dynamic=False, face="") as a vectorcall method.
PyObject* render_method(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);

/// LumoFont.size(text, size, face="", *, text options) as a vectorcall
/// method: render()'s surface size.
PyObject* size_method(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);

}  // namespace lumo::render
