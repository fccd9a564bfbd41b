"""Colour emoji fonts with one damaged glyph (junk or impossible PNG images in
CBDT and sbix strikes, lengths and offsets that lead outside their tables, an
sbix 'dupe' naming itself, a broken outline under COLR layers): the line
holding it is drawn, the damaged emoji is left empty in its own advance, and
each font file is reported once."""
import os
import subprocess
import sys
import textwrap

import numpy as np
import pygame
import pytest

from lumo_font import LumoFont
from support import colour_fonts, fontgen
from support.colour_fonts import DAMAGED, INTACT
from support.sanitizers import skip_under_address_sanitizer

LINE = f"Hi {DAMAGED} {INTACT} there"
BROKEN_FILE = "FreeType error 3: broken file"
TOO_LARGE = "FreeType error 10: array allocation size too large"
EXPECTED_ERROR = {"colr-broken-outline": TOO_LARGE, "sbix-gigapixel-png": TOO_LARGE}


@pytest.fixture
def primary(tmp_path):
    return str(fontgen.build_font(tmp_path / "box.ttf", "Box Sans"))


def emoji_object(primary, emoji_path):
    return LumoFont(primary, primary, None, str(emoji_path))


def pixels(surface):
    return np.dstack([pygame.surfarray.array3d(surface), pygame.surfarray.array_alpha(surface)])


def differing_columns(first, second):
    return np.flatnonzero((pixels(first) != pixels(second)).any(axis=(1, 2)))


@pytest.mark.parametrize("damage", sorted(colour_fonts.DAMAGES))
def test_a_line_with_a_damaged_emoji_is_drawn_around_it(damage, primary, tmp_path, capsys):
    damaged_path = colour_fonts.build_damaged_font(tmp_path, damage)
    intact_path = colour_fonts.build_colour_font(tmp_path / "intact.ttf", colour_fonts.DAMAGES[damage])
    font, whole = emoji_object(primary, damaged_path), emoji_object(primary, intact_path)

    for size in (32, 20):
        measured = font.size(LINE, size)   # before render(): measured, not read from the text cache
        line, expected = font.render(LINE, size), whole.render(LINE, size)
        # The damaged emoji keeps its advance, so everything else stands where it would.
        assert measured == line.get_size() == expected.get_size()
        # Only the damaged emoji (both, when the whole strike is spoilt) are missing.
        columns = differing_columns(line, expected)
        reach = 2 * size + font.size(" ", size)[0] if damage in colour_fonts.WHOLE_STRIKE else size
        assert len(columns) and columns[-1] - columns[0] < reach
        assert pygame.surfarray.array_alpha(line)[columns].max() == 0
    block = font.render_block(LINE + "\n" + DAMAGED + LINE, 24)
    assert block.get_size() == whole.render_block(LINE + "\n" + DAMAGED + LINE, 24).get_size()
    assert font.size_block(LINE, 24) == whole.size_block(LINE, 24)

    printed = capsys.readouterr().out.splitlines()
    reason = EXPECTED_ERROR.get(damage, BROKEN_FILE)
    assert [text for text in printed if "Damaged glyphs" in text] == \
        [f"[WARNING] Damaged glyphs in {damaged_path}: drawn empty ({reason})"]


def test_the_intact_emoji_of_a_damaged_font_keep_their_colours(primary, tmp_path):
    font = emoji_object(primary, colour_fonts.build_damaged_font(tmp_path, "cbdt-junk-png"))
    drawn = pixels(font.render(f"{DAMAGED}{INTACT}", 32))
    opaque = drawn[drawn[..., 3] == 255][:, :3]
    assert len(opaque) == colour_fonts.PPEM ** 2 and (opaque == (40, 120, 250)).all()


def test_a_damaged_font_file_is_reported_once_per_object(primary, tmp_path, capsys):
    emoji = colour_fonts.build_damaged_font(tmp_path, "cbdt-wrong-length")
    font = emoji_object(primary, emoji)
    # Every size and face word has a FreeType face of its own, which meets the damage anew.
    for size in (16, 24, 40):
        for face in ("", "bold", "italic"):
            font.render(f"a{DAMAGED}b", size, face=face)
            font.size(f"{DAMAGED}{DAMAGED}", size, face=face)
    line = f"[WARNING] Damaged glyphs in {emoji}: drawn empty ({BROKEN_FILE})"
    assert capsys.readouterr().out.count(line) == 1

    emoji_object(primary, emoji).render(DAMAGED, 20)
    assert capsys.readouterr().out.count(line) == 1


MEMORY_CAP_SCRIPT = textwrap.dedent("""
    import os, resource, sys
    os.environ["SDL_VIDEODRIVER"] = "dummy"
    resource.setrlimit(resource.RLIMIT_AS, (2 << 30, 2 << 30))
    import pygame, lumo_font
    font = lumo_font.LumoFont(sys.argv[1], sys.argv[1], None, sys.argv[2])
    print("drawn", font.render("Hi \\U0001F600", 32).get_size())
""")


@skip_under_address_sanitizer
def test_an_image_header_claiming_gigapixels_is_damage_not_out_of_memory(primary, tmp_path):
    # FreeType would allocate the 3.6 GB bitmap the header claims; the engine's cap refuses it.
    emoji = colour_fonts.build_damaged_font(tmp_path, "sbix-gigapixel-png")
    child = subprocess.run([sys.executable, "-c", MEMORY_CAP_SCRIPT, primary, str(emoji)],
                           capture_output=True, text=True, timeout=120, env=dict(os.environ))
    assert child.returncode == 0, child.stderr[-2000:]
    assert f"[WARNING] Damaged glyphs in {emoji}: drawn empty ({TOO_LARGE})" in child.stdout
    assert "drawn (" in child.stdout
