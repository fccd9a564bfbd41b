"""Dialogue text: a TextLayout revealed cluster by cluster (a typewriter that
never reflows or reshapes what it has shown) and drawn with each cluster
moved and faded on its own, from the glyphs the block already drew."""
import math

import numpy as np
import pygame
import pytest

from lumo_font import LayoutCluster
from test_render_crosscheck import script_dir  # noqa: F401  (fixture)
from test_text_layout import SIZE, layout_font  # noqa: F401  (fixture)

# Three lines once wrapped: Latin, Arabic (joined letters), Hebrew with digits, a ZWJ emoji family.
PARAGRAPH = "Hello مرحبا بكم في 2024 and שלום 123 עולם then 👨\u200d👩\u200d👧 family words"
WRAP = 290


def rgba(surface):
    width, height = surface.get_size()
    return np.frombuffer(pygame.image.tobytes(surface, "RGBA"), np.uint8).reshape(height, width, 4)


def covered(shape, rects, grow=1):
    """Pixels inside any of `rects`, each grown by `grow` on every side."""
    mask = np.zeros(shape[:2], bool)
    for rect in rects:
        rect = rect.inflate(2 * grow, 2 * grow)
        mask[max(rect.top, 0):max(rect.bottom, 0), max(rect.left, 0):max(rect.right, 0)] = True
    return mask


def assert_subset_of_the_block(layout, frame, shown):
    """The frame holds only the first `shown` clusters, each with the whole block's pixels except where
    it shares a pixel with a cluster not shown yet (the edge of a joined letter)."""
    full, drawn = rgba(layout.surface()), rgba(frame)
    assert drawn.shape == full.shape
    clusters = layout.clusters
    revealed = covered(full.shape, [cluster.rect for cluster in clusters[:shown]])
    hidden = covered(full.shape, [cluster.rect for cluster in clusters[shown:]])
    ink = drawn[..., 3] > 0
    assert not (ink & ~revealed).any(), "ink outside the revealed clusters"
    differs = (drawn != full).any(-1)
    assert not (differs & ~hidden).any(), "a revealed pixel differs from the whole block's"


def drawn_on_transparent(layout, **options):
    canvas = pygame.Surface(layout.size, pygame.SRCALPHA)
    layout.draw(canvas, (0, 0), **options)
    return canvas


@pytest.fixture
def paragraph(layout_font):
    layout = layout_font.layout_block(PARAGRAPH, SIZE, wraplength=WRAP, direction="auto")
    assert len(layout.lines) == 3
    return layout


def test_every_reveal_is_a_subset_of_the_block(layout_font, paragraph):
    shown_before = 0
    for reveal in range(len(PARAGRAPH) + 1):
        shown = sum(1 for cluster in paragraph.clusters if cluster.end <= reveal)
        assert shown >= shown_before
        frame = paragraph.surface(reveal=reveal)
        assert_subset_of_the_block(paragraph, frame, shown)
        if shown > shown_before:
            # The cluster just revealed has ink of its own, unless it is a space.
            newest = paragraph.clusters[shown - 1]
            if not PARAGRAPH[newest.start:newest.end].isspace():
                assert (rgba(frame)[..., 3] > 0).sum() > (rgba(paragraph.surface(reveal=reveal - 1))[..., 3] > 0).sum()
        shown_before = shown
    whole = rgba(layout_font.render_block(PARAGRAPH, SIZE, wraplength=WRAP, direction="auto"))
    assert (rgba(paragraph.surface(reveal=len(PARAGRAPH))) == whole).all()
    assert (rgba(drawn_on_transparent(paragraph, reveal=len(PARAGRAPH))) == whole).all()
    assert (rgba(paragraph.surface(reveal=0))[..., 3] == 0).all()


def test_the_text_typed_so_far_would_reflow_and_reshape(layout_font, paragraph):
    # What a typewriter drawing text[:n] shows is not a subset of the final block: the check above catches it.
    reveal = PARAGRAPH.index("مرحبا") + 2  # "مر": the first letter keeps its initial form only in the whole word
    naive = layout_font.render_block(PARAGRAPH[:reveal], SIZE, wraplength=WRAP, direction="auto")
    shown = sum(1 for cluster in paragraph.clusters if cluster.end <= reveal)
    frame = pygame.Surface(paragraph.size, pygame.SRCALPHA)
    frame.blit(naive, (0, 0))
    with pytest.raises(AssertionError):
        assert_subset_of_the_block(paragraph, frame, shown)
    assert_subset_of_the_block(paragraph, paragraph.surface(reveal=reveal), shown)


def test_clusters_are_the_graphemes_in_logical_order(layout_font):
    text = "a^1b👨\u200d👩\u200d👧 e\u0301\nשלום"
    layout = layout_font.layout_block(text, SIZE)
    clusters = layout.clusters
    assert all(isinstance(cluster, LayoutCluster) for cluster in clusters)
    # The colour tag takes no room and is no cluster; the family and the accented e are one each.
    assert [text[c.start:c.end] for c in clusters] == ["a", "b", "👨\u200d👩\u200d👧", " ", "e\u0301", "\n",
                                                         "ש", "ל", "ו", "ם"]
    assert [c.line for c in clusters] == [0] * 6 + [1] * 4
    assert all(c.baseline == layout.lines[c.line].baseline for c in clusters)
    hebrew = [c.rect.x for c in clusters[6:]]
    assert hebrew == sorted(hebrew, reverse=True), "right to left: each letter left of the one before"
    for cluster in clusters:
        if cluster.rect.width:
            assert [cluster.rect] == layout.selection_rects(cluster.start, cluster.end)
    assert layout.clusters == clusters and layout.clusters is not clusters


def test_still_offsets_draw_exactly_the_block(layout_font):
    for options in [dict(wraplength=WRAP, direction="auto"),
                    dict(outline=2, shadow=(3, 2), shadow_blur=2, underline=True, background=(20, 30, 40)),
                    dict(color=(250, 200, 90, 160), strikethrough=True)]:
        layout = layout_font.layout_block(PARAGRAPH, SIZE, **options)
        still = [(0, 0, 255)] * len(layout.clusters)
        assert (rgba(drawn_on_transparent(layout, offsets=still)) == rgba(layout.surface())).all()
        screen, expected = pygame.Surface((700, 300)), pygame.Surface((700, 300))
        screen.fill((90, 60, 30))
        expected.fill((90, 60, 30))
        assert layout.draw(screen, (350, 150), "center", offsets=lambda i: (0.2, -0.3, 255)) == \
            layout.draw(expected, (350, 150), "center")
        assert (rgba(screen) == rgba(expected)).all()


def test_an_offset_moves_only_its_clusters_pixels(layout_font):
    text = "Move one letter here"
    layout = layout_font.layout_block(text, SIZE)
    moved = text.index("o")
    cluster = layout.clusters[moved]
    offsets = [(0, 0, 255)] * len(layout.clusters)
    offsets[moved] = (3, 6, 255)
    # Drawn on a surface with room around the layout: the moved letter may leave its rectangle.
    place = (10, 10)
    before, after = pygame.Surface((300, 80), pygame.SRCALPHA), pygame.Surface((300, 80), pygame.SRCALPHA)
    layout.draw(before, place)
    layout.draw(after, place, offsets=offsets)
    old, new = rgba(before), rgba(after)
    home = cluster.rect.move(place)
    touched = covered(old.shape, [home, home.move(3, 6)])
    assert ((old != new).any(-1) & ~touched).sum() == 0
    # The letter alone, moved, is the letter alone three right and six down.
    alone = [(0, 0, 0)] * len(layout.clusters)
    alone[moved] = (0, 0, 255)
    still, shifted = pygame.Surface((300, 80), pygame.SRCALPHA), pygame.Surface((300, 80), pygame.SRCALPHA)
    layout.draw(still, place, offsets=alone)
    alone[moved] = (3, 6, 255)
    layout.draw(shifted, place, offsets=alone)
    letter = rgba(still)
    assert (letter[..., 3] > 0).sum() > 20
    assert (rgba(shifted)[6:, 3:] == letter[:-6, :-3]).all()
    assert (rgba(shifted)[:6].sum(), rgba(shifted)[:, :3].sum()) == (0, 0)


def test_moved_clusters_are_not_cut_at_the_layouts_edges(layout_font):
    layout = layout_font.layout_block("Up and away", SIZE)
    screen = pygame.Surface((200, 120), pygame.SRCALPHA)
    placed = layout.draw(screen, (20, 40), offsets=lambda i: (-15, -30, 255) if i == 0 else (0, 0, 255))
    assert placed.topleft == (20, 40) and placed.size == layout.size
    ink = rgba(screen)[..., 3] > 0
    assert ink[:40].any(), "the raised U is drawn above the layout's rectangle"
    assert ink[:, :20].any(), "and left of it"


def test_alpha_fades_a_cluster_and_zero_leaves_it_out(layout_font):
    layout = layout_font.layout_block("fade", SIZE)
    full = rgba(layout.surface())
    for alpha, expected in [(0, 0.0), (128, 128 / 255), (255, 1.0)]:
        frame = rgba(drawn_on_transparent(layout, offsets=[(0, 0, 255)] * 3 + [(0, 0, alpha)]))
        last = layout.clusters[3].rect
        inside = np.s_[last.top:last.bottom, last.right - last.width // 2:last.right]  # clear of the "d"
        assert frame[inside][..., 3].sum() == pytest.approx(full[inside][..., 3].sum() * expected, rel=0.02)
        assert (frame[:, :layout.clusters[2].rect.right - 2] == full[:, :layout.clusters[2].rect.right - 2]).all()


def test_effects_follow_what_is_revealed(layout_font):
    text = "Under lined words"
    layout = layout_font.layout_block(text, SIZE, underline=True, outline=2, shadow=(2, 2))
    reveal = text.index(" lined")
    frame = rgba(layout.surface(reveal=reveal))
    full = rgba(layout.surface())
    shown_right = max(c.rect.right for c in layout.clusters[:reveal])
    # Outline, shadow and underline end with the revealed word (the outline and shadow reach 4 pixels past it).
    assert not (frame[..., 3][:, shown_right + 5:] > 0).any()
    assert (frame[..., 3][:, :shown_right - 4] == full[..., 3][:, :shown_right - 4]).all()
    underline_row = next(y for y in range(full.shape[0] - 1, -1, -1)
                         if (full[y, :, :3] == 255).all(-1).sum() > full.shape[1] // 2)
    assert (frame[underline_row, :, 3] > 0).sum() < (full[underline_row, :, 3] > 0).sum() // 2


def test_markup_colours_apply_to_revealed_and_moved_text(layout_font):
    text = "plain ^1red^0 words"
    layout = layout_font.layout_block(text, SIZE)
    red = [c for c in layout.clusters if c.start >= text.index("red") and c.end <= text.index("^0")]
    assert [text[c.start:c.end] for c in red] == ["r", "e", "d"]
    frame = rgba(layout.surface(reveal=text.index("^0")))
    inside = frame[red[0].rect.top:red[0].rect.bottom, red[0].rect.left:red[-1].rect.right]
    solid = inside[inside[..., 3] == 255]
    assert len(solid) and (solid[:, 0] > 200).all() and (solid[:, 1] < 80).all()
    waved = rgba(drawn_on_transparent(layout, offsets=lambda i: (0, 2 if red[0].start <= layout.clusters[i].start
                                                                     < red[-1].end else 0, 255)))
    assert (waved != rgba(layout.surface())).any()


def test_the_callable_is_asked_for_each_revealed_cluster_in_order(layout_font):
    layout = layout_font.layout_block("abc def", SIZE)
    asked = []
    layout.draw(pygame.Surface((200, 60)), (0, 0), reveal=5, offsets=lambda i: asked.append(i) or (0, 0, 255))
    assert asked == [0, 1, 2, 3, 4]


@pytest.mark.parametrize("options, error, match", [
    (dict(offsets=[(0, 0, 255)] * 3), ValueError, "each of the 4 clusters, not 3"),
    (dict(offsets=[(0, 0)] * 4), ValueError, "triples"),
    (dict(offsets=[(0, 0, 256)] * 4), ValueError, "alpha"),
    (dict(offsets=[(0, 0, -1)] * 4), ValueError, "alpha"),
    (dict(offsets=[(math.inf, 0, 255)] * 4), ValueError, "dx"),
    (dict(offsets=[(0, "up", 255)] * 4), TypeError, "numbers"),
    (dict(offsets=5), TypeError, "callable or a sequence"),
    (dict(offsets=lambda i: None), TypeError, "triples"),
    (dict(offsets=lambda i: 1 / 0), ZeroDivisionError, "division"),
    (dict(reveal=2.5), TypeError, "reveal"),
])
def test_bad_offsets_and_reveals_are_refused(layout_font, options, error, match):
    layout = layout_font.layout_block("word", SIZE)
    with pytest.raises(error, match=match):
        layout.draw(pygame.Surface((100, 50)), (0, 0), **options)


def test_reveals_outside_the_text_show_nothing_or_everything(layout_font):
    layout = layout_font.layout_block("word", SIZE)
    assert (rgba(layout.surface(reveal=-5))[..., 3] == 0).all()
    assert layout.surface(reveal=10**30) is layout.surface()
    with pytest.raises(TypeError):
        layout.surface(2)  # reveal is keyword-only
