"""Lines composed natively are pixel for pixel the lines that blitting one
surface per run with pygame gives, for every kind of line."""
import pygame
import pytest

import lumo_font
from lumo_font import LumoFont, _native

NOTO = "/usr/share/fonts/truetype/noto"
SYMBOLA = "/usr/share/fonts/truetype/ancient-scripts/Symbola_hint.ttf"

CORPUS = [
    "Hello, world! The quick brown fox",
    "Hi مرحبا بكم שלום עולם नमस्ते สวัสดี",
    "^1red ^2green ^3blue^r back ^9black",
    "<bold={Bold}> <italic={Italic}> <bold italic={Both}> plain",
    "caf\u00e9 na\u0131\u0308ve e\u0301 A\u030a",
    "emoji 😀 and ♥ inline 🚀 text",
    "Tibetan ལྷ་ས Khmer ខ្មែរ Thai ภาษาไทย",
    "ffi ffl fj AVAVA WAWA Ty. overlap",
    "   spaced   out   ",
    "中文 日本語 한국어 mixed",
]


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
        assert pygame.image.tostring(ours, "RGBA") == pygame.image.tostring(reference, "RGBA"), text
