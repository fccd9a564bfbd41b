"""Symbols that Unicode draws as text by default ("©", "®", "™", "♥", "♠")
are drawn by the text fonts when one covers them, even with a colour emoji
font; U+FE0F after them asks for the emoji, U+FE0E after any emoji asks for
text. A monochrome emoji font draws every emoji it covers, as it always has."""
import pathlib
import subprocess
import sys

import pytest

import lumo_font
from lumo_font import LumoFont

COLOR_EMOJI = "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf"
SYMBOLA = "/usr/share/fonts/truetype/ancient-scripts/Symbola_hint.ttf"
EMOJI_DATA = pathlib.Path("/usr/share/unicode/emoji/emoji-data.txt")
ROOT = pathlib.Path(__file__).resolve().parent.parent


def font_with(emoji_font):
    if not pathlib.Path(emoji_font).exists():
        pytest.skip(f"{emoji_font} not installed")
    font = LumoFont("DejaVu Sans", "DejaVu Sans", None, emoji_font)
    font.size("", 20)
    if not isinstance(font._get_true_path("DejaVu Sans", ""), list):
        pytest.skip("DejaVu Sans not installed")
    return font


def drawn_by(font, text):
    """The file each character of `text` is drawn with, as the debug report names it."""
    return [record["font"] for record in font.get_debug_info(text)]


@pytest.mark.parametrize("text, expected", [
    ("©", "DejaVuSans.ttf"), ("®", "DejaVuSans.ttf"), ("™", "DejaVuSans.ttf"), ("♥", "DejaVuSans.ttf"),
    ("♠", "DejaVuSans.ttf"), ("©\uFE0E", "DejaVuSans.ttf"),
    ("©\uFE0F", "NotoColorEmoji.ttf"), ("♥\uFE0F", "NotoColorEmoji.ttf"),
    ("😀", "NotoColorEmoji.ttf"), ("⌚", "NotoColorEmoji.ttf"),
    ("☝🏻", "NotoColorEmoji.ttf"), ("❤\uFE0F\u200D🔥", "NotoColorEmoji.ttf"), ("🇯🇵", "NotoColorEmoji.ttf"),
    ("1\uFE0F\u20E3", "NotoColorEmoji.ttf"),
])
def test_colour_emoji_font_draws_by_unicode_presentation(text, expected):
    font = font_with(COLOR_EMOJI)
    assert drawn_by(font, text)[0] == expected
    # The line is drawn with the font the report names.
    run_font = font._split_runs(text)[0][1]
    assert (run_font[0] if isinstance(run_font, list) else run_font).endswith(expected)


@pytest.mark.parametrize("emoji", ["😀", "⌚", "🚀", "🦄", "☕"])
def test_text_presentation_takes_a_text_font_when_one_has_the_emoji(emoji):
    font = font_with(COLOR_EMOJI)
    text_font_has_it = font._has_glyph(font._get_true_path("DejaVu Sans", ""), ord(emoji))
    # Asked for text, a text font draws it; where none has it, the emoji is better than a box.
    assert drawn_by(font, emoji + "\uFE0E")[0] == ("DejaVuSans.ttf" if text_font_has_it else "NotoColorEmoji.ttf")
    assert drawn_by(font, emoji)[0] == "NotoColorEmoji.ttf"


def test_copyright_line_is_drawn_in_the_text_colour():
    font = font_with(COLOR_EMOJI)
    line = font.render("© 2026", 32, (200, 30, 30))
    inked = {tuple(line.get_at((x, y)))[:3] for x in range(line.get_width())
             for y in range(line.get_height()) if line.get_at((x, y)).a == 255}
    assert inked == {(200, 30, 30)}


@pytest.mark.parametrize("text", ["©", "♥", "♠"])
def test_monochrome_emoji_font_keeps_drawing_every_emoji_it_covers(text):
    font = font_with(SYMBOLA)
    assert drawn_by(font, text)[0] == "Symbola_hint.ttf"
    assert drawn_by(font, text + "\uFE0E")[0] == "Symbola_hint.ttf"
    assert font._find_best_font_path(text, "") == SYMBOLA


def test_the_presentation_table_is_unicodes():
    if not EMOJI_DATA.exists():
        pytest.skip("Unicode's emoji-data.txt not installed (Debian package unicode-data)")
    generated = subprocess.run([sys.executable, "-c", (
        "import importlib.util, sys; spec = importlib.util.spec_from_file_location('g', sys.argv[1]);"
        "g = importlib.util.module_from_spec(spec); spec.loader.exec_module(g);"
        "print(g.presentation_ranges(open(sys.argv[2], encoding='utf-8').read()))"),
        str(ROOT / "scripts" / "generate_emoji_presentation.py"), str(EMOJI_DATA)],
        capture_output=True, text=True, check=True).stdout
    committed = (ROOT / "src" / "font" / "emoji_presentation.inc").read_text(encoding="utf-8")
    ranges = eval(generated)
    assert committed.count("{0x") == len(ranges)
    for first, last in ranges:
        assert f"{{0x{first:04X}, 0x{last:04X}}}" in committed


def test_an_object_that_reported_emoji_still_pickles():
    import pickle
    font_with(COLOR_EMOJI)  # skips where the fonts are missing
    font = LumoFont("DejaVu Sans", "DejaVu Sans", None, COLOR_EMOJI)  # it has only reported
    assert drawn_by(font, "© 😀 ♥\uFE0F")[:3] == ["DejaVuSans.ttf", "DejaVuSans.ttf", "NotoColorEmoji.ttf"]
    font._find_best_font_path("®", "")
    copy = pickle.loads(pickle.dumps(font))
    assert drawn_by(copy, "© 😀") == drawn_by(font, "© 😀")
