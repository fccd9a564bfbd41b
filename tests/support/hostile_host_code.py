"""Calls every entry point of a font object with host objects whose own code
(__eq__, __hash__, __del__, __index__, __gt__, lower, __getitem__) replaces the
object's caches, restores another object's state into it, changes settings and
collects garbage while the engine is in the middle of a call. Ordinary
exceptions are expected; the process must neither crash nor leak.

    python hostile_host_code.py SEED CALLS
"""
import gc
import os
import random
import sys

os.environ.setdefault("SDL_VIDEODRIVER", "dummy")
os.environ.setdefault("PYGAME_HIDE_SUPPORT_PROMPT", "1")

import lumo_font  # noqa: E402

DEJAVU = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
SERIF = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf"
SYMBOLA = "/usr/share/fonts/truetype/ancient-scripts/Symbola_hint.ttf"
NOTO = "/usr/share/fonts/truetype/noto"
TEXTS = ["Hello", "line 1", "שלום 😀", "x^1y<bold={z}>", "Score: 10", "مرحبا 12"]

rng = random.Random(int(sys.argv[1]))
font = lumo_font.LumoFont(DEJAVU, SERIF, NOTO, SYMBOLA)
spare = lumo_font.LumoFont(SERIF, DEJAVU, None, None)
spare.render("warm", 20)


def interfere():
    """One thing host code may do while the engine waits for it."""
    action = rng.randrange(10)
    if action == 0:
        font._text_cache = {}
    elif action == 1:
        font._glyph_cache = {}
    elif action == 2:
        font.emoji_fallback_engine = {}
    elif action == 3:
        font._text_cache = {n: n for n in range(3)}
    elif action == 4:
        font.__setstate__(spare.__getstate__())
    elif action == 5:
        font.init_face = rng.choice(["bold", "regular", ""])
    elif action == 6:
        gc.collect()
    elif action == 7:
        vars(lumo_font)["MAX_TEXT_CACHE"] = rng.choice([1, 2, 1200])
    elif action == 8:
        vars(lumo_font)["SMOOTH_FONT"] = rng.choice([True, False])
    else:
        font._glyph_cache = {("x",): None}


class Text(str):
    def __eq__(self, other):
        interfere()
        return str.__eq__(self, other)

    def __hash__(self):
        interfere()
        return str.__hash__(self)

    def lower(self):
        interfere()
        return Text(str.lower(self))


class Number(int):
    def __del__(self):
        interfere()

    def __index__(self):
        interfere()
        return int(self)

    def __gt__(self, other):
        interfere()
        return int.__gt__(self, other)

    def __eq__(self, other):
        interfere()
        return int.__eq__(self, other)

    __hash__ = int.__hash__


class Colour(tuple):
    def __getitem__(self, index):
        interfere()
        return tuple.__getitem__(self, index)

    def __len__(self):
        interfere()
        return tuple.__len__(self)


def maybe(kind, value, chance=0.4):
    return kind(value) if rng.random() < chance else value


def one_call(number):
    text = maybe(Text, rng.choice(TEXTS) + str(number % 7))
    size = rng.choice([14, 20, 24])
    color = (maybe(Number, rng.randrange(256)), maybe(Number, 10), 30)
    color = maybe(Colour, color, 0.3)
    face = maybe(Text, rng.choice(["", "bold", "italic"]))
    if rng.random() < 0.3:
        vars(lumo_font)["MAX_TEXT_CACHE"] = Number(rng.choice([1, 2, 5]))
        vars(lumo_font)["MAX_GLYPH_CACHE"] = Number(rng.choice([1, 2, 5]))
    entry = rng.randrange(7)
    if entry == 0:
        font.render(text, size, color, face=face).get_at((0, 0))
    elif entry == 1:
        font.render(text, size, color, dynamic=True, face=face).get_at((0, 0))
    elif entry == 2:
        font.get_debug_info(text, face)
    elif entry == 3:
        font._split_runs(text, color, face)
    elif entry == 4:
        font._render_shaped_run(text, size, color, maybe(Text, DEJAVU), face)
    elif entry == 5:
        font._get_true_path(maybe(Text, "DejaVu Sans"), face)
    else:
        font._get_font_obj([maybe(Text, DEJAVU), maybe(Number, 0)], size, face)


def main():
    for number in range(int(sys.argv[2])):
        try:
            one_call(number)
        except Exception:
            pass
    print("survived")


if __name__ == "__main__":
    main()
