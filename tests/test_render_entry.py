"""render(): arguments, the text cache, the dynamic path and composition."""
import pygame
import pytest

import lumo_font
from render_fixtures import box_font, box_fonts, line_height  # noqa: F401  (fixtures)


def test_empty_text(box_font):
    surface = box_font.render("", 20)
    assert surface.get_size() == (1, line_height(box_font))
    assert surface.get_flags() & pygame.SRCALPHA
    assert list(box_font._text_cache.values()) == [surface]
    dynamic = box_font.render("", 20, dynamic=True)
    assert dynamic.get_size() == (1, line_height(box_font)) and len(box_font._text_cache) == 1


@pytest.mark.parametrize("text", ["^1", "^r^2", "\t\n", "\u200b\u202e"])
def test_text_of_only_markup_or_invisible_characters(box_font, text):
    assert box_font.render(text, 20).get_size() == (1, line_height(box_font))


def test_one_run_is_returned_as_drawn(box_font):
    surface = box_font.render("Word", 20)
    # Four 12-pixel advances, and the pixel column right of the last pen position.
    assert surface.get_size() == (49, line_height(box_font))


def test_words_and_spaces_are_composed_on_one_surface(box_font):
    assert len(box_font._split_runs("two words")) == 3
    surface = box_font.render("two words", 20)
    # The last run's overhang widens the line by its one extra column.
    assert surface.get_size() == (9 * 12 + 1, line_height(box_font))


def test_equal_calls_return_the_identical_surface(box_font):
    first = box_font.render("same", 20, (1, 2, 3))
    assert box_font.render("same", 20, (1, 2, 3)) is first
    first.fill((9, 9, 9, 9))
    assert box_font.render("same", 20, (1, 2, 3)).get_at((0, 0)) == (9, 9, 9, 9)


def test_a_cache_hit_does_not_initialise(box_font):
    key = ("cached", 20, (255, 255, 255), True, True, 0.15, "regular")
    marker = pygame.Surface((1, 1))
    box_font._text_cache[key] = marker
    assert box_font.render("cached", 20) is marker
    assert box_font._initialized is False


@pytest.mark.parametrize("face_a, face_b", [("BOLD", "bold"), ("", None), ("", "regular")])
def test_faces_that_share_an_entry(box_font, face_a, face_b):
    assert box_font.render("x", 20, face=face_a) is box_font.render("x", 20, face=face_b)


def test_cache_key_holds_the_settings_of_the_call(box_font):
    box_font.render("key", 20, (1, 2, 3), face="Italic")
    assert list(box_font._text_cache) == [("key", 20, (1, 2, 3), True, True, 0.15, "italic")]
    lumo_font.SMOOTH_FONT = False
    box_font.render("key", 20, (1, 2, 3), face="Italic")
    assert len(box_font._text_cache) == 2


def test_text_cache_drops_the_oldest_first(box_font):
    lumo_font.MAX_TEXT_CACHE = 2
    box_font.render("one", 20)
    box_font.render("two", 20)
    box_font.render("one", 20)       # a hit does not refresh the entry
    box_font.render("three", 20)
    assert [key[0] for key in box_font._text_cache] == ["two", "three"]


def test_the_oldest_entry_is_the_caches_own_whatever_the_host_did_to_it(box_font):
    lumo_font.MAX_TEXT_CACHE = 3
    for text in ("a", "b", "c"):
        box_font.render(text, 20)
    cache = box_font._text_cache
    cache["host's"] = object()                    # goes last
    del cache[next(key for key in cache if key[0] == "b")]
    box_font.render("d", 20)
    box_font.render("e", 20)
    assert [key if isinstance(key, str) else key[0] for key in cache] == ["host's", "d", "e"]
    first = next(key for key in cache if key != "host's")
    cache[first] = cache.pop(first)               # the same entry, moved last
    box_font.render("f", 20)
    assert [key if isinstance(key, str) else key[0] for key in cache] == ["e", "d", "f"]


def test_dynamic_ascii_uses_the_glyph_cache(box_font):
    surface = box_font.render("Score: 10", 20, dynamic=True)
    assert surface.get_size() == (9 * 12, line_height(box_font))
    assert box_font._text_cache == {}
    assert {key[0] for key in box_font._glyph_cache} == set("Score: 10")
    box_font.render("Score: 11", 20, dynamic=True)
    assert len(box_font._glyph_cache) == len(set("Score: 10"))


def test_glyph_cache_is_trimmed(box_font):
    lumo_font.MAX_GLYPH_CACHE = 3
    box_font.render("abcdef", 20, dynamic=True)
    assert [key[0] for key in box_font._glyph_cache] == ["d", "e", "f"]


@pytest.mark.parametrize("text", ["^1red", "caf\u00e9", "a<b={c}>"])
def test_dynamic_text_with_markup_or_non_ascii_takes_the_ordinary_path(box_font, text):
    box_font.render(text, 20, dynamic=True)
    assert box_font._glyph_cache == {} and box_font._text_cache == {}


def test_control_characters_are_drawn_only_on_the_dynamic_path(box_font):
    assert box_font.render("a\tb", 20).get_width() == 25
    box_font.render("a\tb", 20, dynamic=True)
    assert "\t" in {key[0] for key in box_font._glyph_cache}


@pytest.mark.parametrize("arguments, error, message", [
    ((5, 20), TypeError, "Argument 'text' has incorrect type (expected str, got int)"),
    (("a", "20"), TypeError, "Argument 'size' has incorrect type (expected int, got str)"),
    (("a", 2**40), OverflowError, "value too large to convert to int"),
    (("a", 20, "no such colour"), ValueError, "invalid color name"),
    (("a", 20, (1, 2, 3), False, 5), TypeError, "Argument 'face' has incorrect type (expected str, got int)"),
    ((None, 20), TypeError, "object of type 'NoneType' has no len()"),
])
def test_argument_errors(box_font, arguments, error, message):
    with pytest.raises(error) as raised:
        box_font.render(*arguments)
    assert str(raised.value) == message


def test_argument_count_errors(box_font):
    with pytest.raises(TypeError):
        box_font.render("a")
    with pytest.raises(TypeError):
        box_font.render("a", 20, (1, 2, 3), False, "", "extra")
    with pytest.raises(TypeError):
        box_font.render("a", 20, colour=(1, 2, 3))


def test_replaced_caches(box_font):
    box_font._text_cache = None
    with pytest.raises(TypeError):
        box_font.render("x", 20)
    box_font._text_cache = {}
    assert box_font.render("x", 20).get_width() == 13


def test_a_changing_line_draws_what_a_fresh_object_draws_whatever_changed_between_frames(box_font, box_fonts):
    # The glyph cache entries of the last frames are kept natively; every
    # change of the cache, the colour or the settings is obeyed at once.
    def fresh(text, color):
        other = lumo_font.LumoFont("Box Sans", "Box Fallback", box_fonts["folder"], box_fonts["emoji"])
        return pygame.image.tobytes(other.render(text, 20, color, dynamic=True), "RGBA")

    def drawn(text, color):
        return pygame.image.tobytes(box_font.render(text, 20, color, dynamic=True), "RGBA")

    for frame in range(3):
        assert drawn(f"Score: {frame}", (255, 255, 255)) == fresh(f"Score: {frame}", (255, 255, 255))
    assert drawn("Score: 2", (255, 0, 0)) == fresh("Score: 2", (255, 0, 0))
    box_font._glyph_cache.clear()
    assert drawn("Score: 3", (255, 0, 0)) == fresh("Score: 3", (255, 0, 0))
    assert {key[0] for key in box_font._glyph_cache} == set("Score: 3"), "the emptied cache is filled again"
    box_font._glyph_cache = {}
    assert drawn("Score: 4", (255, 0, 0)) == fresh("Score: 4", (255, 0, 0))
    assert {key[0] for key in box_font._glyph_cache} == set("Score: 4"), "so is a new cache"
    lumo_font.MAX_GLYPH_CACHE = 4
    for frame in range(5, 8):
        assert drawn(f"Score: {frame}", (255, 0, 0)) == fresh(f"Score: {frame}", (255, 0, 0))
    assert len(box_font._glyph_cache) == 4
