"""Face resolution: a family name and a face word become the file to draw with;
a family that is not installed is drawn by an installed stand-in."""
import builtins
import re

import pygame
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
def test_index_resolution(font, name, face, expected, capsys):
    assert font._get_true_path(name, face) == expected
    assert capsys.readouterr().out == ""   # no stand-in, no warning


def test_answers_are_the_index_records_themselves(font):
    assert font._get_true_path("Arial", "bold") is INDEX["paths"]["arial bold"]


def test_unknown_family_is_drawn_by_a_stand_in_and_cached(font, tmp_path, capsys):
    # Neither a metric twin nor a default sans is in this index: its first regular face, in the face asked.
    assert font._get_true_path("Mystery", "bold") is ARIAL_BOLD
    assert capsys.readouterr().out == "[WARNING] Font family 'Mystery' is not installed; drawing with 'arial' instead\n"
    (tmp_path / "Mystery").mkdir()
    assert font._get_true_path("Mystery", "bold") is ARIAL_BOLD   # the disk is not looked at again
    assert font._get_true_path("Mystery", "italic") == ["Mystery", -1]


def test_unknown_family_answers_its_name_when_no_font_is_installed(monkeypatch, capsys):
    monkeypatch.setattr(lumo_font, "load_or_update_font_map", lambda: {"paths": {}, "names": {}})
    font = LumoFont("Mystery", "Mystery", None, None)
    font._ensure_init()
    assert font._get_true_path("Mystery", "bold") == "Mystery" and font.fallback_name == ""
    assert capsys.readouterr().out == ""


def test_a_folder_named_like_a_family_wins_over_the_index(font, tmp_path, capsys):
    (tmp_path / "Arial").mkdir()
    assert font._get_true_path("Arial", "light") == ["Arial", -1]
    (tmp_path / "Mystery").mkdir()
    assert font._get_true_path("Mystery", "light") == ["Mystery", -1]
    assert capsys.readouterr().out == ""


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


# Families that are not installed --------------------------------------------------

@pytest.fixture
def stand_in_fonts(only_user_fonts, make_font):
    """A private font index holding one metric twin of each kind but no DejaVu Sans."""
    files = {}
    for full_name in ["Liberation Sans", "Liberation Sans Bold", "Tinos", "Noto Sans"]:
        files[full_name] = str(make_font(str(only_user_fonts / (full_name.replace(" ", "") + ".ttf")), full_name))
    return files


def warnings_in(output):
    return re.findall(r"\[WARNING\] Font family '(.*)' is not installed; drawing with '(.*)' instead", output)


@pytest.mark.parametrize("asked, face, drawn_by", [
    ("Arial", "regular", "Liberation Sans"),
    ("Helvetica", "bold", "Liberation Sans Bold"),     # the twin's own bold face
    ("Times New Roman", "regular", "Tinos"),           # the second twin when the first is missing
    ("times", "bold", "Tinos"),
    ("Courier New", "regular", "Noto Sans"),           # no mono twin, no DejaVu Sans: the next default sans
    ("Noto Snas", "regular", "Noto Sans"),
])
def test_stand_ins_are_metric_twins_then_a_default_sans(stand_in_fonts, asked, face, drawn_by, capsys):
    font = LumoFont(asked, "Noto Sans", None, None)
    font._ensure_init()
    assert font._get_true_path(asked, face)[0] == stand_in_fonts[drawn_by]
    assert [name for name, _ in warnings_in(capsys.readouterr().out)] == [asked]


def test_a_stand_in_draws_everywhere_and_is_reported_once_per_object_and_name(stand_in_fonts, capsys):
    font = LumoFont("Arial", "Times New Roman", None, None)
    lines = [font.render("Hello", 20), font.render("Hello", 30), font.render("Hi", 20, face="bold"),
             font.render_block("Hello world", 20, wraplength=40)]
    assert all(line.get_bounding_rect().width > 0 for line in lines)
    assert font.size("Hello", 20) == lines[0].get_size()
    assert font.fallback_name == "Times New Roman"   # the fallback layer stays, drawn by its stand-in
    record = font.get_debug_info("A")[0]
    assert (record["font"], record["font_source"], record["has_glyph"]) == ("LiberationSans.ttf", "PRIMARY", True)
    output = capsys.readouterr().out
    assert sorted(warnings_in(output)) == [("Arial", "Liberation Sans"), ("Times New Roman", "Tinos")]
    assert "Error loading HarfBuzz font" not in output
    LumoFont("Arial", "Noto Sans", None, None).render("Hello", 20)   # another object says it again
    assert warnings_in(capsys.readouterr().out) == [("Arial", "Liberation Sans")]


def test_a_print_that_draws_with_the_object_hears_of_a_stand_in_once(stand_in_fonts, monkeypatch):
    font = LumoFont("Arial", "Noto Sans", None, None)
    font._ensure_init()
    heard = []

    def drawing_print(line):
        heard.append(line)
        font.render("Hi", 20, face="bold")   # resolves Arial again, in another face

    monkeypatch.setattr(builtins, "print", drawing_print)
    font.render("Hello", 20)
    assert warnings_in("\n".join(heard)) == [("Arial", "Liberation Sans")]


def real_index_has(family):
    index = lumo_font.load_or_update_font_map()
    low = family.lower()
    return low in index["paths"] or low in index["names"]


def test_the_default_object_draws_where_its_families_are_not_installed(monkeypatch, tmp_path, capsys):
    monkeypatch.chdir(tmp_path)
    if real_index_has("Arial") or real_index_has("Times New Roman"):
        pytest.skip("Arial or Times New Roman is installed here")
    font = LumoFont()
    for size in (20, 24, 20):
        assert font.render("Hello", size).get_bounding_rect().width > 0
    assert font.render("Hello", 20, face="bold").get_bounding_rect().width > 0
    output = capsys.readouterr().out
    assert [name for name, _ in warnings_in(output)] == ["Times New Roman", "Arial"]
    assert "Error loading HarfBuzz font" not in output


def test_a_misspelt_family_draws_with_the_default_sans(capsys):
    if not real_index_has("DejaVu Sans"):
        pytest.skip("DejaVu Sans is not installed")
    drawn = LumoFont("Noto Snas", "DejaVu Sans", None, None).render("Hello", 24)
    expected = LumoFont("DejaVu Sans", "DejaVu Sans", None, None).render("Hello", 24)
    assert pygame.image.tobytes(drawn, "RGBA") == pygame.image.tobytes(expected, "RGBA")
    assert warnings_in(capsys.readouterr().out) == [("Noto Snas", "DejaVu Sans")]
