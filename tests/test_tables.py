"""The fixed tables that markup, face resolution and the font index consult."""
import lumo_font


def test_rich_palette():
    assert lumo_font.RICH_PALETTE == {
        "0": (255, 255, 255), "1": (255, 50, 50), "2": (50, 255, 50), "3": (80, 150, 255),
        "4": (255, 255, 50), "5": (255, 50, 255), "6": (50, 255, 255), "7": (200, 200, 200),
        "8": (100, 100, 100), "9": (0, 0, 0), "a": (102, 178, 255),
    }


def test_synthetic_face_map():
    assert lumo_font._SYNTHETIC_FACE_MAP == {
        "bold": (True, False), "italic": (False, True), "oblique": (False, True),
        "bold italic": (True, True), "bold_italic": (True, True), "bolditalic": (True, True),
        "italic bold": (True, True),
    }


def test_protected_names():
    assert lumo_font.PROTECTED_VARS == ("is_scanning", "_is_scanning", "_ft_lib", "_FT_GlyphSlot_Embolden",
                                        "_FT_GlyphSlot_Oblique", "_SYNTHETIC_FACE_MAP")


def test_font_suffixes_blank_half_then_hyphen_half():
    suffixes = lumo_font.FONT_SUFFIXES
    assert len(suffixes) == 38
    assert all(s.startswith(" ") for s in suffixes[:19])
    assert all(s.startswith("-") for s in suffixes[19:])
    assert all(s == s.lower() for s in suffixes)
    # Each hyphenated suffix is its blank-separated twin written without blanks.
    assert ["-" + s[1:].replace(" ", "") for s in suffixes[:19]] == list(suffixes[19:])


def test_no_suffix_is_shadowed_by_an_earlier_one():
    # Tried first to last: a suffix that ends with an earlier one could never match.
    suffixes = lumo_font.FONT_SUFFIXES
    for i, earlier in enumerate(suffixes):
        for later in suffixes[i + 1:]:
            assert not later.endswith(earlier), (earlier, later)


def test_freetype_load_flags():
    assert (lumo_font._FT_LOAD_RENDER, lumo_font._FT_LOAD_NO_HINTING, lumo_font._FT_LOAD_AA,
            lumo_font._FT_LOAD_MONO, lumo_font._FT_LOAD_COLOR, lumo_font._FT_LOAD_COLOR_RENDER) == (
        4, 2, 6, 131076, 1048576, 1048580)


def test_emoji_cache_starts_as_a_dict():
    assert isinstance(lumo_font._EMOJI_CACHE, dict)
