"""Pickling and copying a font object through its state snapshot."""
import copy
import pathlib
import pickle

import pygame
import pytest

import lumo_font
from lumo_font import LumoFont

FIELDS = ["_anti_alias", "_cached_f_path_std", "_cached_p_path", "_cmap_cache", "_fallback_path", "_font_map",
          "_font_objs", "_glyph_cache", "_hb_fonts", "_initialized", "_intl_font_paths", "_path_cache",
          "_path_resolve_cache", "_pg_font_cache", "_primary_path", "_std_metrics", "_text_cache",
          "emoji_fallback_engine", "emoji_path", "fallback_dir", "fallback_name", "init_face", "primary_name"]


DEJAVU = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
DEJAVU_SERIF = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf"
COLOR_EMOJI = "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf"


@pytest.fixture
def index(monkeypatch):
    data = {"paths": {"arial": ["/f/arial.ttf", -1]}, "names": {}}
    monkeypatch.setattr(lumo_font, "load_or_update_font_map", lambda: data)
    return data


def test_snapshot_lists_every_field_alphabetically():
    font = LumoFont("Arial Bold", ("x.ttc", 1), "dir", "emoji.ttf")
    reconstructor, arguments, state = font.__reduce__()
    assert reconstructor is lumo_font._restore_lumo_font
    assert arguments == (LumoFont, 0x80baa68, None)
    assert [getattr(font, name) for name in FIELDS] == list(state)
    assert state[0] is True and state[9] is False
    assert state[3] is font._cmap_cache      # the values themselves, not copies


def test_round_trip_of_a_fresh_object():
    font = LumoFont("Arial Bold", "Times New Roman", "dir", "emoji.ttf")
    back = pickle.loads(pickle.dumps(font))
    assert type(back) is LumoFont
    assert [getattr(back, name) for name in FIELDS] == [getattr(font, name) for name in FIELDS]
    assert back._initialized is False and back._anti_alias is True


def test_round_trip_after_initialisation_keeps_index_and_caches(index, make_font):
    font = LumoFont("Arial", "Arial", None, str(make_font("e.ttf", chars="A")))
    font._ensure_init()
    font._find_best_font_path("A", "regular")
    back = pickle.loads(pickle.dumps(font))
    assert back._initialized is True and back._font_map == index
    assert back._path_cache == font._path_cache
    assert back._cmap_cache == font._cmap_cache
    assert back._has_glyph(font.emoji_path, ord("A")) is True


def test_shallow_copy_shares_caches_and_deep_copy_does_not():
    font = LumoFont()
    shallow, deep = copy.copy(font), copy.deepcopy(font)
    for name in ["_text_cache", "_glyph_cache", "_path_cache", "_cmap_cache", "_font_map"]:
        assert getattr(shallow, name) is getattr(font, name)
        assert getattr(deep, name) is not getattr(font, name)
        assert getattr(deep, name) == getattr(font, name)


def test_never_constructed_object_uses_the_short_form():
    bare = LumoFont.__new__(LumoFont)
    reconstructor, arguments = bare.__reduce__()
    assert arguments[:2] == (LumoFont, 0x80baa68) and len(arguments[2]) == 23
    back = pickle.loads(pickle.dumps(bare))
    assert back.primary_name is None and back._initialized is False


def test_subclass_attributes_ride_along():
    font = Custom("Arial")
    font.score_colour = (1, 2, 3)
    state = font.__reduce__()[2]
    assert len(state) == 24 and state[23] == {"score_colour": (1, 2, 3)}
    back = pickle.loads(pickle.dumps(font))
    assert type(back) is Custom and back.score_colour == (1, 2, 3) and back.primary_name == "Arial"


class Custom(LumoFont):
    pass


@pytest.mark.parametrize("checksum", [0x80baa68, 0xf38e25e, 0x3047d49])
def test_accepted_checksums(checksum):
    assert lumo_font._restore_lumo_font(LumoFont, checksum, None).primary_name is None


def test_unknown_checksum_is_refused():
    with pytest.raises(pickle.PickleError) as raised:
        lumo_font._restore_lumo_font(LumoFont, 0x1234, None)
    assert str(raised.value) == ("Incompatible checksums (0x1234 vs (0x80baa68, 0xf38e25e, 0x3047d49) = ("
                                 + ", ".join(FIELDS) + "))")


@pytest.mark.parametrize("state", [[], "state", 5])
def test_reconstructor_wants_a_tuple(state):
    with pytest.raises(TypeError, match="Argument 'state' has incorrect type"):
        lumo_font._restore_lumo_font(LumoFont, 0x80baa68, state)


def test_wrong_kind_stops_at_the_first_offending_field():
    font = LumoFont()
    state = list(LumoFont("Other").__reduce__()[2])
    state[0] = False
    marker_1, marker_2 = object(), object()
    state[1], state[2] = marker_1, marker_2
    state[3] = ["not", "a", "dict"]
    old_cmap = font._cmap_cache
    with pytest.raises(TypeError, match="Expected dict, got list"):
        font.__setstate__(tuple(state))
    assert font._anti_alias is False
    assert (font._cached_f_path_std, font._cached_p_path) == (marker_1, marker_2)
    assert font._cmap_cache is old_cmap


@pytest.mark.parametrize("state, message", [
    (None, "Expected tuple, got NoneType"),
    ([None] * 23, "Expected tuple, got list"),
    ((None,) * 5, "tuple of 23 items"),
    ((), "tuple of 23 items"),
])
def test_setstate_refuses_other_shapes(state, message):
    font = LumoFont()
    with pytest.raises(TypeError, match=message):
        font.__setstate__(state)
    assert font.primary_name == "Arial"


def test_restored_uninitialised_object_initialises_on_use(index):
    back = pickle.loads(pickle.dumps(LumoFont("Arial", "Arial", None, None)))
    back._ensure_init()
    assert back._initialized is True and back._font_map == index


def test_instance_attributes_for_a_plain_object_are_refused_before_anything_changes():
    font = LumoFont()
    state = LumoFont("Other").__reduce__()[2] + ({"extra": 1},)
    with pytest.raises(TypeError, match="hold no instance attributes"):
        font.__setstate__(state)
    assert font.primary_name == "Arial"


@pytest.mark.skipif(not pathlib.Path(COLOR_EMOJI).exists(), reason="Noto Color Emoji not installed")
def test_an_object_that_only_reported_serialises_and_its_copies_draw_from_warm_caches(monkeypatch):
    data = {"paths": {"dejavu sans": [DEJAVU, -1], "dejavu serif": [DEJAVU_SERIF, -1]}, "names": {}}
    monkeypatch.setattr(lumo_font, "load_or_update_font_map", lambda: data)
    font = LumoFont("DejaVu Sans", "DejaVu Serif", None, COLOR_EMOJI)
    report = font.get_debug_info("Hi \U0001F600")
    assert report[-1]["render_path"] == "COLOR"
    copies = [pickle.loads(pickle.dumps(font)), copy.copy(font), copy.deepcopy(font)]
    for back in copies:
        assert back._initialized is True
        assert back._cmap_cache.keys() == font._cmap_cache.keys() and back._path_cache == font._path_cache
        assert back.get_debug_info("Hi \U0001F600") == report
    drawn = font.render("Hi \U0001F600", 24)
    for back in copies:
        line = back.render("Hi \U0001F600", 24)
        assert pygame.image.tobytes(line, "RGBA") == pygame.image.tobytes(drawn, "RGBA")
