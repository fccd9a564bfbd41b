"""The synthetic fonts that the other tests build are real fonts: other font
readers open them and find the names, characters and boxes asked for."""
import pygame
import pygame.freetype
import pytest
from fontTools.ttLib import TTCollection, TTFont

from support.fontgen import NameRecord


def full_names(font):
    return [(r.platformID, r.platEncID, r.toUnicode()) for r in font["name"].names if r.nameID == 4]


@pytest.mark.parametrize("outline, suffix", [("glyf", "ttf"), ("cff", "otf")])
def test_single_font_has_its_name_and_characters(make_font, outline, suffix):
    path = make_font(f"box.{suffix}", "Box Sans Bold", chars="AB", outline=outline)
    with TTFont(str(path)) as font:
        assert set(font.getBestCmap()) == {ord("A"), ord("B")}
        assert ("Box Sans Bold") in [name for _, _, name in full_names(font)]


def test_name_records_are_stored_as_given(make_font):
    records = [
        NameRecord("Zweiter Name", 3, 1, 0x407),
        NameRecord("Première", 1, 0, 0),
        NameRecord("ゴシック", 3, 2, 0x411),
        NameRecord(b"\xff\xfe\xfd", 3, 1, 0x409),
    ]
    path = make_font("names.ttf", "Ignored", name_records=records)
    raw = TTFont(str(path))["name"].names
    assert [(r.platformID, r.platEncID, r.langID) for r in raw] == [(3, 1, 0x407), (1, 0, 0), (3, 2, 0x411),
                                                                    (3, 1, 0x409)]
    assert raw[0].toUnicode() == "Zweiter Name"
    assert raw[1].toUnicode() == "Première"
    assert raw[2].toUnicode() == "ゴシック"
    assert raw[3].string == b"\xff\xfe\xfd"


def test_collection_keeps_face_order(make_collection):
    path = make_collection("family.ttc", [{"full_name": "Coll Sans"}, {"full_name": "Coll Sans Bold"}])
    collection = TTCollection(str(path))
    assert [full_names(face)[0][2] for face in collection.fonts] == ["Coll Sans", "Coll Sans Bold"]


def test_pygame_draws_the_boxes(make_font):
    path = make_font("draw.ttf", "Draw Sans", chars="H")
    pygame.freetype.init()
    surface, rect = pygame.freetype.Font(str(path), 20).render("H", (255, 255, 255))
    assert rect.width >= 8
    assert surface.get_at((rect.width // 2, rect.height // 2)).a > 0
