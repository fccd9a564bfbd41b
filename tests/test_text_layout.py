"""layout_block(): a block laid out once, drawn exactly as render_block() draws
it, and asked where its carets, clicks and selections fall, in every script:
grapheme clusters as single steps, right-to-left and mixed lines, ligatures,
markup that takes no room, and lines of a wrapped block."""
import gc
import inspect
import math
from pathlib import Path

import numpy as np
import pygame
import pytest
from hypothesis import HealthCheck, given, settings
from hypothesis import strategies as st

from lumo_font import LayoutLine, LumoFont, TextLayout
from test_render_crosscheck import script_dir  # noqa: F401  (fixture)

NOTO = Path("/usr/share/fonts/truetype/noto")
NOTO_SANS = NOTO / "NotoSans-Regular.ttf"
COLOR_EMOJI = str(NOTO / "NotoColorEmoji.ttf") if (NOTO / "NotoColorEmoji.ttf").exists() else None
SIZE = 24
# Function-scoped fixtures under hypothesis: the font is made once per test and only read.
PROPERTIES = settings(max_examples=60, deadline=None, suppress_health_check=[HealthCheck.function_scoped_fixture])


@pytest.fixture
def layout_font(script_dir):
    """Noto Sans for Latin, digits and spaces, the Noto script fonts for the rest, colour emoji."""
    if not NOTO_SANS.exists():
        pytest.skip("Noto Sans is not installed")
    return LumoFont(str(NOTO_SANS), str(NOTO_SANS), str(script_dir), COLOR_EMOJI)


def caret_stops(layout):
    """Every caret index, found by stepping with next_caret() from 0."""
    stops = [0]
    while True:
        following = layout.next_caret(stops[-1])
        if following == stops[-1]:
            return stops
        stops.append(following)


def pixels(surface):
    return pygame.image.tobytes(surface, "RGBA")


def ink(surface):
    """(x, y) of every pixel with some alpha."""
    alpha = pygame.surfarray.array_alpha(surface)
    return np.argwhere(alpha > 0)


# The block as render_block() draws it.

BLOCKS = [
    pytest.param("Hello ^3world^0 and <bold={bold words}>", {}, id="markup"),
    pytest.param("Once upon a time ^2a dragon^0 slept.\nשלום לכולם! 123 😀\n\n你好世界", dict(
        wraplength=170, direction="auto", align="center", line_spacing=1.3), id="wrapped-mixed"),
    pytest.param("Plain ^1text <bold={as typed}>", dict(markup=False), id="markup-off"),
    pytest.param("translucent on a backdrop", dict(color=(200, 100, 50, 128), background="#102030"), id="colours"),
    pytest.param("مرحبا بكم في هذا النص", dict(direction="rtl", align="right", wraplength=120), id="rtl"),
    pytest.param("", {}, id="empty"),
    pytest.param("office 1111", dict(features="-liga,+tnum", language="nl"), id="typography"),
    pytest.param("Framed\nwords", dict(outline=2.5, shadow=(3, -2), shadow_blur=2, underline=True), id="effects"),
]


@pytest.mark.parametrize("text, options", BLOCKS)
def test_the_layout_is_the_block_render_block_draws(layout_font, text, options):
    layout = layout_font.layout_block(text, SIZE, **options)
    assert isinstance(layout, TextLayout)
    assert layout.size == layout_font.size_block(text, SIZE, **options)
    surface = layout.surface()
    assert surface is layout.surface()
    assert surface.get_size() == layout.size
    assert pixels(surface) == pixels(layout_font.render_block(text, SIZE, **options))


def test_carets_stand_where_effects_move_the_text(layout_font):
    plain = layout_font.layout_block("Hi there", SIZE)
    framed = layout_font.layout_block("Hi there", SIZE, outline=3, shadow=(-4, 2))
    # The outline moves the text by 3 on every side, the shadow up and left by 4 more across.
    for index in range(len("Hi there") + 1):
        assert framed.caret(index).topleft == plain.caret(index).move(7, 3).topleft
    assert framed.index_at(framed.caret(5).center) == 5


def test_it_takes_the_arguments_of_the_block_calls(layout_font):
    assert inspect.signature(LumoFont.layout_block).parameters == inspect.signature(LumoFont.render_block).parameters
    with pytest.raises(TypeError):
        layout_font.layout_block("x", SIZE, "white", "", 100)  # wraplength is keyword-only
    with pytest.raises(ValueError):
        layout_font.layout_block("x", 0)
    with pytest.raises(TypeError):
        TextLayout()


def test_a_layout_outlives_its_font(script_dir):
    font = LumoFont(str(NOTO_SANS), str(NOTO_SANS), str(script_dir), COLOR_EMOJI)
    text = "kept 😀 שלום"
    layout = font.layout_block(text, SIZE)
    expected = pixels(font.render_block(text, SIZE))
    del font
    gc.collect()
    assert pixels(layout.surface()) == expected
    assert layout.index_at(layout.caret(2).center) == 2


def test_draw_puts_the_block_at_its_anchor(layout_font):
    layout = layout_font.layout_block("Hello שלום", SIZE)
    screen = pygame.Surface((400, 200))
    placed = layout.draw(screen, (200, 100), anchor="center")
    assert placed.size == layout.size and placed.center == (200, 100)
    drawn = ink(layout.surface()) + placed.topleft
    assert all(screen.get_at(tuple(point))[:3] != (0, 0, 0) for point in drawn[::7])
    assert layout.draw(screen, (5, 6)).topleft == (5, 6)
    with pytest.raises(ValueError, match="anchor"):
        layout.draw(screen, (0, 0), anchor="middle")


def test_lines_give_their_text_rectangle_baseline_and_direction(layout_font):
    text = "The quick brown fox jumps over\nthe lazy dog.\n\nשלום עולם ועוד מילים"
    layout = layout_font.layout_block(text, SIZE, wraplength=160, direction="auto")
    lines = layout.lines
    assert all(isinstance(line, LayoutLine) for line in lines)
    shown = [visible for visible, _, _ in layout_font._block_lines(text, SIZE, wraplength=160, direction="auto")]
    assert [text[line.start:line.end] for line in lines] == shown
    assert lines[0].start == 0 and lines[-1].end == len(text)
    step = layout_font.get_linesize(SIZE)
    assert [line.rect.y for line in lines] == [step * number for number in range(len(lines))]
    assert all(line.baseline == line.rect.y + layout_font.get_ascent(SIZE) for line in lines)
    assert [line.direction for line in lines][-2:] == ["rtl", "rtl"] and lines[0].direction == "ltr"
    assert lines[-1].rect.right == layout.size[0]  # a right-to-left paragraph starts at the right
    for number, line in enumerate(lines):
        assert layout.line_of(line.start) == number
        assert layout.caret(line.start).y == line.rect.y


@pytest.mark.parametrize("call", [
    lambda layout: layout.caret(-1), lambda layout: layout.caret(6), lambda layout: layout.next_caret(99),
    lambda layout: layout.selection_rects(0, 7), lambda layout: layout.word_at(-2),
])
def test_indices_outside_the_text_are_refused(layout_font, call):
    with pytest.raises(IndexError, match="outside the text"):
        call(layout_font.layout_block("hello", SIZE))


def test_points_must_be_pairs_of_numbers(layout_font):
    layout = layout_font.layout_block("hello", SIZE)
    assert layout.index_at(pygame.Vector2(100, 5)) == layout.index_at([100, 5]) == 5
    for bad in ["ab", (1,), (1, 2, 3), ("x", 1)]:
        with pytest.raises(TypeError):
            layout.index_at(bad)
    with pytest.raises(ValueError):
        layout.index_at((math.nan, 0))


# Grapheme clusters, markup and ligatures.

@pytest.mark.parametrize("cluster", ["क्षि", "👨\u200d👩\u200d👧", "🇯🇵", "e\u0301", "👍🏽", "ที่"])
def test_a_grapheme_cluster_is_one_step_and_one_place(layout_font, cluster):
    text = f"a{cluster}b"
    layout = layout_font.layout_block(text, SIZE, markup=False)
    after = 1 + len(cluster)
    assert caret_stops(layout) == [0, 1, after, after + 1]
    assert layout.prev_caret(after) == 1
    inside = range(2, after)
    assert all(layout.caret(index) == layout.caret(1) for index in inside)
    width = layout.caret(after).x - layout.caret(1).x
    assert all(layout.index_at((layout.caret(1).x + dx, 10)) in (1, after) for dx in range(width))


def test_a_ligature_is_shared_evenly_by_its_letters(layout_font):
    layout = layout_font.layout_block("office", SIZE)  # "ffi" is one glyph in Noto Sans
    xs = [layout.caret(index).x for index in range(2, 5)]
    assert xs[1] - xs[0] == pytest.approx(xs[2] - xs[1], abs=1)
    assert caret_stops(layout) == list(range(7))


def test_tags_take_no_room(layout_font):
    text = "a^1b<bold={c}>d"
    layout = layout_font.layout_block(text, SIZE)
    assert caret_stops(layout) == [0, 1, 4, 12, 15]
    for tag_start, tag_end in [(1, 3), (4, 11), (12, 14)]:
        assert {layout.caret(index).x for index in range(tag_start, tag_end + 1)} == {layout.caret(tag_start).x}
    assert len(layout.selection_rects(0, len(text))) == 1
    plain = layout_font.layout_block(text, SIZE, markup=False)
    assert caret_stops(plain) == list(range(len(text) + 1))


def test_a_right_to_left_paragraph_starts_its_carets_at_the_right(layout_font):
    layout = layout_font.layout_block("שלום עולם", SIZE, direction="rtl")
    xs = [layout.caret(index).x for index in caret_stops(layout)]
    assert abs(xs[0] - layout.size[0]) <= 1 and xs == sorted(xs, reverse=True)
    assert layout.index_at((layout.size[0] + 50, 10)) == 0
    assert layout.index_at((-50, 10)) == len("שלום עולם")


def test_mixed_directions_have_a_strong_and_a_weak_caret(layout_font):
    layout = layout_font.layout_block("abc אבג", SIZE)
    after_space, end = 4, 7
    # After the space: Latin typed there goes on after it, Hebrew at the far right, before "א".
    assert layout.caret(3).x < layout.caret(after_space).x < layout.size[0] // 2 + 10
    assert layout.caret(after_space, other=True).x >= layout.size[0] - 1
    # At the end, after the Hebrew typed last: left of "ג", next to the space; Latin would go at the far right.
    assert layout.caret(end).x == layout.caret(after_space).x
    assert layout.caret(end, other=True).x >= layout.size[0] - 1
    assert layout.caret(2, other=True) == layout.caret(2)
    rects = layout.selection_rects(2, 6)  # "c", the space, two of the Hebrew letters
    assert len(rects) == 2


def test_visual_motion_walks_every_caret_left_to_right(layout_font):
    text = "Hello שלום 123 עולם world"
    layout = layout_font.layout_block(text, SIZE)
    index = layout.index_at((-10, 10))
    walked = [index]
    while (index := layout.move_visually(index, 1)) != walked[-1]:
        walked.append(index)
    assert sorted(walked) == caret_stops(layout)
    xs = [layout.caret(index).x for index in walked]
    assert xs == sorted(xs)
    assert layout.move_visually(walked[-1], -len(walked)) == walked[0]


def test_up_and_down_keep_the_column(layout_font):
    text = "one two three four five six seven eight nine ten"
    layout = layout_font.layout_block(text, SIZE, wraplength=120)
    assert len(layout.lines) >= 3
    start = layout.lines[1].start + 3
    x = layout.caret(start).x
    down = layout.move_vertically(start, 1)
    assert layout.line_of(down) == 2 and abs(layout.caret(down).x - x) <= 12
    assert layout.move_vertically(down, -1, x) == start
    assert layout.move_vertically(start, -5) == 0 and layout.move_vertically(start, 5) == len(text)


def test_long_motions_stop_at_the_text_ends_at_once(layout_font):
    text = ("word " * 4000).strip()
    layout = layout_font.layout_block(text, SIZE, markup=False)
    assert layout.move_visually(0, 10**15) == len(text)
    assert layout.move_visually(len(text), -(10**15)) == 0
    assert layout.move_visually(0, 7) == 7
    assert layout.move_vertically(5, 10**15) == len(text) and layout.move_vertically(5, -(10**15)) == 0
    with pytest.raises(TypeError):
        layout.move_visually(0, 10**30)


@pytest.mark.parametrize("text, index, word", [
    ("hello, big world", 2, "hello"), ("hello, big world", 5, "hello"), ("hello, big world", 7, "big"),
    ("hello, big world", 16, "world"), ("pay 3.50 now", 5, "3.50"), ("שלום עולם", 6, "עולם"),
    ("go 😀 now", 3, "😀"), ("a  b", 2, "  "),
])
def test_word_at_takes_the_word_a_double_click_means(layout_font, text, index, word):
    start, end = layout_font.layout_block(text, SIZE, markup=False).word_at(index)
    assert text[start:end] == word


@pytest.mark.parametrize("text", ["hello  ", "hi you  ", "<bold={hi} you  ", "שלום עולם  "])
def test_trailing_spaces_take_room_for_the_caret(layout_font, text):
    # Spaces a line ends with are not drawn, but a caret after them stands a space further on each time.
    space = layout_font.layout_block("a b", SIZE)
    space_width = space.caret(2).x - space.caret(1).x
    layout = layout_font.layout_block(text, SIZE, direction="auto")
    end = len(text)
    xs = [layout.caret(index).x for index in (end - 2, end - 1, end)]
    step = -1 if layout.lines[0].direction == "rtl" else 1
    assert [step * (b - a) for a, b in zip(xs, xs[1:])] == pytest.approx([space_width] * 2, abs=1)
    assert layout.index_at((xs[1] + step, 10)) == end - 1


# Properties.

LATIN_WORDS = st.text("abcdefghiklmnopqrstuvwxyzABCDEFGHIKLMNOPQRSTUVWXYZ", min_size=1, max_size=8)
HEBREW_WORDS = st.text("אבגדהוזחטיכלמנסעפצקרשת", min_size=1, max_size=6)
ARABIC_WORDS = st.text("ابتثجحخدذرزسشصضطظعغفقكلمنهوي", min_size=1, max_size=6)


def lines_of(words):
    return st.lists(words, min_size=1, max_size=6).map(" ".join)


@PROPERTIES
@given(text=st.one_of(lines_of(LATIN_WORDS).map(lambda t: (t, "ltr")),
                      lines_of(HEBREW_WORDS).map(lambda t: (t, "rtl")),
                      lines_of(ARABIC_WORDS).map(lambda t: (t, "rtl"))))
def test_a_click_on_a_caret_gives_its_index(layout_font, text):
    text, direction = text
    layout = layout_font.layout_block(text, SIZE, markup=False, direction=direction)
    for index in caret_stops(layout):
        assert layout.index_at(layout.caret(index).center) == index


CLUSTERS = ["a", "Z", " ", "e\u0301", "क्षि", "नि", "👨\u200d👩\u200d👧", "🇯🇵", "👍🏽", "ש", "م", "ة", "7", "ที่", "😀",
            "ñ", ".", "你"]


@PROPERTIES
@given(clusters=st.lists(st.sampled_from(CLUSTERS), min_size=1, max_size=12))
def test_carets_stop_between_clusters_only_and_clicks_land_on_carets(layout_font, clusters):
    text = "".join(clusters)
    layout = layout_font.layout_block(text, SIZE, markup=False)
    boundaries = [0]
    for cluster in clusters:
        boundaries.append(boundaries[-1] + len(cluster))
    assert caret_stops(layout) == boundaries
    assert [layout.prev_caret(index) for index in boundaries[1:]] == boundaries[:-1]
    # A click on any caret gets an index with a caret there: where directions meet, two indices share a
    # place, and the one a click gets may show its other caret there.
    for index in boundaries:
        x = layout.caret(index).x
        hit = layout.index_at(layout.caret(index).center)
        assert hit in boundaries
        assert min(abs(layout.caret(hit).x - x), abs(layout.caret(hit, other=True).x - x)) <= 1, (index, hit)


@PROPERTIES
@given(clusters=st.lists(st.sampled_from(CLUSTERS + ["Ấ", "gj", "fi"]), min_size=1, max_size=20),
       wraplength=st.sampled_from([0, 90]))
def test_selecting_everything_covers_all_ink(layout_font, clusters, wraplength):
    text = "".join(clusters)
    layout = layout_font.layout_block(text, SIZE, markup=False, wraplength=wraplength, direction="auto")
    rects = layout.selection_rects(0, len(text))
    for x, y in ink(layout.surface()):
        assert any(rect.collidepoint(x, y) for rect in rects), (x, y, rects)


def run_advance(font, text):
    """Where render() puts what follows `text`: the sum of its runs' advances."""
    return sum(font._render_shaped_run(run_text, SIZE, color, path, face)[1]
               for run_text, path, color, _group, face in font._split_runs(text))


# J and j are left out: their hooks reach left of their origin, so a run they
# start is drawn shifted right by that much (see the next test).
@PROPERTIES
@given(text=lines_of(LATIN_WORDS))
def test_latin_carets_stand_at_the_advance_of_what_comes_before(layout_font, text):
    layout = layout_font.layout_block(text, SIZE, markup=False)
    word_edges = {0, len(text)} | {i for i, ch in enumerate(text) if ch == " "} | \
        {i + 1 for i, ch in enumerate(text) if ch == " "}
    for index in sorted(word_edges):
        assert abs(layout.caret(index).x - run_advance(layout_font, text[:index])) <= 1, index


def test_carets_follow_a_run_drawn_shifted_right(layout_font):
    # A "j" starting a run hooks left of its origin: the run is drawn that much to the right, and so are its carets.
    layout = layout_font.layout_block("jump", SIZE, markup=False)
    columns = ink(layout.surface())[:, 0]
    assert columns.min() == 0
    assert layout.caret(0).x >= 1
    j_ink = ink(layout_font.render("j", SIZE))[:, 0].max()
    assert abs(layout.caret(1).x - j_ink) <= 2
