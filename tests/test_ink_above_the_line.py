"""Marks that rise above the line (stacked Tibetan vowels, the small alef over
a shadda, accents over capitals): render() keeps them on its surface of the
usual size by drawing such a line lower, as far as the room under its ink
allows; a line whose ink fits is drawn where it always was."""
from pathlib import Path

import numpy as np
import pygame
import pytest

import lumo_font
from lumo_font import LumoFont

NOTO = Path("/usr/share/fonts/truetype/noto")
SYMBOLA = "/usr/share/fonts/truetype/ancient-scripts/Symbola_hint.ttf"
COLOR_EMOJI = NOTO / "NotoColorEmoji.ttf"
TIBETAN_STACK = "ཀྵྐྵྒྷ"  # taller than a line: cut at the bottom whatever is done


def readme_font():
    """The README's quick-start set-up."""
    return LumoFont("Noto Sans", "Noto Sans CJK SC", lumo_font.script_font_folder(), str(COLOR_EMOJI))


def corpus_font():
    return LumoFont("Noto Sans", "DejaVu Sans", str(NOTO), SYMBOLA)


def dejavu_font():
    return LumoFont("DejaVu Sans", "DejaVu Sans", None, None)


def require_family(font, *families):
    font.size("", 20)
    for family in families:
        if not isinstance(font._get_true_path(family, ""), list):
            pytest.skip(f"font family {family!r} not installed")


def ink_rows(surface):
    alpha = pygame.surfarray.array_alpha(surface)
    rows = np.flatnonzero(alpha.any(axis=0))
    return rows[0], rows[-1]


def cropped_alpha(surface):
    alpha = pygame.surfarray.array_alpha(surface)
    xs, ys = np.flatnonzero(alpha.any(axis=1)), np.flatnonzero(alpha.any(axis=0))
    return alpha[xs[0]:xs[-1] + 1, ys[0]:ys[-1] + 1]


@pytest.mark.parametrize("make_font, families, text, size", [
    (readme_font, ("Noto Sans", "Noto Sans CJK SC"), "بِسْمِ ٱللَّٰهِ", 40),
    (dejavu_font, ("DejaVu Sans",), "Ấ", 24),
    (dejavu_font, ("DejaVu Sans",), "Ấ Ầ Ẫ and more", 24),
    (corpus_font, ("Noto Sans", "DejaVu Sans"), "Tibetan ལྷ་ས Khmer ខ្មែរ", 24),
], ids=["arabic-alef-above-shadda", "capital-with-two-accents", "accents-in-a-line", "tibetan-in-a-line"])
def test_render_keeps_every_mark_above_the_line(make_font, families, text, size):
    font = make_font()
    require_family(font, *families)
    line = font.render(text, size, (230, 120, 40))
    # The surface keeps the size of every line: 1.5 line heights.
    assert line.get_height() == int(font.get_linesize(size) * 1.5)
    assert font.size(text, size) == line.get_size()
    # All the ink a text block draws for the line, which has room for it.
    block = font.render_block(text, size, (230, 120, 40))
    assert np.array_equal(cropped_alpha(line), cropped_alpha(block))
    top, bottom = ink_rows(line)
    assert top == 0 and bottom < line.get_height() - 1


def test_a_line_is_lowered_no_further_than_the_room_below_its_ink():
    font = readme_font()
    require_family(font, "Noto Sans", "Noto Sans CJK SC")
    size = 40
    stack = font.render(TIBETAN_STACK, size)
    # The stack fits above and reaches the bottom row: it is drawn where it always was.
    assert ink_rows(stack)[1] == stack.get_height() - 1
    # Beside it, the small alef over the shadda would need the line lower, but
    # nothing below the stack is free: the line stays where it was, and the
    # stack is drawn in the same rows as on its own.
    both = pygame.surfarray.array_alpha(font.render(TIBETAN_STACK + " بِسْمِ ٱللَّٰهِ", size))
    alone = pygame.surfarray.array_alpha(stack)
    assert np.array_equal(both[:alone.shape[0]], alone)
    assert ink_rows(font.render("بِسْمِ ٱللَّٰهِ", size))[0] == 0
