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
