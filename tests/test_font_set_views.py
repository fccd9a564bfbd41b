"""The font caches on the object are views the host may read, change and
replace: what the engine keeps natively answers only while a cache is the
one it learned from, unchanged, and every change the host makes is followed."""
import copy

import pytest

import lumo_font
from lumo_font import LumoFont
from support.fontgen import build_font

WHITE = (255, 255, 255)


@pytest.fixture
def fonts(tmp_path, monkeypatch):
    primary = build_font(tmp_path / "prim.ttf", "Prim Sans", chars="AB ")
    fallback = build_font(tmp_path / "fall.ttf", "Fall Sans", chars="AB ")
    index = {"paths": {"prim sans": [str(primary), -1], "fall sans": [str(fallback), -1]}, "names": {}}
    monkeypatch.setattr(lumo_font, "load_or_update_font_map", lambda: index)
    font = LumoFont("Prim Sans", "Fall Sans", None, None)
    font.render("AB", 24)   # the engine has learned from every cache
    return font, index["paths"]["prim sans"], index["paths"]["fall sans"]


def test_resolved_paths_follow_the_host(fonts):
    font, primary, fallback = fonts
    assert font._get_true_path("Prim Sans", "regular") is primary
    font._path_resolve_cache[("Prim Sans", "regular")] = fallback
    assert font._get_true_path("Prim Sans", "regular") is fallback
    font._path_resolve_cache.clear()
    assert font._get_true_path("Prim Sans", "regular") is primary
    assert font._path_resolve_cache[("Prim Sans", "regular")] is primary


def test_coverage_follows_the_host(fonts):
    font, primary, fallback = fonts
    key, code = (fallback[0], fallback[1]), ord("A")
    assert font._search_fallback_layers(code, "regular") is fallback
    font._cmap_cache[key] = type(font._cmap_cache[key])()   # covers nothing
    assert font._search_fallback_layers(code, "regular") is primary   # the last resort
    covered = {code: "A"}
    font._cmap_cache[key] = covered
    assert font._search_fallback_layers(code, "regular") is fallback
    del covered[code]   # a host map changes in place: it is asked every time
    assert font._search_fallback_layers(code, "regular") is primary
    font._cmap_cache.clear()
    assert font._search_fallback_layers(code, "regular") is fallback
    assert font._has_glyph(fallback, code)


@pytest.mark.parametrize("metrics", [(10.0, 20.0), (10, 20)], ids=["floats", "ints"])
def test_line_metrics_follow_the_host(fonts, metrics):
    font, primary, _ = fonts
    surface, _advance = font._render_shaped_run("A", 24, WHITE, primary, "regular")
    assert surface.get_height() != 30
    sized_font = font._std_metrics[(24, "regular")][2]
    font._std_metrics[(24, "regular")] = (*metrics, sized_font)
    surface, _advance = font._render_shaped_run("B", 24, WHITE, primary, "regular")
    assert surface.get_height() == 30   # 1.5 line heights of 20 pixels
    assert font._get_metrics(24, "regular")[:2] == metrics


def test_harfbuzz_fonts_follow_the_host(fonts):
    font, primary, fallback = fonts
    first = font._get_hb_font(primary)
    assert font._get_hb_font(primary) is first
    font._hb_fonts.clear()
    again = font._get_hb_font(primary)
    assert again is not first and font._hb_fonts[(primary[0], primary[1])][0] is again
    font._hb_fonts[(primary[0], primary[1])] = (font._get_hb_font(fallback), b"")
    assert font._get_hb_font(primary) is font._get_hb_font(fallback)


def test_freetype_faces_follow_the_host(fonts):
    font, primary, _ = fonts
    assert font._render_shaped_run("A", 24, WHITE, primary, "regular")[1] > 1
    face_keys = [key for key in font._font_objs if key[:1] == ("FT",) and key[3] == 24]
    assert face_keys
    for key in face_keys:
        font._font_objs[key] = None   # nothing the engine can draw with
    assert font._render_shaped_run("AB", 24, WHITE, primary, "regular")[1] == 1
    font._font_objs.clear()
    assert font._render_shaped_run("AB", 24, WHITE, primary, "regular")[1] > 1


def test_a_restored_object_answers_from_the_caches_it_was_given(fonts):
    font, primary, fallback = fonts
    state = list(font.__reduce__()[2])
    state[12] = {("Prim Sans", "regular"): fallback}   # _path_resolve_cache
    font.__setstate__(tuple(state))
    assert font._get_true_path("Prim Sans", "regular") is fallback


def test_objects_sharing_caches_follow_each_others_changes(fonts):
    font, primary, fallback = fonts
    twin = copy.copy(font)
    assert twin._get_true_path("Prim Sans", "regular") is primary
    font._path_resolve_cache[("Prim Sans", "regular")] = fallback
    assert twin._get_true_path("Prim Sans", "regular") is fallback
    assert font._get_true_path("Prim Sans", "regular") is fallback
