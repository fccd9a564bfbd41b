"""Text a game did not write (player names, chat lines) drawn as typed:
markup=False turns the inline colour and face tags off for one call."""
import pygame
import pytest

from render_fixtures import box_font, box_fonts  # noqa: F401  (fixtures)

ADVANCE = 12  # every glyph of the box fonts at size 20

TEXTS = ["100^2", "^1red^r", "<bold={x", "<bold={shout}>", "a}>b", "^^9"]


def ink_columns(surface):
    alpha = pygame.surfarray.array_alpha(surface)
    return int((alpha.max(axis=1) > 0).sum())


@pytest.mark.parametrize("text", TEXTS)
def test_tags_are_drawn_as_typed_when_markup_is_off(box_font, text):
    # Every character typed is drawn, tags included: one box each.
    width, height = box_font.size(text, 20, markup=False)
    assert width == len(text) * ADVANCE + 1
    block = box_font.render_block(text, 20, markup=False)
    assert block.get_size() == box_font.size_block(text, 20, markup=False)
    assert ink_columns(block) == ink_columns(box_font.render_block("x" * len(text), 20))
    # With markup on (the default) the same text loses its tags.
    assert box_font.size(text, 20) != (width, height) or text == "<bold={x"


def test_markup_off_keeps_the_calls_colour(box_font):
    block = box_font.render_block("^1ab", 20, (0, 0, 255), markup=False)
    colours = {tuple(block.get_at((x, y)))[:3] for x in range(block.get_width())
               for y in range(block.get_height()) if block.get_at((x, y)).a == 255}
    assert colours == {(0, 0, 255)}


def test_markup_off_in_a_wrapped_block(box_font):
    text = "^1one <bold={two three}> four"
    lines = box_font._block_lines(text, 20, wraplength=7 * ADVANCE, markup=False)
    # The lines join back into the text as typed, and carry no tag in force.
    assert len(lines) > 1 and "".join(visible for visible, _, _ in lines) == text
    assert all(markup == visible.rstrip() for visible, markup, _ in lines)


def test_calls_without_the_option_share_the_caches_they_always_used(box_font):
    drawn = box_font.render("^1ab", 20)
    assert box_font.size("^1ab", 20) == drawn.get_size()
    # The text cache holds lines drawn with their markup: markup=False measures afresh.
    assert box_font.size("^1ab", 20, markup=False) != drawn.get_size()
    block = box_font.render_block("^1ab", 20)
    assert box_font.render_block("^1ab", 20, markup=True) is block
    assert box_font.render_block("^1ab", 20, markup=False) is not block


def test_markup_is_keyword_only(box_font):
    with pytest.raises(TypeError, match="at most 3 positional"):
        box_font.size("a", 20, "", False)
    with pytest.raises(TypeError, match="at most 4 positional"):
        box_font.render_block("a", 20, (1, 2, 3), "", False)
