"""OpenType features and the language of the text, as size, render_block and
size_block take them: each checked against HarfBuzz's own hb-shape and
hb-view given the same --features and --language, then together with the
other options, the caches and the errors for bad values."""
import re
from pathlib import Path

import numpy as np
import pygame
import pytest

from lumo_font import LumoFont
from support import hb_tools
from test_render_crosscheck import alpha, hb, ink_box, overlap  # noqa: F401  (fixtures)

NOTO_SANS = "/usr/share/fonts/truetype/noto/NotoSans-Regular.ttf"
NOTO_SANS_ITALIC = "/usr/share/fonts/truetype/noto/NotoSans-Italic.ttf"
NOTO_CJK = ["/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc", 0]  # Noto Sans CJK JP
INTER = "/usr/share/fonts/truetype/inter-vf/Inter.var.ttf"
SIZE = 40


def installed(path_data):
    path = hb_tools.split_path(path_data)[0]
    if not Path(path).exists():
        pytest.skip(f"{path} not installed")
    return path_data


@pytest.fixture
def font_of():
    """A font object whose primary font is the file `path` (DejaVu Sans behind it)."""
    def new(path_data):
        # A collection named as a file is read as its face 0.
        return LumoFont(hb_tools.split_path(installed(path_data))[0], "DejaVu Sans", None, None)
    return new


def ink(surface):
    return ink_box(alpha(surface) > 127)


def assert_ink_matches_hb_view(ours, path_data, text, tmp_path, **options):
    theirs = ink(hb_tools.view(path_data, text, SIZE, tmp_path, **options))
    assert abs(ours.shape[0] - theirs.shape[0]) <= 2 and abs(ours.shape[1] - theirs.shape[1]) <= 2, \
        f"ink box {ours.shape} against hb-view's {theirs.shape}"
    assert overlap(ours, theirs) >= 0.85


def pixels(surface):
    return surface.get_size(), pygame.image.tobytes(surface, "RGBA")


@pytest.mark.parametrize("text, ligatures", [("fi", 1), ("ffl", 1), ("office", 4)])
@pytest.mark.parametrize("off", ["-liga", {"liga": False}, {"liga": 0}, "liga=0"])
def test_ligatures_are_one_glyph_by_default_and_apart_with_liga_off(font_of, hb, tmp_path, text, ligatures, off):
    font = font_of(NOTO_SANS)
    assert len(hb_tools.shape(NOTO_SANS, text)) == ligatures
    assert len(hb_tools.shape(NOTO_SANS, text, features="-liga")) == len(text)
    joined, apart = font.render_block(text, SIZE), font.render_block(text, SIZE, features=off)
    assert pixels(joined) != pixels(apart)
    assert_ink_matches_hb_view(ink(joined), NOTO_SANS, text, tmp_path)
    assert_ink_matches_hb_view(ink(apart), NOTO_SANS, text, tmp_path, features="-liga")


def test_every_line_of_a_wrapped_block_keeps_the_call_features(font_of):
    font = font_of(NOTO_SANS)
    text = " ".join(["office affine"] * 8)
    joined = font.layout_block(text, SIZE, wraplength=300)
    apart = font.layout_block(text, SIZE, wraplength=300, features={"liga": 0})
    assert len(apart.lines) >= 3
    joined_surface, apart_surface = joined.surface(), apart.surface()
    for joined_line, apart_line in zip(joined.lines, apart.lines):
        assert pixels(joined_surface.subsurface(joined_line.rect)) != pixels(apart_surface.subsurface(apart_line.rect))


def test_tabular_figures_make_digits_equally_wide(font_of, hb):
    font = font_of(INTER)  # proportional figures by default
    assert font.size("1111", SIZE)[0] < font.size("8888", SIZE)[0]
    ones, eights = font.size("1111", SIZE, features="tnum"), font.size("8888", SIZE, features={"tnum": True})
    assert ones == eights
    assert ones[0] == hb_tools.advance_px(INTER, "8888", SIZE, features="tnum")


def test_kerning_off_widens_av(font_of, hb):
    font = font_of(NOTO_SANS)
    kerned, loose = font.size("AV", SIZE)[0], font.size("AV", SIZE, features={"kern": False})[0]
    assert loose > kerned
    assert loose == hb_tools.advance_px(NOTO_SANS, "AV", SIZE, features="-kern")
    assert kerned == hb_tools.advance_px(NOTO_SANS, "AV", SIZE)


def test_serbian_italic_differs_from_russian(font_of, hb, tmp_path):
    font = LumoFont("Noto Sans", "DejaVu Sans", None, None)
    installed(NOTO_SANS_ITALIC)
    text = "бгдпт"
    drawn = {language: font.render_block(text, SIZE, face="italic", language=language)
             for language in ("sr", "ru", "bg")}
    assert pixels(drawn["sr"]) != pixels(drawn["ru"])
    assert pixels(drawn["ru"]) == pixels(font.render_block(text, SIZE, face="italic"))
    assert [glyph["g"] for glyph in hb_tools.shape(NOTO_SANS_ITALIC, text, language="sr")] != \
        [glyph["g"] for glyph in hb_tools.shape(NOTO_SANS_ITALIC, text, language="ru")]
    for language in ("sr", "ru"):
        assert_ink_matches_hb_view(ink(drawn[language]), NOTO_SANS_ITALIC, text, tmp_path, language=language)
        assert font.size(text, SIZE, "italic", language=language)[0] >= \
            hb_tools.advance_px(NOTO_SANS_ITALIC, text, SIZE, language=language)


def test_cjk_character_takes_the_languages_form(font_of, hb, tmp_path):
    font = font_of(NOTO_CJK)
    japanese = font.render_block("直", SIZE, language="ja")
    chinese = font.render_block("直", SIZE, language="zh-Hant")
    assert pixels(japanese) != pixels(chinese)
    assert_ink_matches_hb_view(ink(japanese), NOTO_CJK, "直", tmp_path, language="ja")
    assert_ink_matches_hb_view(ink(chinese), NOTO_CJK, "直", tmp_path, language="zh-Hant")
    # The tag is taken in any case.
    assert pixels(font.render_block("直", SIZE, language="ZH-hant")) == pixels(chinese)


def test_options_apply_to_every_line_of_a_wrapped_aligned_block(font_of):
    font = font_of(NOTO_SANS)
    text = "office AV office AV\n^2affluent^0 <bold={office}>"
    options = dict(wraplength=6 * SIZE, align="center", features="-liga,-kern", language="en")
    block = font.render_block(text, SIZE, **options)
    assert block.get_size() == font.size_block(text, SIZE, **options)
    lines = font._block_lines(text, SIZE, **options)
    assert len(lines) >= 3
    # Every line is drawn as size() measures it with the same options.
    assert pixels(block) != pixels(font.render_block(text, SIZE, wraplength=6 * SIZE, align="center"))
    # Each line drawn as size() measures it with the same options: kerning off widens every "AV".
    for visible, markup, _ in lines:
        if "AV" in visible:
            assert font.size(markup, SIZE, features="-liga,-kern")[0] > font.size(markup, SIZE)[0]


def test_right_to_left_text_and_markup_off_take_the_options():
    font = LumoFont("Noto Sans", "DejaVu Sans", None, None)
    text = "^1fi שלום"
    ligature_off = font.render_block(text, SIZE, direction="rtl", markup=False, features="-liga")
    assert ligature_off.get_size() == font.size_block(text, SIZE, direction="rtl", markup=False, features="-liga")
    assert pixels(ligature_off) != pixels(font.render_block(text, SIZE, direction="rtl", markup=False))


def test_calls_without_options_keep_their_caches(font_of):
    font = font_of(NOTO_SANS)
    line = font.render("AV", SIZE)
    block = font.render_block("AV", SIZE)
    assert font.render_block("AV", SIZE, features={"kern": False}) is not block
    assert font.render_block("AV", SIZE, features={"kern": False}) is font.render_block("AV", SIZE, features="-kern")
    assert font.render_block("AV", SIZE) is block
    # size() answers from render()'s cache only for calls without options.
    assert font.size("AV", SIZE) == line.get_size()
    assert font.size("AV", SIZE, features={"kern": False})[0] > line.get_width()
    assert font.size("AV", SIZE, language="en") == line.get_size()
    assert all(len(key) == 5 for key in font._font_objs if key[0] == "FT")


@pytest.mark.parametrize("option, value, message", [
    ("features", "li ga", "features: 'li ga' is not a feature setting"),
    ("features", "+liga,kern=-1", "features: 'kern=-1' is not a feature setting"),
    ("features", "liga[1:3]", "features: 'liga[1:3]' gives a range, which is not supported"),
    ("features", {"ligatures": True}, "features: 'ligatures' is not an OpenType feature tag"),
    ("features", {"liga": -1}, "features: the value of 'liga' must be 0 to 4294967295, not -1"),
    ("features", {"liga": 1 << 80}, "features: the value of 'liga' must be 0 to 4294967295"),
    ("language", "en_US", "language: 'en_US' is not a BCP 47 language tag"),
    ("language", "chinese-traditional-taiwan", "language: 'chinese-traditional-taiwan' is not a BCP 47"),
    ("variations", "wght=bold", "variations: 'wght=bold' is not an axis setting"),
    ("variations", {"wght": float("nan")}, "variations: the value of 'wght' must be a finite number"),
    ("variations", {"weight": 700}, "variations: 'weight' is not an OpenType axis tag"),
])
@pytest.mark.parametrize("call", ["size", "render_block", "size_block"])
def test_bad_values_are_value_errors_that_name_them(font_of, call, option, value, message):
    font = font_of(NOTO_SANS)
    with pytest.raises(ValueError) as raised:
        getattr(font, call)("office", SIZE, **{option: value})
    assert str(raised.value).startswith(message)


@pytest.mark.parametrize("option, value, message", [
    ("features", 3, "features must be a str such as '-liga,+tnum' or a mapping such as {'liga': False}, not int"),
    ("features", ["liga"], "features must be a str"),
    ("features", {"liga": "yes"}, "features: the value of 'liga' must be a bool or an int, not str"),
    ("features", {b"liga": 1}, "features: a tag must be a str, not bytes"),
    ("language", 7, "language must be a str such as 'sr' or 'zh-Hant', not int"),
    ("variations", {"wght": "700"}, "variations: the value of 'wght' must be an int or a float, not str"),
    ("variations", {"wght": True}, "variations: the value of 'wght' must be an int or a float, not bool"),
    ("variations", 700, "variations must be a mapping such as {'wght': 650} or a named instance's name, not int"),
])
def test_values_of_the_wrong_type_are_type_errors(font_of, option, value, message):
    with pytest.raises(TypeError, match=re.escape(message)):
        font_of(NOTO_SANS).size_block("office", SIZE, **{option: value})


def test_a_hostile_mapping_raises_its_own_error(font_of):
    class Broken(dict):
        def items(self):
            raise RuntimeError("items() failed")
    with pytest.raises(RuntimeError, match="items"):
        font_of(NOTO_SANS).size("office", SIZE, features=Broken(liga=1))


def test_the_options_are_keyword_only(font_of):
    font = font_of(NOTO_SANS)
    with pytest.raises(TypeError):
        font.size("office", SIZE, "", True, "-liga")
    with pytest.raises(TypeError):
        font.render("office", SIZE, features="-liga")  # render() keeps its arguments


def test_empty_options_are_the_defaults(font_of):
    font = font_of(NOTO_SANS)
    block = font.render_block("office", SIZE)
    assert font.render_block("office", SIZE, features="", language="", variations={}) is block
    assert font.render_block("office", SIZE, features=None, language=None, variations=None) is block
    assert np.array_equal(alpha(font.render_block("office", SIZE, features={})), alpha(block))


def test_command_line_draws_with_the_options(tmp_path, capsys):
    from lumo_font.__main__ import main
    installed(INTER)

    def drawn(*options, text="office 1111", font=INTER):
        output = tmp_path / "out.png"
        assert main(["render", text, "--font", font, "--bg", "none", "-o", str(output), *options]) == 0
        assert capsys.readouterr().out.startswith("Wrote ")
        return pixels(pygame.image.load(str(output)))

    plain = drawn("--language", "en")
    assert drawn("--features", "-liga,+tnum") != plain
    assert drawn("--variations", "wght=800") == drawn("--variations", "Extra Bold") != plain
    # A face word the variable font draws on its axes is known.
    assert drawn("--face", "semibold", "--language", "en") == drawn("--variations", "wght=600")
    serbian = drawn("--language", "sr", "--face", "italic", text="бгдпт", font="Noto Sans")
    assert serbian != drawn("--language", "ru", "--face", "italic", text="бгдпт", font="Noto Sans")


@pytest.mark.parametrize("options, message", [
    (["--language", "en_US"], "cannot draw the text: language: 'en_US' is not a BCP 47 language tag"),
    (["--features", "liga[0:2]"], "cannot draw the text: features: 'liga[0:2]' gives a range"),
    (["--variations", "Ultra Wide"], "cannot draw the text: variations: no font of the text has a named instance"),
])
def test_command_line_refuses_bad_options_in_one_line(options, message, capsys):
    from lumo_font.__main__ import main
    assert main(["render", "office", *options]) == 2
    captured = capsys.readouterr()
    assert captured.err.startswith(f"lumo-font: {message}") and captured.err.count("\n") == 1


def test_the_guide_picture_is_drawn():
    from support.doc_pictures import drawn_picture
    installed(INTER)
    picture = drawn_picture("guides/typography.md", "pictures/typography.png")
    assert picture.get_width() > 500 and picture.get_height() > 500
