"""When a face word is imitated by emboldening or slanting, because the family
has no file of its own for it."""
import pytest

import lumo_font
from lumo_font import LumoFont

SOLO = ["solo.ttf", -1]            # a family with only a regular file
DUO = ["duo.ttf", -1]              # a family with a regular ...
DUO_BOLD = ["duo-bold.ttf", -1]    # ... and a bold file
OTHER = ["other.ttf", -1]          # a second family with only a regular file
INTL = "intl/thai.ttf"

INDEX = {"paths": {"solo": SOLO, "duo regular": DUO, "duo bold": DUO_BOLD, "other": OTHER},
         "names": {"duo": "duo regular"}}


@pytest.fixture(autouse=True)
def index(monkeypatch, tmp_path):
    """The index above, with its files present (relative to the working directory)."""
    monkeypatch.chdir(tmp_path)
    for path, _ in INDEX["paths"].values():
        (tmp_path / path).write_bytes(b"")
    monkeypatch.setattr(lumo_font, "load_or_update_font_map", lambda: INDEX)


def made(primary, fallback, init_face="regular"):
    font = LumoFont(primary, fallback, None, None, init_face)
    font._ensure_init()
    return font


@pytest.mark.parametrize("face, flags", [
    ("bold", (True, False)), ("Bold", (True, False)), ("italic", (False, True)), ("ITALIC", (False, True)),
    ("oblique", (False, True)), ("bold_italic", (True, True)), ("bolditalic", (True, True)),
    ("italic bold", (True, True)), ("bold italic", (True, True)),
    ("semibold", (False, False)), (" bold", (False, False)), ("", (False, False)), (None, (False, False)),
])
def test_flags(face, flags):
    assert LumoFont()._get_synthetic_flags(face) == flags


@pytest.mark.parametrize("primary, fallback, actual, expected", [
    ("Duo", "Solo", DUO_BOLD, False),     # the family's own bold file
    ("Duo", "Solo", DUO, False),          # nor its regular file, once the family owns a bold one
    ("Solo", "Other", SOLO, True),        # no bold file anywhere
    ("Solo", "Other", OTHER, True),
    ("Solo", "Duo", DUO_BOLD, False),     # the fallback owns a bold file: its files are not imitated
    ("Solo", "Duo", DUO, False),
    ("Solo", "Duo", SOLO, True),          # but the primary's regular file is
    ("Duo", "Solo", INTL, True),          # an international or emoji font always is
])
def test_bold_with_a_file_being_drawn(primary, fallback, actual, expected):
    assert made(primary, fallback)._is_synthetic_needed("", "bold", actual) is expected


def test_semibold_is_never_imitated():
    font = made("Solo", "Other")
    assert font._is_synthetic_needed("", "semibold", SOLO) is False
    assert font._is_synthetic_needed("Solo", "semibold") is False


@pytest.mark.parametrize("name, expected", [("Solo", True), ("Duo", False), ("", False), (None, False)])
def test_by_family_name(name, expected):
    assert made("Solo", "Other")._is_synthetic_needed(name, "bold") is expected


@pytest.mark.parametrize("primary, actual, expected", [
    ("Duo Bold", DUO_BOLD, False),   # a real bold file is drawn once, not emboldened again
    ("Solo Bold", SOLO, True),       # a family without one is still imitated
])
def test_objects_made_with_a_bold_primary_name(primary, actual, expected):
    font = made(primary, "Other")
    assert font.init_face == "bold"
    assert font._is_synthetic_needed("", "bold", actual) is expected
    assert font._is_synthetic_needed(font.primary_name, "bold") is expected


@pytest.mark.parametrize("face", ["bold", "italic", "bold italic"])
def test_without_the_styling_calls_an_imitated_face_is_drawn_plain(face):
    import pygame
    from lumo_font import _native
    dejavu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
    plain = pygame.image.tobytes(LumoFont(dejavu, dejavu, None, None).render("Hag", 24), "RGBA")
    styled = pygame.image.tobytes(LumoFont(dejavu, dejavu, None, None).render("Hag", 24, face=face), "RGBA")
    assert styled != plain
    try:
        _native._set_styling_available(False)
        unstyled = pygame.image.tobytes(LumoFont(dejavu, dejavu, None, None).render("Hag", 24, face=face), "RGBA")
    finally:
        _native._set_styling_available(True)
    assert unstyled == plain
