"""Pango's answers about carets and clicks, for comparing the engine's with.

Run by Debian's own /usr/bin/python3, where PyGObject and Pango's
introspection data live (not by the interpreter the tests run on): it reads
one JSON request on standard input and writes one JSON answer.

Request: {"families": "Noto Sans, Noto Sans Hebrew", "size": 24, "text": ...,
          "direction": "ltr" | "rtl", "points": [[x, y], ...]}
Answer:  {"strong": [x per character position], "weak": [...],
          "leading": [x of each character's leading edge],
          "hits": [caret index per point], "width": logical width}
All positions are in pixels; indices count characters (code points), as
Python strings do, while Pango itself counts UTF-8 bytes.
"""
import json
import sys

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


def answer(request):
    font_map = PangoFT2.FontMap.new()
    context = font_map.create_context()
    # Glyphs at their exact (unrounded) positions, as the engine places them.
    context.set_round_glyph_positions(False)
    layout = Pango.Layout.new(context)
    layout.set_auto_dir(False)
    context.set_base_dir(Pango.Direction.RTL if request.get("direction") == "rtl" else Pango.Direction.LTR)
    layout.context_changed()
    layout.set_font_description(Pango.FontDescription.from_string(f"{request['families']} {request['size']}px"))
    text = request["text"]
    layout.set_text(text, -1)
    offsets = byte_offsets(text)
    character_of = {offset: i for i, offset in enumerate(offsets)}
    scale = Pango.SCALE
    strong, weak, leading = [], [], []
    for i, offset in enumerate(offsets):
        strong_pos, weak_pos = layout.get_cursor_pos(offset)
        strong.append(strong_pos.x / scale)
        weak.append(weak_pos.x / scale)
        if i < len(text):
            leading.append(layout.index_to_pos(offset).x / scale)
    hits = []
    for x, y in request.get("points", []):
        _inside, index, trailing = layout.xy_to_index(int(x * scale), int(y * scale))
        hits.append(character_of[index] + trailing)
    _ink, logical = layout.get_extents()
    return {"strong": strong, "weak": weak, "leading": leading, "hits": hits, "width": logical.width / scale}


if __name__ == "__main__":
    json.dump(answer(json.load(sys.stdin)), sys.stdout)
