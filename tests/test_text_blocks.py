"""Measuring and multi-line text: size() is render()'s surface size without
drawing; text blocks break paragraphs at Unicode line break opportunities,
carry markup across lines, align and stack them, and keep all their ink."""
import copy
import random

import numpy as np
import pygame
import pytest

from test_render_crosscheck import SIZE, alpha, font, locate, new_font, script_dir  # noqa: F401  (fixtures)

PIECES = ["Hello", "world", "مرحبا", "بكم", "שלום", "עולם", "नमस्ते", "สวัสดี", "123", "4.5", "(ok)", "😀",
          "^1red", "^2blue^r", "<bold={strong}>", "<italic={slanted words}>", "Ấ", "gjpqy", "—", "…", "你好"]


def assorted_lines(count, seed=7):
    rng = random.Random(seed)
    return [" ".join(rng.choice(PIECES) for _ in range(rng.randint(1, 7))) for _ in range(count)]


def test_size_is_the_size_render_returns(font):
    lines = assorted_lines(200) + ["", " ", "^1", "<bold={}>", "\u200d", "a\u0301"]
    for size in (SIZE, 13):
        for line in lines:
            assert font.size(line, size) == font.render(line, size).get_size(), line
    assert font.size("Hello", SIZE, "bold") == font.render("Hello", SIZE, face="bold").get_size()
    # A cached line answers with the surface the cache holds.
    drawn = font.render("cached line", SIZE, (1, 2, 3))
    assert font.size("cached line", SIZE) == font.render("cached line", SIZE).get_size() == drawn.get_size()


def test_line_metrics_are_the_ones_lines_are_drawn_with(font):
    ascent, height, _ = font._get_metrics(SIZE, "regular")
    assert font.get_linesize(SIZE) == int(height)
    assert font.get_ascent(SIZE) == int(ascent + 0.5)
    assert font.get_descent(SIZE) < 0
    assert font.get_ascent(SIZE) - font.get_descent(SIZE) == font.get_linesize(SIZE)
    assert font.get_linesize(size=SIZE, face="bold") == int(font._get_metrics(SIZE, "bold")[1])
    with pytest.raises(TypeError):
        font.get_linesize("24")


def paragraph_words(paragraph):
    return [word for word in paragraph.split(" ") if word]


@pytest.mark.parametrize("paragraph", [
    "The quick brown fox jumps over the lazy dog while the cat watches from the window sill.",
    "שלום עולם, זה טקסט ארוך בעברית עם 123 מספרים ועוד מילים כדי לעבור שורה.",
    "مرحبا بكم في هذا النص الطويل الذي يجب أن ينقسم إلى عدة أسطر قصيرة.",
    "Mixed ^1colour words <bold={and bold words}> with 😀 emoji and नमस्ते दुनिया text.",
])
@pytest.mark.parametrize("wraplength", [90, 160, 300])
def test_wrapped_lines_fit_and_give_back_the_paragraph(font, paragraph, wraplength):
    lines = font._block_lines(paragraph, SIZE, wraplength=wraplength, direction="auto")
    assert "".join(shown for shown, _, _ in lines) == paragraph.replace("^1", "").replace("<bold={", "").replace("}>", "")
    for shown, drawn, _ in lines:
        if len(paragraph_words(shown)) > 1:
            assert font.size(drawn, SIZE)[0] <= wraplength, drawn
    assert len(lines) > 1


@pytest.mark.parametrize("wraplength", range(60, 240, 7))
def test_each_wrapped_line_is_as_long_as_it_can_be(font, wraplength):
    # No-break spaces and spaces before zero-width spaces draw with the spaces
    # after them: a line ending there is measured with them, not beside them.
    words = ["ab", "x\u00a0", "cde\u200b", "\u200b", "fghij", "k\u00a0l", "mn", "o"]
    paragraph = " ".join(words[(i * 5) % len(words)] + " " * (i % 3) for i in range(40))
    lines = font._block_lines(paragraph, SIZE, wraplength=wraplength)
    for (shown, drawn, _), (next_shown, _, _) in zip(lines, lines[1:]):
        next_unit = font._block_lines(next_shown, SIZE, wraplength=1)[0][0]  # up to its first break
        longer = (shown + next_unit).rstrip(" ")
        assert font.size(longer, SIZE)[0] > wraplength, (shown, next_shown)


def test_newlines_separate_paragraphs_and_markup_carries_across_lines(font):
    lines = font._block_lines("one\r\ntwo\n\nthree ^1four five six seven", SIZE, wraplength=110)
    shown = [line[0] for line in lines]
    assert shown[:3] == ["one", "two", ""]
    assert "".join(shown[3:]) == "three four five six seven"
    assert all(drawn.startswith("^1") for _, drawn, _ in lines[4:])


def ink_rows(surface):
    return np.flatnonzero(alpha(surface).any(axis=0))


def right_ink_edges(surface, line_count, step):
    mask = alpha(surface) > 0
    edges = []
    for line in range(line_count):
        band = mask[:, line * step:(line + 1) * step]
        edges.append(int(np.flatnonzero(band.any(axis=1))[-1]))
    return edges


def test_right_aligned_lines_end_together_and_centred_ones_share_a_middle(font):
    text = "aaaa bbbbbbbbbb cc dddddd eeeeeeeee f gggg"
    lines = font._block_lines(text, SIZE, wraplength=200)
    step = font.get_linesize(SIZE)
    right = font.render_block(text, SIZE, wraplength=200, align="right")
    assert right.get_width() == 200
    # Each line ends where its own surface ends: its ink edge plus the room
    # its last glyph leaves after its ink (as render() draws the line alone).
    ends = []
    for edge, (_, drawn, _) in zip(right_ink_edges(right, len(lines), step), lines):
        alone = font.render(drawn, SIZE)
        ends.append(edge + alone.get_width() - 1 - int(np.flatnonzero(alpha(alone).any(axis=1))[-1]))
    assert max(ends) - min(ends) <= 1 and max(ends) == 199, ends
    left = font.render_block(text, SIZE, wraplength=200, align="left")
    assert left.get_width() < 200 and left.get_height() == right.get_height()
    assert left.get_size() == font.size_block(text, SIZE, wraplength=200, align="left")


def test_auto_direction_puts_a_hebrew_paragraphs_first_word_at_the_right(font):
    text = "שלום abc"
    block = font.render_block(text, SIZE, direction="auto")
    # Read right to left, the Hebrew word comes first and stands at the right:
    # the same picture as the two words typed the other way round, left to right.
    rows = block.get_height()
    reference = alpha(font.render("abc שלום", SIZE))[:, :rows]
    hebrew = alpha(font.render("שלום", SIZE))[:, :rows]
    at = locate(alpha(block), hebrew)
    assert at == locate(reference, hebrew)
    ltr = font.render_block(text, SIZE)
    assert locate(alpha(ltr), hebrew) < at - 40  # left to right: the Hebrew word first, at the left


def test_stacked_marks_and_descenders_keep_all_their_ink(new_font):
    dejavu = new_font("DejaVu Sans", "DejaVu Sans")
    reference = pygame.freetype.Font("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", SIZE)
    for text in ("Ấ", "gjpqy", "Ấ\nÉ\ngjpqy"):
        block = dejavu.render_block(text, SIZE)
        rows = ink_rows(block)
        assert rows[0] >= 0 and rows[-1] < block.get_height()
        # No row of ink is cut: the glyphs stand whole between the block's edges.
        first = text.split("\n")[0]
        assert rows[-1] - rows[0] + 1 >= reference.get_rect(first).height
    top = dejavu.render_block("Ấ", SIZE)
    assert ink_rows(top)[0] <= 1  # tight at the top: the accent's ink starts the block


def test_colours_are_read_as_pygame_reads_them(font):
    plain = font.render_block("Colour", SIZE, (255, 215, 0))
    for colour in ("gold", "#ffd700", "#FFD700FF", pygame.Color(255, 215, 0), [255, 215, 0], (255, 215, 0, 255)):
        assert pygame.image.tobytes(font.render_block("Colour", SIZE, colour), "RGBA") == \
            pygame.image.tobytes(plain, "RGBA"), colour
    faint = font.render_block("Colour", SIZE, (255, 215, 0, 64))
    assert alpha(faint).max() == 64
    framed = font.render_block("Colour", SIZE, "white", background="navy")
    assert tuple(framed.get_at((0, 0))) == (0, 0, 128, 255)
    with pytest.raises(ValueError):
        font.render_block("x", SIZE, "no such colour")


def test_block_arguments_are_checked(font):
    with pytest.raises(ValueError, match="align must be"):
        font.render_block("x", SIZE, align="middle")
    with pytest.raises(ValueError, match="direction must be"):
        font.render_block("x", SIZE, direction="up")
    with pytest.raises(ValueError, match="line_spacing"):
        font.render_block("x", SIZE, line_spacing=0)
    with pytest.raises(TypeError, match="wraplength"):
        font.render_block("x", SIZE, wraplength="100")
    with pytest.raises(TypeError, match="at most 4 positional"):
        font.render_block("x", SIZE, (1, 2, 3), "", 100)
    with pytest.raises(TypeError):
        font.render_block(None, SIZE)


def test_blocks_are_cached_and_spacing_steps_the_lines(font):
    first = font.render_block("one\ntwo", SIZE, line_spacing=1.5)
    assert font.render_block("one\ntwo", SIZE, line_spacing=1.5) is first
    tight = font.render_block("one\ntwo", SIZE)
    line = font.get_linesize(SIZE)
    assert first.get_height() - tight.get_height() == int(1.5 * line + 0.5) - line
    empty = font.render_block("", SIZE)
    assert empty.get_size() == (1, font.get_linesize(SIZE))
    # The cache keeps the most recent blocks only, and is not part of a copy.
    for i in range(64):
        font.render_block(f"block {i}", SIZE)
    assert font.render_block("one\ntwo", SIZE, line_spacing=1.5) is not first
    assert font.render_block("block 63", SIZE) is font.render_block("block 63", SIZE)
    twin = copy.copy(font)
    assert pygame.image.tobytes(twin.render_block("block 63", SIZE), "RGBA") == \
        pygame.image.tobytes(font.render_block("block 63", SIZE), "RGBA")


@pytest.mark.parametrize("text", [
    # The comma's run starts inside the slanted word's ink: painted aside, then blended.
    "Hello 😀 Hello\n<italic={slanted}>, <italic={slanted}>,\nplain 😀 end",
    "😀 first\nsecond 😀\n<italic={d}>, <italic={f}>; <italic={slanted}>,",
])
def test_each_line_of_a_block_is_the_line_render_draws(font, text):
    """Drawing a line touches its own rows only: every line of the block,
    transparent pixels included, is byte for byte the line drawn alone."""
    spacing = 2.0  # lines far enough apart that their surfaces do not overlap
    block = font.render_block(text, SIZE, line_spacing=spacing)
    step = font.get_linesize(SIZE) * spacing
    for index, line in enumerate(text.split("\n")):
        alone = font.render(line, SIZE)
        top = int(index * step + 0.5)
        rows = min(alone.get_height(), block.get_height() - top)
        drawn = block.subsurface((0, top, alone.get_width(), rows))
        assert pygame.image.tobytes(drawn, "RGBA") == \
            pygame.image.tobytes(alone.subsurface((0, 0, alone.get_width(), rows)), "RGBA"), line


@pytest.mark.parametrize("text", ["^1gjpqy gjpqy\n^4TTQ HHH\n^2gjy bdk", "^3fjord ygg\n^6EEB Wjj\n^2Jylp"])
def test_lines_that_overlap_are_blended_over_each_other(font, text):
    from lumo_font import _native
    # Lines closer than their ink: a line's capitals over the descenders of
    # the line above are blended as pygame blends one surface over another,
    # never written in place of them.
    drawn = []
    for native in (True, False):
        _native._set_native_composition(native)
        try:
            drawn.append(pygame.image.tobytes(font.render_block(text, SIZE, line_spacing=0.55), "RGBA"))
        finally:
            _native._set_native_composition(True)
        font = copy.copy(font)  # a fresh block cache
    assert drawn[0] == drawn[1]
