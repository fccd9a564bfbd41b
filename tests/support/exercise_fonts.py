"""Runs the public API over a folder of (possibly broken) fonts and prints one
JSON summary: what every call gave, grouped by outcome; calls with the font
as the emoji font, whose runs pygame's own font engine draws, apart. Started in a child
process by the tests, so that a crash or a hang fails the test instead of
taking the test run down with it.

    python exercise_fonts.py FONT_FOLDER FALLBACK_FOLDER
"""
import collections
import json
import os
import sys

os.environ.setdefault("SDL_VIDEODRIVER", "dummy")
os.environ.setdefault("PYGAME_HIDE_SUPPORT_PROMPT", "1")

import lumo_font  # noqa: E402
from lumo_font import LumoFont  # noqa: E402

TEXTS = ["Hello", "Hi שָׁלוֹם!", "สวัสดี", "𐊀𐊁𐊂 A", "ab ^1c<bold={d}>"]
EMOJI_TEXT = "A \U0001F600 B"
SIZES = [1, 13, 40]


def outcome(call):
    try:
        call()
        return "ok"
    except Exception as error:  # everything is recorded; the test decides what is allowed
        return f"{type(error).__name__}: {str(error)[:60]}"


def exercise(font_folder, fallback_folder):
    outcomes = collections.Counter()
    emoji_outcomes = collections.Counter()
    index = lumo_font.build_font_map()
    cached = lumo_font.load_or_update_font_map()
    mutants = sorted(os.path.join(font_folder, name) for name in os.listdir(font_folder))
    for path in mutants:
        font = LumoFont(path, path, fallback_folder, None)
        outcomes[outcome(lambda: font._has_glyph([path, -1], ord("A")))] += 1
        outcomes[outcome(lambda: font._has_glyph(path, 0x05E9))] += 1
        for text in TEXTS:
            for size in SIZES:
                outcomes[outcome(lambda: font.render(text, size, (200, 10, 10)))] += 1
        outcomes[outcome(lambda: font.render("Hello", 20, dynamic=True))] += 1
        outcomes[outcome(lambda: font.render("Hello", 20, face="bold italic"))] += 1
        outcomes[outcome(lambda: font.get_debug_info(TEXTS[1]))] += 1
        # Outlines stroke every glyph's outline again, with FreeType's stroker.
        outcomes[outcome(lambda: font.render_block(TEXTS[1], 20, outline=2, shadow=(2, 2), underline=True))] += 1
        as_emoji = LumoFont(path, path, fallback_folder, path)
        for size in SIZES:
            emoji_outcomes[outcome(lambda: as_emoji.render(EMOJI_TEXT, size))] += 1
    return {"mutants": len(mutants), "indexed_paths": len(index["paths"]),
            "cached_paths": len(cached["paths"]), "outcomes": dict(outcomes),
            "emoji_outcomes": dict(emoji_outcomes)}


if __name__ == "__main__":
    summary = exercise(sys.argv[1], sys.argv[2])
    sys.stdout.flush()
    print("SUMMARY " + json.dumps(summary))
