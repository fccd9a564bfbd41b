"""Pango's answers about carets and clicks, for comparing the engine's with.

Run by Debian's own /usr/bin/python3, where PyGObject and Pango's
introspection data live (not by the interpreter the tests run on): it reads a
JSON list of requests on standard input and writes a JSON list of answers.

Request: {"families": "Noto Sans, Noto Sans Hebrew", "size": 24, "text": ...,
          "direction": "ltr" | "rtl", "stops": [character positions], "y": 10}
Answer:  {"strong": [x per character position], "weak": [...],
          "probes": [[x, caret index], ...]}: what a click answers 1 pixel
          either side of each stop's two cursors, at row y.
Positions are in pixels; indices count characters (code points), as Python
strings do, while Pango itself counts UTF-8 bytes.
"""
import json
import sys
import warnings

import gi

gi.require_version("Pango", "1.0")
gi.require_version("PangoFT2", "1.0")
from gi.repository import Pango, PangoFT2  # noqa: E402


def byte_offsets(text):
    """The UTF-8 offset of every character position, the end included."""
    offsets, at = [], 0
    for ch in text:
        offsets.append(at)
        at += len(ch.encode("utf-8"))
    offsets.append(at)
    return offsets


def new_layout(request):
    with warnings.catch_warnings():
        warnings.simplefilter("ignore", DeprecationWarning)
        context = PangoFT2.FontMap.new().create_context()
    # Glyphs at their exact (unrounded) positions, as the engine places them
    # within a run; the paragraph direction as the request says, not guessed.
    context.set_round_glyph_positions(False)
    context.set_base_dir(Pango.Direction.RTL if request.get("direction") == "rtl" else Pango.Direction.LTR)
    layout = Pango.Layout.new(context)
    layout.set_auto_dir(False)
    layout.set_font_description(Pango.FontDescription.from_string(f"{request['families']} {request['size']}px"))
    layout.set_text(request["text"], -1)
    return layout


def answer(request):
    layout = new_layout(request)
    offsets = byte_offsets(request["text"])
    character_of = {offset: i for i, offset in enumerate(offsets)}
    strong, weak = [], []
    for offset in offsets:
        strong_pos, weak_pos = layout.get_cursor_pos(offset)
        strong.append(strong_pos.x / Pango.SCALE)
        weak.append(weak_pos.x / Pango.SCALE)
    probes = []
    y = int(request.get("y", 10) * Pango.SCALE)
    for stop in request.get("stops", []):
        for x in sorted({strong[stop] - 1, strong[stop] + 1, weak[stop] - 1, weak[stop] + 1}):
            _inside, index, trailing = layout.xy_to_index(int(x * Pango.SCALE), y)
            probes.append([x, character_of[index] + trailing])
    return {"strong": strong, "weak": weak, "probes": probes}


if __name__ == "__main__":
    json.dump([answer(request) for request in json.load(sys.stdin)], sys.stdout)
