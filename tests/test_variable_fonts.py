"""Variable fonts: the variations option and face words drawn on a font's own
axes, with Debian's Inter (wght 100-900, slnt -10-0, 18 named instances) and
fonts fontTools builds for avar, HVAR, gvar and CFF2, each checked against
hb-shape's advances and hb-view's ink given the same --variations."""
from pathlib import Path

import numpy as np
import pytest

from lumo_font import LumoFont
from support import fontgen, hb_tools
from test_render_crosscheck import alpha, hb, ink_box, overlap  # noqa: F401  (fixtures)
from test_typography import assert_ink_matches_hb_view, ink, pixels

INTER = "/usr/share/fonts/truetype/inter-vf/Inter.var.ttf"
INTER_ROMAN = "/usr/share/fonts/truetype/inter-vf/Inter-roman.var.ttf"  # a weight axis only
SIZE = 40
WORD = "Hamburg"


def font_of(path):
    if not Path(path).exists():
        pytest.skip(f"{path} not installed (Debian package fonts-inter-variable)")
    return LumoFont(str(path), "DejaVu Sans", None, None)


def assert_width_of_advance(width, advance):
    """A line's surface holds its advance, and one more column when its last
    glyph's box ends between two pixels."""
    assert advance <= width <= advance + 1, f"surface width {width} for an advance of {advance}"


@pytest.fixture
def inter():
    return font_of(INTER)


def test_weight_axis_draws_heavier_ink_and_wider_advances(inter, hb, tmp_path):
    inked, widths = [], []
    for weight in (100, 400, 900):
        block = inter.render_block(WORD, SIZE, variations={"wght": weight})
        inked.append(int(alpha(block).sum()))
        widths.append(inter.size(WORD, SIZE, variations=f"wght={weight}")[0])
        assert_width_of_advance(widths[-1], hb_tools.advance_px(INTER, WORD, SIZE, variations=f"wght={weight}"))
        assert_ink_matches_hb_view(ink(block), INTER, WORD, tmp_path, variations=f"wght={weight}")
    assert inked == sorted(inked) and inked[0] * 2 < inked[2]
    assert widths == sorted(widths) and widths[0] < widths[2]


def test_bold_face_of_a_variable_font_is_its_weight_700_not_synthetic_bold(inter, hb, tmp_path):
    ours = ink(inter.render(WORD, SIZE, face="bold"))
    bold = ink(hb_tools.view(INTER, WORD, SIZE, tmp_path, variations="wght=700"))
    regular = ink(hb_tools.view(INTER, WORD, SIZE, tmp_path))
    assert overlap(ours, bold) >= 0.95 and overlap(ours, regular) < 0.6
    assert [record["synthetic"] for record in inter.get_debug_info("Hb", "bold")] == ["NONE", "NONE"]
    assert ("FT", INTER, 0, SIZE, "bold", (700.0, 0.0)) in inter._font_objs


@pytest.mark.parametrize("face, variations", [
    ("thin", "wght=100"), ("light", "wght=300"), ("semibold", "wght=600"), ("Extra Bold", "wght=800"),
    ("black", "wght=900"), ("italic", "slnt=-10"), ("bold italic", "wght=700,slnt=-10"),
    ("semibold_italic", "wght=600,slnt=-10"),
])
def test_face_words_take_the_fonts_axes(inter, hb, tmp_path, face, variations):
    assert_ink_matches_hb_view(ink(inter.render(WORD, SIZE, face=face)), INTER, WORD, tmp_path, variations=variations)
    assert all(record["synthetic"] == "NONE" for record in inter.get_debug_info(WORD, face))


def test_face_tags_take_the_fonts_axes(inter, hb):
    assert pixels(inter.render("<semibold={Hamburg}>", SIZE)) == pixels(inter.render(WORD, SIZE, face="semibold"))


def test_regular_face_draws_the_default_instance(inter):
    assert inter._face_axes("regular", [INTER, -1]) == {}
    assert pixels(inter.render(WORD, SIZE, face="regular")) == pixels(inter.render(WORD, SIZE))
    assert all(len(key) == 5 for key in inter._font_objs if key[0] == "FT")


def test_a_face_without_an_axis_is_still_imitated():
    upright = font_of(INTER_ROMAN)
    assert upright._face_axes("bold italic", [INTER_ROMAN, -1]) == {"wght": 700.0}
    assert upright._face_axes("condensed", [INTER_ROMAN, -1]) == {}
    assert [record["synthetic"] for record in upright.get_debug_info("H", "bold italic")] == ["ITALIC"]
    # Slanted by imitation: the same weight, leaning.
    slanted = alpha(upright.render("l", SIZE, face="bold italic")) > 127
    upright_bold = alpha(upright.render_block("l", SIZE, variations="wght=700")) > 127
    assert abs(int(slanted.sum()) - int(upright_bold.sum())) < 0.1 * upright_bold.sum()
    assert ink_box(slanted).shape[0] > ink_box(upright_bold).shape[0]


def test_static_fonts_keep_their_files_and_synthetic_styles():
    font = LumoFont("Noto Sans", "DejaVu Sans", None, None)
    font.render("", SIZE)
    for face in ("bold", "semibold", "italic"):
        assert font._face_axes(face, font._get_true_path("Noto Sans", face)) == {}
    symbola = LumoFont("Symbola", "DejaVu Sans", None, None)
    assert [record["synthetic"] for record in symbola.get_debug_info("H", "bold")] == ["BOLD"]


@pytest.mark.parametrize("named, axes", [("Semi Bold", {"wght": 600}), ("semibold italic", "wght=600,slnt=-10"),
                                         ("BLACK", {"wght": 900, "slnt": 0})])
def test_named_instances_are_their_coordinates(inter, named, axes):
    assert pixels(inter.render_block(WORD, SIZE, variations=named)) == \
        pixels(inter.render_block(WORD, SIZE, variations=axes))


def test_an_instance_no_font_of_the_text_has_is_refused(inter):
    for call in (inter.size, inter.render_block, inter.size_block):
        with pytest.raises(ValueError, match="variations: no font of the text has a named instance 'Wide'"):
            call("Hi 你好", SIZE, variations="Wide")
    # Text with no font to draw it, and fonts of the text that lack it beside one that has it.
    assert inter.size("", SIZE, variations="Wide") == inter.size("", SIZE)
    assert inter.size_block("Hi 你好", SIZE, variations="Bold") == inter.size_block("Hi 你好", SIZE, variations="wght=700")


def test_values_are_clamped_to_the_axes(inter):
    heaviest = inter.render_block(WORD, SIZE, variations={"wght": 900})
    assert pixels(inter.render_block(WORD, SIZE, variations={"wght": 5000, "slnt": 40})) == pixels(heaviest)
    # Back at the default: drawn, and cached, as without variations.
    default = inter.render_block(WORD, SIZE, variations={"wght": 400.0, "opsz": 12})
    assert pixels(default) == pixels(inter.render_block(WORD, SIZE))
    assert {key[5] for key in inter._font_objs if key[0] == "FT" and len(key) == 6} == {(900.0, 0.0)}


def test_call_variations_come_after_the_face_word(inter):
    assert pixels(inter.render_block(WORD, SIZE, face="bold", variations={"wght": 300})) == \
        pixels(inter.render_block(WORD, SIZE, variations={"wght": 300}))
    assert pixels(inter.render_block(WORD, SIZE, face="italic", variations="wght=300")) == \
        pixels(inter.render_block(WORD, SIZE, variations="Light Italic"))


def test_fonts_without_the_axes_draw_as_before():
    font = LumoFont("DejaVu Sans", "Noto Sans", None, None)
    line = "Hamburg 你好"
    assert pixels(font.render_block(line, SIZE, variations={"wght": 900, "wdth": 75})) == \
        pixels(font.render_block(line, SIZE))
    # Beside a variable font, a static one draws its characters as before.
    mixed = font_of(INTER)
    assert mixed.get_debug_info("ა")[0]["font"] == "DejaVuSans.ttf"  # Georgian: not in Inter
    assert pixels(mixed.render_block("ა", SIZE, variations="wght=900")) == pixels(mixed.render_block("ა", SIZE))
    assert not np.array_equal(alpha(mixed.render_block("Hi ა", SIZE)),
                              alpha(mixed.render_block("Hi ა", SIZE, variations="wght=900")))


# Fonts built for the tests: avar bends the axis (user weight 500 is design 200),
# so that a library that skipped it would draw the wrong widths.
BENT = [(100, 100), (500, 200), (900, 900)]
BUILT = [
    pytest.param("glyf", True, id="gvar-HVAR-avar"),
    pytest.param("glyf", False, id="gvar-phantom-points-avar"),
    pytest.param("cff", True, id="CFF2-HVAR-avar"),
]


@pytest.mark.parametrize("outline, hvar", BUILT)
@pytest.mark.parametrize("weight", [100, 300, 500, 900])
def test_built_variable_fonts_match_harfbuzz(tmp_path, hb, outline, hvar, weight):
    path = fontgen.build_variable_font(tmp_path / f"var-{outline}.ttf", outline=outline, hvar=hvar, avar=BENT)
    font = LumoFont(str(path), "DejaVu Sans", None, None)
    variations = f"wght={weight}"
    assert_width_of_advance(font.size("HH", SIZE, variations=variations)[0],
                            hb_tools.advance_px(path, "HH", SIZE, variations=variations))
    ours = ink(font.render_block("HH", SIZE, variations=variations))
    theirs = ink(hb_tools.view(path, "HH", SIZE, tmp_path, variations=variations))
    assert abs(ours.shape[0] - theirs.shape[0]) <= 1 and abs(ours.shape[1] - theirs.shape[1]) <= 1
    assert overlap(ours, theirs) >= 0.9


def test_built_font_instances_and_face_words(tmp_path):
    path = fontgen.build_variable_font(tmp_path / "var.ttf", avar=BENT)
    font = LumoFont(str(path), "DejaVu Sans", None, None)
    assert font._face_axes("black", [str(path), -1]) == {"wght": 900.0}
    assert font._face_axes("bold", [str(path), -1]) == {"wght": 700.0}
    assert pixels(font.render_block("H", SIZE, variations="Black")) == pixels(font.render_block("H", SIZE, face="black"))
