"""Colour emoji drawn natively from a colour font (Noto Color Emoji's bitmap
strikes): at the line's size and on its baseline, in their own colours,
sequences (skin tones, families, flags, keycaps) as one glyph, and the older
engine kept for monochrome emoji fonts."""
import pathlib

import numpy as np
import pygame
import pytest

import lumo_font

COLOR_EMOJI = "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf"
SYMBOLA = "/usr/share/fonts/truetype/ancient-scripts/Symbola_hint.ttf"
LINE = "I ❤️ 😀 👍🏽 👨‍👩‍👧 🇯🇵 1️⃣"
SEQUENCES = ["👍🏽", "👨\u200d👩\u200d👧", "🇯🇵", "1️⃣", "❤️"]

pytestmark = pytest.mark.skipif(not pathlib.Path(COLOR_EMOJI).exists(), reason="Noto Color Emoji not installed")


@pytest.fixture
def font():
    return lumo_font.LumoFont("Noto Sans", "Noto Sans CJK SC", None, COLOR_EMOJI)


def ink_columns(surface):
    alpha = pygame.surfarray.array_alpha(surface)
    return np.flatnonzero(alpha.any(axis=1))


def ink_rows(surface):
    alpha = pygame.surfarray.array_alpha(surface)
    return np.flatnonzero(alpha.any(axis=0))


def colours(surface):
    pixels = pygame.surfarray.array3d(surface)[pygame.surfarray.array_alpha(surface) > 200]
    return pixels


@pytest.mark.parametrize("size", [12, 24, 32, 48, 96])
def test_emoji_fit_the_line_at_every_size(font, size):
    line = font.render(LINE, size)
    plain = font.render("I", size)
    assert line.get_height() == plain.get_height()
    # Nothing cut: the ink stays off the top and bottom rows.
    rows = ink_rows(line)
    assert rows[0] > 0 and rows[-1] < line.get_height() - 1
    for sequence in SEQUENCES:
        emoji = font.render(sequence, size)
        height = len(ink_rows(emoji))
        assert 0.8 * size <= height <= 1.25 * size, (sequence, height)


def test_emoji_are_in_colour_and_sequences_are_one_glyph(font):
    for sequence in SEQUENCES:
        runs = font._split_runs(sequence)
        assert [run[0] for run in runs] == [sequence]   # one run, shaped together
        drawn = font.render(sequence, 32, (255, 255, 255))
        assert len(ink_columns(drawn)) <= 1.6 * 32, sequence
    face = colours(font.render("😀", 32, (255, 255, 255)))
    assert ((face[:, 0] > 200) & (face[:, 1] > 150) & (face[:, 2] < 100)).sum() > 100   # yellow
    flag = colours(font.render("🇯🇵", 32, (255, 255, 255)))
    assert ((flag[:, 0] > 180) & (flag[:, 1] < 80) & (flag[:, 2] < 80)).sum() > 20      # red
    # Never tinted by the run's colour: the same pixels in any colour.
    assert pygame.image.tobytes(font.render("😀", 32, (255, 0, 0)), "RGBA") == \
        pygame.image.tobytes(font.render("😀", 32, (0, 0, 255)), "RGBA")


def test_a_colour_font_in_the_international_folder_draws_flags(tmp_path):
    (tmp_path / "NotoColorEmoji.ttf").symlink_to(COLOR_EMOJI)
    font = lumo_font.LumoFont("Noto Sans", "Noto Sans CJK SC", str(tmp_path), None)
    flag = font.render("🇯🇵", 32)
    assert flag.get_width() > 20 and len(colours(flag)) > 100


def test_emoji_placement_follows_the_emoji_settings(font):
    lifted = ink_rows(font.render("😀", 48))[0]
    lumo_font.EMOJI_OFFSET_Y = 0.0
    on_baseline = ink_rows(font.render("😀", 48))[0]
    assert on_baseline - lifted == int(48 * 0.15)
    lumo_font.SMOOTH_FONT = False
    hung = font.render("😀", 48)
    assert ink_rows(hung)[0] >= 0 and ink_rows(hung)[-1] < hung.get_height() - 1


def test_the_debug_report_names_the_path_that_draws_an_emoji(font):
    records = {record["char"]: record for record in font.get_debug_info("a😀1️⃣")}
    assert records["😀"]["render_path"] == "COLOR" and records["1"]["font_source"] == "EMOJI"
    legacy = lumo_font.LumoFont("Noto Sans", "Noto Sans CJK SC", None, SYMBOLA)
    assert legacy.get_debug_info("😀")[0]["render_path"] == "LEGACY"


def test_a_monochrome_emoji_font_keeps_the_older_engine():
    font = lumo_font.LumoFont("Noto Sans", "Noto Sans CJK SC", None, SYMBOLA)
    drawn = font.render("😀", 32, (255, 0, 0))
    inked = colours(drawn)
    assert len(inked) and (inked == 255).all()   # white, as pygame's engine draws it
    assert 32 in font.emoji_fallback_engine
