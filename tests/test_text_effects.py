"""Text effects on blocks (outline, shadow, underline, strikethrough) and
draw_block(), which draws a block straight onto a game's surface: what a
player sees (ink boxes, colours, line positions) and what a game relies on
(sizes that match, rectangles placed like pygame.Rect's, pixels equal to a
blit of the same block)."""
import os

import numpy as np
import pygame
import pytest
from hypothesis import HealthCheck, given, settings
from hypothesis import strategies as st

from lumo_font import LumoFont
from test_render_crosscheck import SIZE, font, new_font, script_dir  # noqa: F401  (fixtures)
from test_text_blocks import PIECES

DEJAVU = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
COLOUR_EMOJI = "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf"
RED, WHITE = (200, 0, 0), (255, 255, 255)


def rgba(surface):
    """The surface's pixels as an array [row, column, channel]."""
    colours = pygame.surfarray.array3d(surface).transpose(1, 0, 2)
    if surface.get_flags() & pygame.SRCALPHA:
        return np.dstack([colours, pygame.surfarray.array_alpha(surface).T])
    return colours


def ink_box(alpha, threshold=128):
    """(left, top, right, bottom) of the pixels at least half covered."""
    rows, columns = np.nonzero(alpha >= threshold)
    return columns.min(), rows.min(), columns.max() + 1, rows.max() + 1


@pytest.fixture
def dejavu(tmp_path):
    if not os.path.exists(DEJAVU):
        pytest.skip("DejaVu Sans not installed")
    return LumoFont(DEJAVU, DEJAVU, str(tmp_path), None)


@pytest.fixture
def emoji_font(new_font):
    if not os.path.exists(COLOUR_EMOJI):
        pytest.skip("Noto Color Emoji not installed")
    return new_font(emoji=COLOUR_EMOJI)


@pytest.mark.parametrize("text", ["Hello", "مرحبا", "नमस्ते", "😀"], ids=["latin", "arabic", "devanagari", "emoji"])
@pytest.mark.parametrize("width", [1, 3])
def test_outline_rings_the_ink_and_keeps_the_text_colour(emoji_font, text, width):
    plain = rgba(emoji_font.render_block(text, SIZE, WHITE))
    outlined = rgba(emoji_font.render_block(text, SIZE, WHITE, outline=width, outline_color=RED))
    assert outlined.shape[:2] == (plain.shape[0] + 2 * width, plain.shape[1] + 2 * width)
    before, after = ink_box(plain[..., 3]), ink_box(outlined[..., 3])
    grown = (before[0] + width - after[0], before[1] + width - after[1], after[2] - before[2] - width,
             after[3] - before[3] - width)
    assert all(abs(side - width) <= 1 for side in grown), grown
    # Where the plain block has no ink, the ring is the outline colour; where it is solid, the text is as it was.
    shifted = np.zeros_like(outlined)
    shifted[width:width + plain.shape[0], width:width + plain.shape[1]] = plain
    ring = (shifted[..., 3] == 0) & (outlined[..., 3] > 0)
    assert ring.sum() > 0 and (outlined[ring][:, :3] == RED).all()
    solid = shifted[..., 3] == 255
    assert solid.sum() > 0 and (outlined[solid] == shifted[solid]).all()


@pytest.mark.parametrize("width, frame", [(1, 1), (2, 2), (2.5, 3), (0.25, 1)])
def test_an_invisible_outline_leaves_the_block_shifted_by_its_frame(font, width, frame):
    text = "Héllo ^1red^r שלום 123\nनमस्ते <bold={bold}> gjpq"
    plain = rgba(font.render_block(text, SIZE, WHITE, align="center"))
    outlined = rgba(font.render_block(text, SIZE, WHITE, align="center", outline=width, outline_color=(9, 9, 9, 0)))
    height, length = plain.shape[:2]
    assert outlined.shape[:2] == (height + 2 * frame, length + 2 * frame)
    assert (outlined[frame:frame + height, frame:frame + length] == plain).all()
    outlined[frame:frame + height, frame:frame + length] = 0
    assert not outlined.any()


def reference_rings(letter, size, width):
    """(ink growth, ring coverage) of pygame-ce's Font.outline and Pillow's stroke_width for one letter."""
    from PIL import Image, ImageDraw, ImageFont
    pygame.font.init()
    font = pygame.font.Font(DEJAVU, size)
    plain = pygame.surfarray.array_alpha(font.render(letter, True, WHITE)).T.astype(int)
    font.outline = width
    outlined = pygame.surfarray.array_alpha(font.render(letter, True, WHITE)).T.astype(int)
    results = [ring_measures(plain, outlined, width)]
    pil_font = ImageFont.truetype(DEJAVU, size)
    images = []
    for stroke in (0, width):
        image = Image.new("L", (3 * size, 3 * size))
        ImageDraw.Draw(image).text((size, size), letter, font=pil_font, fill=255, stroke_width=stroke,
                                   stroke_fill=255)
        images.append(np.asarray(image).astype(int))
    results.append(ring_measures(images[0], images[1], 0))
    return results


def ring_measures(plain, outlined, offset):
    """How far the ink box grew on each side, and the coverage the outline adds outside the glyph."""
    under = np.zeros_like(outlined)
    under[offset:offset + plain.shape[0], offset:offset + plain.shape[1]] = plain
    before, after = ink_box(under), ink_box(outlined)
    growth = (before[0] - after[0], before[1] - after[1], after[2] - before[2], after[3] - before[3])
    return growth, np.maximum(0, outlined - under).sum() / 255


# Measured with DejaVu Sans at sizes 24 and 48, outlines 1, 2 and 4 on "OHga": the ink box grows by
# exactly the outline on every side for all three, and the ring's coverage differs from both
# references by at most 5.6 % (size 24, "a", outline 2: the references hint their glyphs, this engine
# does not). The tolerance is 8 %.
RING_TOLERANCE = 0.08


@pytest.mark.parametrize("size", [24, 48])
@pytest.mark.parametrize("width", [1, 2, 4])
def test_outline_matches_pygame_ce_and_pillow(dejavu, size, width):
    pytest.importorskip("PIL")
    if not hasattr(pygame.font.Font, "outline"):
        pytest.skip("pygame.font.Font has no outline here (pygame-ce has it)")
    for letter in "OHga":
        plain = pygame.surfarray.array_alpha(dejavu.render_block(letter, size)).T.astype(int)
        outlined = pygame.surfarray.array_alpha(
            dejavu.render_block(letter, size, (0, 0, 0, 0), outline=width, outline_color=WHITE)).T.astype(int)
        growth, ring = ring_measures(plain, outlined, width)
        for reference_growth, reference_ring in reference_rings(letter, size, width):
            assert all(abs(a - b) <= 1 for a, b in zip(growth, reference_growth)), (letter, growth, reference_growth)
            assert abs(ring / reference_ring - 1) <= RING_TOLERANCE, (letter, ring, reference_ring)


def full_rows(alpha, start, end):
    """Rows whose pixels from column start to end are all solid."""
    return [row for row in range(alpha.shape[0]) if (alpha[row, start:end] == 255).all()]


def test_underline_and_strikethrough_sit_where_the_font_declares(dejavu):
    from fontTools.ttLib import TTFont
    tables = TTFont(DEJAVU)
    scale = 40 / tables["head"].unitsPerEm
    post, os2 = tables["post"], tables["OS/2"]
    baseline = dejavu.get_ascent(40)
    width = dejavu.size("Hello", 40)[0]
    underlined = pygame.surfarray.array_alpha(dejavu.render_block("Hello", 40, underline=True)).T
    rows = full_rows(underlined, 1, width - 1)
    # The post table gives the line's top; its centre is half its thickness lower.
    expected_centre = baseline - (post.underlinePosition - post.underlineThickness / 2) * scale
    assert abs((rows[0] + rows[-1] + 1) / 2 - expected_centre) <= 1, rows
    assert abs(len(rows) - post.underlineThickness * scale) <= 1
    struck = pygame.surfarray.array_alpha(dejavu.render_block("Hello", 40, strikethrough=True)).T
    rows = full_rows(struck, 1, width - 1)
    assert abs(rows[0] - (baseline - os2.yStrikeoutPosition * scale)) <= 1, rows
    assert abs(len(rows) - os2.yStrikeoutSize * scale) <= 1
    # At a tiny size the lines are still a row thick.
    tiny = pygame.surfarray.array_alpha(dejavu.render_block("Hello", 6, underline=True)).T
    assert full_rows(tiny, 0, dejavu.size("Hello", 6)[0] - 1)


@pytest.mark.parametrize("text", ["abc שלום def", "abc ^1red^r def", "مرحبا abc", "abc 😀 def"])
@pytest.mark.parametrize("direction", ["ltr", "rtl"])
def test_lines_run_unbroken_under_runs_of_several_fonts(emoji_font, text, direction):
    width = emoji_font.size(text, SIZE)[0] - 3  # the line spans the advances; ink may overhang them
    for option in ("underline", "strikethrough"):
        block = emoji_font.render_block(text, SIZE, WHITE, direction=direction, **{option: True})
        alpha = pygame.surfarray.array_alpha(block).T
        rows = full_rows(alpha, 0, width)
        assert rows and rows == list(range(rows[0], rows[-1] + 1)), (option, rows)
        # One colour all the way: the block's, also under a coloured run.
        colours = pygame.surfarray.array3d(block).transpose(1, 0, 2)[rows[0], :width]
        assert (colours == WHITE).all()


def test_underlines_of_wrapped_lines_fit_in_the_block(font):
    text = "the quick brown fox jumps over the lazy dog " * 3
    plain = font.size_block(text, SIZE, wraplength=200)
    underlined = font.render_block(text, SIZE, wraplength=200, underline=True)
    assert underlined.get_width() == plain[0] and underlined.get_height() >= plain[1]
    alpha = pygame.surfarray.array_alpha(underlined).T
    assert len(full_rows(alpha, 0, 100)) >= 4  # one underline a line


def test_shadow_is_cast_by_the_text_and_its_outline(dejavu):
    plain = rgba(dejavu.render_block("I", 48))
    cast = rgba(dejavu.render_block("I", 48, shadow=(5, 3), shadow_color=(0, 0, 255, 255)))
    assert cast.shape[:2] == (plain.shape[0] + 3, plain.shape[1] + 5)
    # The text keeps its place; the shadow shows right of and below it, in its colour.
    text = plain[..., 3] == 255
    assert (cast[:plain.shape[0], :plain.shape[1]][text] == plain[text]).all()
    shadow = np.zeros(cast.shape[:2], bool)
    shadow[3:3 + plain.shape[0], 5:5 + plain.shape[1]] = text
    visible = shadow.copy()
    visible[:plain.shape[0], :plain.shape[1]] &= ~(plain[..., 3] > 0)
    assert visible.sum() > 0 and (cast[visible] == (0, 0, 255, 255)).all()
    # The default shadow is translucent black; a blur spreads it by its radius (4 past its offset of 5
    # to the right, 1 above the text: the text moves down by 1).
    soft = rgba(dejavu.render_block("I", 48, shadow=(5, 3), shadow_blur=4))
    assert soft.shape[:2] == (plain.shape[0] + 8, plain.shape[1] + 9)
    no_text = ~np.pad(plain[..., 3] > 0, ((1, 7), (0, 9)))
    shadow_alpha = soft[..., 3][no_text]
    assert 64 < shadow_alpha.max() <= 128 and ((shadow_alpha > 0) & (shadow_alpha < 64)).sum() > 20
    assert soft[..., :3][no_text & (soft[..., 3] > 0)].max() == 0
    # With an outline, the shadow is the outlined text's.
    framed = rgba(dejavu.render_block("I", 48, outline=2, shadow=(5, 3), shadow_color=(0, 0, 255, 255)))
    assert framed.shape[:2] == (plain.shape[0] + 4 + 3, plain.shape[1] + 4 + 5)
    # Its shadow reaches as far past the plain one's as the frame and the outline together.
    assert abs(ink_box(framed[..., 3])[2] - ink_box(cast[..., 3])[2] - 4) <= 1
    assert abs(ink_box(framed[..., 3])[3] - ink_box(cast[..., 3])[3] - 4) <= 1


def test_shadows_above_and_left_move_the_text(dejavu):
    plain = rgba(dejavu.render_block("Hi", 32))
    cast = rgba(dejavu.render_block("Hi", 32, shadow=(-4, -6), shadow_color=(0, 0, 0, 0)))
    assert cast.shape[:2] == (plain.shape[0] + 6, plain.shape[1] + 4)
    assert (cast[6:, 4:] == plain).all()


SCREENS = [pytest.param(24, 0, id="24-bit"), pytest.param(32, 0, id="32-bit"),
           pytest.param(32, pygame.SRCALPHA, id="32-bit-alpha")]
ANCHORS = ["topleft", "midtop", "topright", "midleft", "center", "midright", "bottomleft", "midbottom", "bottomright"]


def noisy_screen(depth, flags, size=(320, 200)):
    """A screen with a busy background, so that blending shows."""
    screen = pygame.Surface(size, flags, depth)
    noise = np.random.default_rng(3).integers(0, 256, (size[0], size[1], 3), dtype=np.uint8)
    pygame.surfarray.blit_array(screen, noise)
    if flags & pygame.SRCALPHA:
        pygame.surfarray.pixels_alpha(screen)[:] = np.random.default_rng(4).integers(0, 256, size, dtype=np.uint8)
    return screen


@pytest.mark.parametrize("depth, flags", SCREENS)
@pytest.mark.parametrize("options", [{}, {"outline": 2, "shadow": (3, 3), "shadow_blur": 2, "underline": True},
                                     {"background": (0, 40, 0, 160), "color": (255, 255, 255, 180)}],
                         ids=["plain", "effects", "background"])
def test_draw_block_draws_what_a_blit_of_render_block_draws(font, depth, flags, options):
    options = dict(options)
    color = options.pop("color", (255, 230, 120))
    for anchor, pos in [("center", (160, 100)), *[(name, (160, 100)) for name in ANCHORS[::2]],
                        ("topleft", (-30, -12)), ("bottomright", (340, 215)), ("midright", (20, 100))]:
        for clip in (None, pygame.Rect(40, 30, 150, 90)):
            screen = noisy_screen(depth, flags)
            screen.set_clip(clip)
            expected = screen.copy()
            rect = font.draw_block(screen, pos, "GAME OVER", 48, color, anchor=anchor, **options)
            block = font.render_block("GAME OVER", 48, color, **options)
            assert rect == block.get_rect(**{anchor: pos}), anchor
            expected.blit(block, rect)
            drawn, wanted = rgba(screen), rgba(expected)
            assert (drawn == wanted).all(), (anchor, pos, clip)


def test_game_over_is_centred_and_changes_only_its_rectangle(font):
    screen = noisy_screen(32, 0, (640, 480))
    before = rgba(screen)
    rect = font.draw_block(screen, screen.get_rect().center, "GAME OVER", 64, anchor="center")
    assert isinstance(rect, pygame.Rect)
    assert abs(rect.centerx - 320) <= 0 and abs(rect.centery - 240) <= 0
    changed_rows, changed_columns = np.nonzero((rgba(screen) != before).any(axis=2))
    assert changed_rows.size > 0
    assert rect.left <= changed_columns.min() and changed_columns.max() < rect.right
    assert rect.top <= changed_rows.min() and changed_rows.max() < rect.bottom


def test_a_block_drawn_by_draw_block_is_kept_for_the_next_frame(font):
    screen = pygame.Surface((200, 100))
    font.draw_block(screen, (0, 0), "Score: 10", 24, outline=1)
    kept = font.render_block("Score: 10", 24, outline=1)
    assert font.render_block("Score: 10", 24, outline=1) is kept
    assert font.render_block("Score: 10", 24, (255, 255, 255), "", outline=0, outline_color=RED, shadow=None,
                             shadow_color=(1, 2, 3), shadow_blur=3, underline=False,
                             strikethrough=False) is font.render_block("Score: 10", 24)


@settings(max_examples=60, deadline=None, suppress_health_check=[HealthCheck.function_scoped_fixture])
@given(pieces=st.lists(st.sampled_from(PIECES + ["\n"]), min_size=0, max_size=6),
       outline=st.sampled_from([0, 0.5, 1, 2.5, 4]),
       shadow=st.one_of(st.none(), st.tuples(st.integers(-9, 9), st.integers(-9, 9))),
       blur=st.sampled_from([0, 1, 2.5]), underline=st.booleans(), strikethrough=st.booleans(),
       wraplength=st.sampled_from([0, 80, 200]), align=st.sampled_from(["start", "center", "right"]),
       direction=st.sampled_from(["ltr", "rtl", "auto"]), markup=st.booleans(),
       background=st.sampled_from([None, (0, 0, 0, 128)]), line_spacing=st.sampled_from([0.6, 1.0, 1.7]),
       typography=st.sampled_from([{}, {"features": "-kern,+smcp"}, {"language": "sr"},
                                   {"variations": {"wght": 700}}]))
def test_size_block_is_the_size_render_block_draws(font, pieces, outline, shadow, blur, underline, strikethrough,
                                                    wraplength, align, direction, markup, background, line_spacing,
                                                    typography):
    text = " ".join(pieces)
    options = dict(outline=outline, shadow=shadow, shadow_blur=blur, underline=underline,
                   strikethrough=strikethrough, wraplength=wraplength, align=align, direction=direction,
                   markup=markup, background=background, line_spacing=line_spacing, **typography)
    measured = font.size_block(text, 20, **options)  # before the block is drawn and kept
    assert measured == font.render_block(text, 20, **options).get_size()


@pytest.mark.parametrize("options, error, message", [
    ({"outline": -1}, ValueError, "outline must be from 0 to 64 pixels"),
    ({"outline": 65}, ValueError, "outline must be from 0 to 64"),
    ({"outline": float("nan")}, ValueError, "outline must be"),
    ({"outline": "2"}, TypeError, "Argument .outline. has incorrect type"),
    ({"outline": True}, TypeError, "Argument .outline. has incorrect type"),
    ({"shadow_blur": -0.5}, ValueError, "shadow_blur must be from 0 to 64"),
    ({"shadow": 3}, TypeError, "shadow must be None or a pair"),
    ({"shadow": (1,)}, TypeError, "shadow must be None or a pair"),
    ({"shadow": (1, "2")}, TypeError, "shadow must be None or a pair"),
    ({"shadow": (1e9, 0)}, ValueError, "shadow offsets must be from -4096 to 4096"),
    ({"shadow": (float("inf"), 0)}, ValueError, "shadow offsets"),
    ({"outline_color": "no such colour"}, ValueError, None),
    ({"shadow_color": (1, 2)}, ValueError, None),
])
def test_bad_effect_values_are_refused_by_name(font, options, error, message):
    for call in (font.render_block, font.size_block):
        with pytest.raises(error, match=message):
            call("x", 20, **options)


@pytest.mark.parametrize("arguments, options, error, message", [
    (("not a surface", (0, 0)), {}, TypeError, "surface"),
    ((None, (0, 0)), {}, TypeError, "surface"),
    ((pygame.Surface((5, 5)), "x"), {}, TypeError, None),
    ((pygame.Surface((5, 5)), (0, 0)), {"anchor": "top"}, ValueError, "anchor must be one of"),
    ((pygame.Surface((5, 5)), (0, 0)), {"anchor": 3}, TypeError, "anchor"),
    ((pygame.Surface((5, 5)),), {}, TypeError, "draw_block"),
])
def test_bad_draw_block_arguments(font, arguments, options, error, message):
    with pytest.raises(error, match=message):
        if len(arguments) == 1:
            font.draw_block(*arguments, "x")
        else:
            font.draw_block(*arguments, "x", 20, **options)


def test_the_effects_pictures_are_drawn_by_their_guide():
    from support.doc_pictures import drawn_picture
    assert drawn_picture("guides/effects.md", "pictures/text-effects.png").get_size() == (900, 392)
    assert drawn_picture("guides/effects.md", "pictures/game-over.png").get_size() == (640, 240)


def test_damaged_glyphs_are_drawn_empty_with_their_outlines(tmp_path, capsys):
    import struct
    from support import font_mutants, fontgen
    # Glyphs past a cut glyph count load in HarfBuzz but not in FreeType: "l" and "o" are damaged.
    data = bytearray(fontgen.build_font(tmp_path / "box.ttf", "Box Sans").read_bytes())
    _, tables = font_mutants.table_directory(bytes(data))
    struct.pack_into(">H", data, tables[b"maxp"][1] + 4, 75)
    path = tmp_path / "cut.ttf"
    path.write_bytes(bytes(data))
    cut = LumoFont(str(path), str(path), str(tmp_path / "no-such-folder"), None)
    options = dict(outline=2, shadow=(2, 2), underline=True)
    outlined = cut.render_block("Hello", 20, **options)
    assert outlined.get_size() == cut.size_block("Hello", 20, **options)
    # Only "H" and "e" have ink, and outlines, beside the underline.
    alone = cut.render_block("He", 20, outline=2)
    assert pygame.mask.from_surface(outlined).count() > pygame.mask.from_surface(alone).count() > 0
    assert capsys.readouterr().out.count("[WARNING] Damaged glyphs in ") == 1
