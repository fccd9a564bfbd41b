"""Command line of lumo_font: `python -m lumo_font` shows the engine and its settings."""
import sys

import lumo_font

_SETTINGS = (
    "MODERN_FONT",
    "SMOOTH_FONT",
    "ANTI_ALIAS",
    "EMOJI_OFFSET_Y",
    "MAX_TEXT_CACHE",
    "TEXT_CACHE_CLEAN_COUNT",
    "MAX_GLYPH_CACHE",
    "GLYPH_CACHE_CLEAN_COUNT",
)


def main(argv=None):
    """Prints the engine version, the FreeType it draws with and the current settings."""
    print(f"lumo_font {lumo_font.get_engine_version()}")
    library = lumo_font._ft_lib
    if library is None:
        print("FreeType styling: unavailable (bold and italic are drawn unstyled)")
    else:
        print("FreeType {}.{}.{}: {}".format(*library.version, library.path))
    for name in _SETTINGS:
        print(f"  {name:<24} {getattr(lumo_font, name)!r}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
