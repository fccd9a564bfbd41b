"""Face resolution: a family name and a face word become the file to draw with."""
import pytest

import lumo_font
from lumo_font import LumoFont

ARIAL = ["/fonts/arial.ttf", -1]
ARIAL_BOLD = ["/fonts/arialbd.ttf", -1]
ROBOTO_REGULAR = ["/fonts/Roboto-Regular.ttf", -1]
ROBOTO_BOLD = ["/fonts/Roboto-Bold.ttf", -1]
NOTO_CJK_KR = ["/fonts/NotoSansCJK.ttc", 1]

INDEX = {
    "_timestamp": "",
    "paths": {"arial": ARIAL, "arial bold": ARIAL_BOLD, "roboto regular": ROBOTO_REGULAR,
              "roboto bold": ROBOTO_BOLD, "noto sans cjk kr": NOTO_CJK_KR},
    "names": {"roboto": "roboto regular"},
}


@pytest.fixture
def font(monkeypatch, tmp_path):
    monkeypatch.chdir(tmp_path)
    monkeypatch.setattr(lumo_font, "load_or_update_font_map", lambda: INDEX)
    font = LumoFont("Arial", "Roboto", None, None)
    font._ensure_init()
    return font


@pytest.mark.parametrize("name, face, expected", [
    ("Arial", "bold", ARIAL_BOLD),
    ("Arial", "regular", ARIAL),          # neither 'arial regular' nor an alias: the family's own face
    ("Arial", "", ARIAL),                 # 'arial ' stripped
    ("Arial", "Bold", ARIAL),             # capitals never match the lower-case index
    ("Arial", None, ARIAL),               # 'arial None' is no face name
    ("Roboto", "italic", ROBOTO_REGULAR),  # through the alias
    ("Roboto", "bold", ROBOTO_BOLD),
    ("ROBOTO", "bold", ROBOTO_BOLD),
    ("Noto Sans CJK KR", "regular", NOTO_CJK_KR),
])
def test_index_resolution(font, name, face, expected):
    assert font._get_true_path(name, face) == expected


def test_answers_are_the_index_records_themselves(font):
    assert font._get_true_path("Arial", "bold") is INDEX["paths"]["arial bold"]


def test_unknown_family_answers_its_name_and_is_cached(font, tmp_path):
    assert font._get_true_path("Mystery", "bold") == "Mystery"
    (tmp_path / "Mystery").mkdir()
    assert font._get_true_path("Mystery", "bold") == "Mystery"   # the disk is not looked at again
    assert font._get_true_path("Mystery", "italic") == ["Mystery", -1]


def test_a_folder_named_like_a_family_wins_over_the_index(font, tmp_path):
    (tmp_path / "Arial").mkdir()
    assert font._get_true_path("Arial", "light") == ["Arial", -1]


@pytest.mark.parametrize("name", ["", None])
def test_empty_name_answers_none_and_caches_nothing(font, name):
    before = dict(font._path_resolve_cache)
    assert font._get_true_path(name, "bold") is None
    assert font._path_resolve_cache == before


def test_repeated_pair_returns_the_identical_object(font, tmp_path):
    (tmp_path / "file.ttf").write_bytes(b"")
    first = font._get_true_path("file.ttf", "regular")
    assert first == ["file.ttf", -1]
    assert font._get_true_path("file.ttf", "regular") is first


def test_fonts_given_as_files_answer_their_own_record(monkeypatch):
    monkeypatch.setattr(lumo_font, "load_or_update_font_map", lambda: INDEX)
    font = LumoFont("fonts/MyFont.ttc", ("extra.ttc", 2), None, None)
    font._ensure_init()
    for face in ("regular", "bold", "anything"):
        assert font._get_true_path("fonts/MyFont.ttc", face) is font._primary_path
        assert font._get_true_path("extra.ttc", face) is font._fallback_path


def test_without_an_index_resolution_fails():
    font = LumoFont("Arial", "Arial", None, None)
    font.__setstate__(tuple(None if name == "_font_map" else value
                            for name, value in zip(STATE_ORDER, font.__reduce__()[2])))
    with pytest.raises(AttributeError):
        font._get_true_path("Arial", "bold")


@pytest.mark.parametrize("index, error", [
    ({"paths": []}, "Expected dict, got list"),
    ({"paths": {}, "names": {"arial": 5}}, "Expected str, got int"),
])
def test_malformed_index_members(monkeypatch, index, error):
    monkeypatch.setattr(lumo_font, "load_or_update_font_map", lambda: index)
    font = LumoFont("Arial", "Arial", None, None)
    with pytest.raises(TypeError, match=error):
        font._ensure_init()
        font._get_true_path("Arial", "bold")


STATE_ORDER = sorted(["primary_name", "fallback_name", "fallback_dir", "emoji_path", "_primary_path",
                      "_fallback_path", "_anti_alias", "_font_objs", "_hb_fonts", "_path_cache", "_cmap_cache",
                      "_pg_font_cache", "_std_metrics", "_font_map", "_path_resolve_cache", "_intl_font_paths",
                      "_glyph_cache", "_text_cache", "emoji_fallback_engine", "_initialized", "_cached_p_path",
                      "_cached_f_path_std", "init_face"])
