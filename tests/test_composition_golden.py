"""Lines composed natively are pixel for pixel the lines that blitting one
surface per run with pygame gives, for every kind of line."""
import pathlib
import sys

import pygame
import pytest

import lumo_font
from lumo_font import LumoFont, _native

GOLDEN = pathlib.Path(__file__).parent / "golden"
sys.path.insert(0, str(GOLDEN))

from render_corpus import LINES as CORPUS, NOTO, SYMBOLA  # noqa: E402


def render_all(native, size, anti_alias):
    _native._set_native_composition(native)
    lumo_font.ANTI_ALIAS = anti_alias
    try:
        font = LumoFont("Noto Sans", "DejaVu Sans", NOTO, SYMBOLA)
        return [font.render(text, size, (230, 120, 40)) for text in CORPUS]
    finally:
        _native._set_native_composition(True)


@pytest.mark.parametrize("size, anti_alias", [(24, True), (13, True), (40, False)])
def test_native_composition_matches_pygame_blits(size, anti_alias):
    native = render_all(True, size, anti_alias)
    blitted = render_all(False, size, anti_alias)
    for text, ours, reference in zip(CORPUS, native, blitted):
        assert ours.get_size() == reference.get_size(), text
        assert pygame.image.tobytes(ours, "RGBA") == pygame.image.tobytes(reference, "RGBA"), text


DYNAMIC_LINES = ["Score: 0123456789", "fjord jiffy Wavy AV", "  (x) -> [y] {z}", "T" * 30]


@pytest.mark.parametrize("face", ["", "italic", "bold italic"])
def test_dynamic_lines_composed_natively_match_pygame_blits(face):
    """Glyphs that reach into their neighbours (slanted, kerned shapes) are
    blended where they overlap exactly as pygame blends them."""
    def render_dynamic(native):
        _native._set_native_composition(native)
        try:
            font = LumoFont("DejaVu Serif", "DejaVu Sans", None, None)
            return [font.render(text, 30, (40, 200, 90), dynamic=True, face=face) for text in DYNAMIC_LINES]
        finally:
            _native._set_native_composition(True)

    for text, ours, reference in zip(DYNAMIC_LINES, render_dynamic(True), render_dynamic(False)):
        assert ours.get_size() == reference.get_size(), text
        assert pygame.image.tobytes(ours, "RGBA") == pygame.image.tobytes(reference, "RGBA"), text


def test_dynamic_line_honours_a_glyph_the_host_put_in_the_cache():
    """A cached glyph the host replaced with its own surface, keyed or
    half-transparent, is placed by pygame itself, as before."""
    font = LumoFont("DejaVu Sans", "DejaVu Sans", None, None)
    font.render("A", 24, (255, 255, 255), dynamic=True)
    (key, (_, advance)), = font._glyph_cache.items()
    sprite = pygame.Surface((advance, 30), pygame.SRCALPHA)
    sprite.fill((255, 0, 0, 200))
    sprite.set_alpha(100)
    font._glyph_cache[key] = (sprite, advance)
    line = font.render("A", 24, (255, 255, 255), dynamic=True)
    expected = pygame.Surface(line.get_size(), pygame.SRCALPHA)
    expected.blit(sprite, (0, 0))
    assert pygame.image.tobytes(line, "RGBA") == pygame.image.tobytes(expected, "RGBA")


def test_surfaces_read_through_pygame_c_api_match_their_methods():
    """Reading surfaces through pygame's C API draws what reading them
    through their Python methods draws, static and dynamic lines alike."""
    def render_all_lines(direct):
        _native._set_direct_surface_access(direct)
        try:
            font = LumoFont("Noto Sans", "DejaVu Sans", NOTO, SYMBOLA)
            static = [font.render(text, 24, (230, 120, 40)) for text in CORPUS]
            return static + [font.render(text, 24, dynamic=True) for text in DYNAMIC_LINES]
        finally:
            _native._set_direct_surface_access(True)

    for ours, reference in zip(render_all_lines(True), render_all_lines(False)):
        assert pygame.image.tobytes(ours, "RGBA") == pygame.image.tobytes(reference, "RGBA")


def test_dynamic_line_places_a_surface_subclass_from_the_cache():
    class Sprite(pygame.Surface):
        pass

    font = LumoFont("DejaVu Sans", "DejaVu Sans", None, None)
    font.render("AB", 24, dynamic=True)
    for key, (surface, advance) in list(font._glyph_cache.items()):
        sprite = Sprite(surface.get_size(), pygame.SRCALPHA)
        sprite.blit(surface, (0, 0))
        font._glyph_cache[key] = (sprite, advance)
    reference = LumoFont("DejaVu Sans", "DejaVu Sans", None, None).render("AB", 24, dynamic=True)
    line = font.render("AB", 24, dynamic=True)
    assert pygame.image.tobytes(line, "RGBA") == pygame.image.tobytes(reference, "RGBA")
