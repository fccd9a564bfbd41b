"""Which font draws a character: the emoji font, the primary, the fallback,
an international font, or the primary as the last resort."""
import pytest

import lumo_font
from lumo_font import LumoFont
from support.fontgen import build_collection, build_font

ALEF, THAI_KO, GRIN, ROCKET, RARE = "\u05d0", "\u0e01", "\U0001F600", "\U0001F680", "\u2603"


@pytest.fixture
def fonts(tmp_path, monkeypatch):
    """Primary covers A; fallback covers A and alef; an international font
    covers Thai; the emoji font covers one emoji."""
    primary = build_font(tmp_path / "prim.ttf", "Prim Sans", chars="A ")
    fallback = build_font(tmp_path / "fall.ttf", "Fall Sans", chars="A " + ALEF)
    intl = tmp_path / "intl"
    thai = build_font(intl / "thai.ttf", "Thai Test", chars=THAI_KO)
    emoji = build_font(tmp_path / "emoji.ttf", "Emoji Test", chars=GRIN)
    index = {"paths": {"prim sans": [str(primary), -1], "fall sans": [str(fallback), -1]}, "names": {}}
    monkeypatch.setattr(lumo_font, "load_or_update_font_map", lambda: index)
    font = LumoFont("Prim Sans", "Fall Sans", str(intl), str(emoji))
    font._ensure_init()
    return font, index["paths"]["prim sans"], index["paths"]["fall sans"], str(thai), str(emoji)


def test_layer_order_with_the_primary_first(fonts):
    font, primary, fallback, thai, emoji = fonts
    assert font._find_best_font_path("A", "regular") is primary
    assert font._find_best_font_path(ALEF, "regular") is fallback
    assert font._find_best_font_path(THAI_KO, "regular") == thai
    assert font._find_best_font_path(GRIN, "regular") == emoji
    assert font._find_best_font_path(ROCKET, "regular") is primary     # emoji the emoji font lacks
    assert font._find_best_font_path(RARE, "regular") is primary       # covered by nobody


def test_layer_order_with_the_fallback_first(fonts):
    font, primary, fallback, thai, emoji = fonts
    lumo_font.MODERN_FONT = False
    assert font._find_best_font_path("A", "regular") is fallback
    assert font._find_best_font_path(GRIN, "regular") == emoji
    assert font._find_best_font_path(THAI_KO, "regular") == thai


def test_decisions_are_cached_per_character_and_face(fonts):
    font, primary, fallback, thai, emoji = fonts
    font._find_best_font_path("A", "regular")
    lumo_font.MODERN_FONT = False   # a cached decision outlives a change of the setting
    assert font._find_best_font_path("A", "regular") is primary
    assert font._find_best_font_path("A", "Regular") is fallback
    assert set(font._path_cache) == {("A", "regular"), ("A", "Regular")}


def test_unknown_primary_family_is_the_last_resort_through_its_stand_in(fonts):
    font, primary, *_ = fonts
    font = LumoFont("Unknown Family", "Fall Sans", None, None)
    font._ensure_init()
    assert font._find_best_font_path(RARE, "regular") is primary   # the index's first regular face


def test_an_emptied_fallback_is_skipped(tmp_path, monkeypatch):
    primary = build_font(tmp_path / "p.ttf", "P Sans", chars="A")
    index = {"paths": {"p sans": [str(primary), -1], "gone sans": [str(tmp_path / "gone.ttf"), -1]}}
    monkeypatch.setattr(lumo_font, "load_or_update_font_map", lambda: index)
    font = LumoFont("P Sans", "Gone Sans", None, None)
    font._ensure_init()
    assert font.fallback_name == ""
    assert font._search_fallback_layers(ord(ALEF), "regular") == [str(primary), -1]
    assert list(font._cmap_cache) == []


def test_missing_emoji_font_is_tried_once(fonts, tmp_path):
    font, primary, *_ = fonts
    font = LumoFont("Prim Sans", "Fall Sans", None, str(tmp_path / "no-emoji.ttf"))
    font._ensure_init()
    assert font._find_best_font_path(GRIN, "regular") == primary
    assert font._find_best_font_path(ROCKET, "regular") == primary
    assert list(font._cmap_cache).count((str(tmp_path / "no-emoji.ttf"), -1)) == 1


def test_a_font_that_failed_to_open_stays_empty(fonts, tmp_path):
    font, *_ = fonts
    late = tmp_path / "late.ttf"
    assert font._has_glyph(str(late), ord("A")) is False
    build_font(late, "Late Sans", chars="A")
    assert font._has_glyph(str(late), ord("A")) is False


@pytest.mark.parametrize("path_data", [None, "", []])
def test_empty_path_data_covers_nothing_without_a_cache_entry(fonts, path_data):
    font, *_ = fonts
    assert font._has_glyph(path_data, 65) is False
    assert font._cmap_cache == {}


def test_collections_by_record_and_by_bare_path(fonts, tmp_path):
    font, *_ = fonts
    ttc = build_collection(tmp_path / "pair.ttc", [{"full_name": "One", "chars": "A"},
                                                  {"full_name": "Two", "chars": "B"}])
    assert font._has_glyph([str(ttc), 1], ord("B")) and not font._has_glyph([str(ttc), 1], ord("A"))
    assert font._has_glyph((str(ttc), 0), ord("A"))
    assert font._has_glyph(str(ttc), ord("A")) is False   # a collection named by path alone covers nothing


@pytest.mark.parametrize("code", [2**70, -1, 0x110000, "A", None])
def test_values_that_are_no_code_point_are_covered_by_nothing(fonts, code):
    font, primary, *_ = fonts
    assert font._has_glyph(primary, code) is False


@pytest.mark.parametrize("path_data, error", [
    (["x.ttf", "1"], TypeError),
    (["x.ttf", 2**40], OverflowError),
    ([5, 0], TypeError),
    (5, TypeError),
    (["x.ttf"], IndexError),
])
def test_malformed_path_data_raises(fonts, path_data, error):
    font, *_ = fonts
    with pytest.raises(error):
        font._has_glyph(path_data, 65)
    assert font._cmap_cache == {}


@pytest.mark.parametrize("ch", ["AB", "", 65])
def test_best_path_needs_one_character(fonts, ch):
    font, *_ = fonts
    with pytest.raises(TypeError):
        font._find_best_font_path(ch, "regular")
    assert all(key[0] != ch for key in font._path_cache)


def test_a_line_follows_what_the_host_puts_in_the_best_path_cache(fonts):
    font, primary, fallback, thai, emoji = fonts
    assert font._split_runs("A")[0][1] is primary
    # Lines remember the choice natively; a host entry for it is still read.
    font._path_cache[("A", "regular")] = fallback
    assert font._split_runs("AA")[0][1] is fallback
    font._path_cache.clear()
    assert font._split_runs("AAA")[0][1] is primary
