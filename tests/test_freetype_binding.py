"""The engine's FreeType: the handle and styling entry points it shows the host,
the switch that turns styling off, and living side by side with pygame's own
FreeType copy in one process."""
import ctypes
import os
import subprocess
import sys
import textwrap

import pytest

import lumo_font
from lumo_font import _native


def test_library_handle_names_the_linked_freetype():
    library = lumo_font._ft_lib
    assert library is not None
    major, minor, patch = library.version
    assert (major, minor) >= (2, 10)
    assert lumo_font._ft_name == library.path
    assert os.path.exists(library.path)
    assert linked_into_engine(library) or "freetype" in os.path.basename(library.path)


def linked_into_engine(library):
    """A bundled FreeType lives inside the extension itself; a system one is its own library."""
    return os.path.samefile(library.path, _native.__file__)


def test_bundled_libraries_stay_private_to_the_engine():
    if not linked_into_engine(lumo_font._ft_lib):
        pytest.skip("the engine uses the system's FreeType, HarfBuzz and FriBidi")
    # Exported, they would interpose on the FreeType inside pygame's own wheels,
    # and the libpng and zlib there and in the interpreter.
    extension = ctypes.CDLL(_native.__file__)
    for symbol in ("FT_Init_FreeType", "FT_Load_Glyph", "hb_shape", "hb_font_create",
                   "fribidi_get_bidi_types", "fribidi_get_par_embedding_levels_ex",
                   "png_create_read_struct", "png_read_info", "png_get_IHDR", "png_set_read_fn",
                   "inflate", "inflateInit2_", "inflateEnd", "deflate", "deflateInit_", "crc32", "adler32"):
        assert not hasattr(extension, symbol), symbol


def test_styling_entry_points_are_described():
    assert repr(lumo_font._FT_GlyphSlot_Embolden) == "<FreeType entry point FT_GlyphSlot_Embolden>"
    assert lumo_font._FT_GlyphSlot_Oblique.name == "FT_GlyphSlot_Oblique"


def test_styling_can_be_switched_off_and_back_on():
    handle = lumo_font._ft_lib
    try:
        _native._set_styling_available(False)
        assert lumo_font._ft_lib is None
        assert _native._styling_available() is False
    finally:
        _native._set_styling_available(True)
    assert lumo_font._ft_lib is handle
    assert _native._styling_available() is True


SIDE_BY_SIDE = textwrap.dedent("""
    import os
    os.environ["SDL_VIDEODRIVER"] = "dummy"
    os.environ["PYGAME_HIDE_SUPPORT_PROMPT"] = "1"
    def draw_with_pygame():
        import pygame, pygame.freetype, pygame.font
        pygame.freetype.init()
        pygame.font.init()
        surface, rect = pygame.freetype.Font(None, 24).render("Side by side", (255, 255, 255))
        assert rect.width > 50 and surface.get_width() > 50
        assert pygame.font.Font(None, 24).render("Side by side", True, (255, 255, 255)).get_width() > 50
    def use_engine():
        import lumo_font
        assert lumo_font._ft_lib is not None and lumo_font.get_engine_version()
    for step in ORDER:
        step()
    print("ok")
""")


@pytest.mark.parametrize("order", ["draw_with_pygame, use_engine, draw_with_pygame",
                                   "use_engine, draw_with_pygame, use_engine"])
def test_engine_and_pygame_freetype_share_a_process(order):
    script = SIDE_BY_SIDE.replace("ORDER", f"[{order}]")
    result = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True)
    assert result.returncode == 0, result.stderr
    assert result.stdout == "ok\n"
