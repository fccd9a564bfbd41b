"""Lines drawn with real installed fonts: each script's shaping and ink checked
against HarfBuzz's own tools (hb-shape, hb-view), then what a user sees of a
line: the order of its words, its colour, 1-bit drawing and imitated bold."""
from pathlib import Path

import numpy as np
import pygame
import pytest

import lumo_font
from lumo_font import LumoFont
from support import hb_tools

NOTO = Path("/usr/share/fonts/truetype/noto")
SCRIPT_FONTS = ("NotoSansArabic-Regular.ttf", "NotoSansHebrew-Regular.ttf", "NotoSansDevanagari-Regular.ttf",
                "NotoSansThai-Regular.ttf", "NotoSansKhmer-Regular.ttf", "NotoSerifTibetan-Regular.ttf")
SYMBOLA = "/usr/share/fonts/truetype/ancient-scripts/Symbola_hint.ttf"
CJK = ["/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc", 0]  # a face of a collection
SIZE = 32
WHITE = (255, 255, 255)

# A word of each script, drawn with the file the engine picks for it (None) or a given one.
WORDS = [
    pytest.param("مرحبا", None, id="arabic"),
    pytest.param("שלום", None, id="hebrew"),
    pytest.param("नमस्ते", None, id="devanagari"),
    pytest.param("สวัสดี", None, id="thai"),
    pytest.param("សួស្តី", None, id="khmer"),
    pytest.param("ལྷ་ས", None, id="tibetan"),
    pytest.param("Cafe\u0301 nai\u0308ve", None, id="latin-combining"),
    pytest.param("你好世界", CJK, id="cjk"),
]
# Its vowel sign rises above the line's ascent: the run is drawn lower to keep it.
TALL_TIBETAN = pytest.param("བཀྲ་ཤིས", None, id="tibetan-tall")


@pytest.fixture
def hb():
    missing = hb_tools.missing_tools()
    if missing:
        pytest.skip(f"HarfBuzz's {', '.join(missing)} not installed (Debian package libharfbuzz-bin)")


@pytest.fixture
def script_dir(tmp_path):
    """The folder of extra script fonts: links to the system's Noto script fonts."""
    missing = [name for name in SCRIPT_FONTS if not (NOTO / name).exists()]
    if missing:
        pytest.skip(f"Noto script fonts not installed: {', '.join(missing)}")
    folder = tmp_path / "scripts"
    folder.mkdir()
    for name in SCRIPT_FONTS:
        (folder / name).symlink_to(NOTO / name)
    return folder


@pytest.fixture
def new_font(script_dir):
    """Opens an initialised font object; skips when a family it names is not installed."""
    def new(primary="Noto Sans", fallback="DejaVu Sans", emoji=SYMBOLA):
        font = LumoFont(primary, fallback, str(script_dir), emoji)
        font.render("", SIZE)  # the first render reads the font index
        for family in (primary, fallback):
            if not isinstance(font._get_true_path(family, ""), list):
                pytest.skip(f"font family {family!r} not installed")
        return font
    return new


@pytest.fixture
def font(new_font):
    return new_font()


def file_for(font, text, path):
    if path is None:
        return font._find_best_font_path(text[0], "")
    if not Path(hb_tools.split_path(path)[0]).exists():
        pytest.skip(f"{path[0]} not installed")
    return path


def alpha(surface):
    return pygame.surfarray.array_alpha(surface)  # indexed [x, y]


def ink_box(mask):
    """The cropped part of a boolean [x, y] mask that holds its ink."""
    xs, ys = np.flatnonzero(mask.any(axis=1)), np.flatnonzero(mask.any(axis=0))
    assert xs.size, "nothing was drawn"
    return mask[xs[0]:xs[-1] + 1, ys[0]:ys[-1] + 1]


def overlap(a, b):
    """Intersection over union of two ink masks laid with their top-left
    corners together, or a pixel apart: FreeType rasterises on whole pixels,
    hb-view where the glyph falls, so an edge row may be inked in one only."""
    w, h = max(a.shape[0], b.shape[0]) + 2, max(a.shape[1], b.shape[1]) + 2
    pa = np.zeros((w, h), bool)
    pa[1:a.shape[0] + 1, 1:a.shape[1] + 1] = a
    best = 0.0
    for dx in (0, 1, 2):
        for dy in (0, 1, 2):
            pb = np.zeros((w, h), bool)
            pb[dx:dx + b.shape[0], dy:dy + b.shape[1]] = b
            best = max(best, (pa & pb).sum() / (pa | pb).sum())
    return best


def locate(line, word):
    """The column at which the ink of `word` (alpha array) stands in `line` (alpha array)."""
    xs = np.flatnonzero(word.any(axis=1))
    piece = word[xs[0]:xs[-1] + 1].astype(int)
    width = piece.shape[0]
    errors = [np.abs(line[x:x + width].astype(int) - piece).sum() for x in range(line.shape[0] - width + 1)]
    best = int(np.argmin(errors))
    assert errors[best] <= 0.05 * piece.sum(), "the word's ink is nowhere in the line"
    return best


@pytest.mark.parametrize("text, path", WORDS)
def test_run_advance_matches_hb_shape(font, hb, text, path):
    path = file_for(font, text, path)
    assert all(glyph["g"] for glyph in hb_tools.shape(path, text)), f"{path} lacks characters of {text!r}"
    _, advance = font._render_shaped_run(text, SIZE, WHITE, path, "")
    assert abs(advance - hb_tools.advance_px(path, text, SIZE)) <= 1


@pytest.mark.parametrize("text, path", WORDS + [TALL_TIBETAN])
def test_run_ink_matches_hb_view(font, hb, tmp_path, text, path):
    path = file_for(font, text, path)
    ours = ink_box(alpha(font._render_shaped_run(text, SIZE, WHITE, path, "")[0]) > 127)
    theirs = ink_box(alpha(hb_tools.view(path, text, SIZE, tmp_path)) > 127)
    assert abs(ours.shape[0] - theirs.shape[0]) <= 2 and abs(ours.shape[1] - theirs.shape[1]) <= 2, \
        f"ink box {ours.shape} against hb-view's {theirs.shape}"
    assert overlap(ours, theirs) >= 0.85


def test_bold_face_of_a_family_with_a_bold_file_draws_that_file(font, hb, tmp_path):
    bold_file = font._get_true_path("Noto Sans", "bold")
    assert bold_file != font._get_true_path("Noto Sans", "regular")
    ours = ink_box(alpha(font.render("Hamburg", SIZE, face="bold")) > 127)
    theirs = ink_box(alpha(hb_tools.view(bold_file, "Hamburg", SIZE, tmp_path)) > 127)
    assert overlap(ours, theirs) >= 0.85  # not emboldened a second time


@pytest.mark.parametrize("word", [
    "مرحبا", "שלום", "नमस्ते", "क्\u200dष", "สวัสดี", "សួស្តី", "ལྷ་ས", "nai\u0308ve",
])
def test_word_with_marks_and_joiners_is_drawn_as_one_shaped_run(font, word):
    run, _ = font._render_shaped_run(word, SIZE, WHITE, font._find_best_font_path(word[0], ""), "")
    line = font.render(word, SIZE)
    assert line.get_size() == run.get_size()
    assert pygame.image.tobytes(line, "RGBA") == pygame.image.tobytes(run, "RGBA")


@pytest.mark.parametrize("line, left_to_right", [
    ("שלום עולם", ["עולם", "שלום"]),
    ("Hello مرحبا", ["Hello", "مرحبا"]),
    ("מים Wasser", ["מים", "Wasser"]),
    ("go שלום עולם now", ["go", "עולם", "שלום", "now"]),
])
def test_words_take_their_places_in_a_left_to_right_line(font, line, left_to_right):
    drawn = alpha(font.render(line, SIZE))
    places = [locate(drawn, alpha(font.render(word, SIZE))) for word in left_to_right]
    assert places == sorted(places)


@pytest.mark.parametrize("color", [(255, 255, 255), (0, 0, 0), (30, 144, 255), (200, 40, 40, 100)])
@pytest.mark.parametrize("letter", ["l", "I"])
def test_ink_takes_the_requested_colour(font, letter, color):
    surface = font.render(letter, 48, color)
    rgb, a = pygame.surfarray.array3d(surface), alpha(surface)
    xs, ys = np.flatnonzero(a.any(axis=1)), np.flatnonzero(a.any(axis=0))
    mid_x, mid_y = (xs[0] + xs[-1]) // 2, (ys[0] + ys[-1]) // 2  # inside the stem
    assert (*rgb[mid_x, mid_y], a[mid_x, mid_y]) == (*color[:3], 255)
    assert (rgb[a > 0] == color[:3]).all()      # edges fade in alpha only
    assert a[0, -1] == 0 and a[-1, -1] == 0     # background below the baseline


@pytest.mark.parametrize("text, face", [
    ("Hamburg", ""), ("مرحبا", ""), ("नमस्ते", ""), ("สวัสดี", ""),
    ("สวัสดี", "bold"),  # emboldened, then rendered to 1 bit
])
def test_without_anti_aliasing_every_pixel_is_opaque_or_clear(new_font, text, face):
    smooth = alpha(new_font().render(text, SIZE, face=face))
    lumo_font.ANTI_ALIAS = False
    sharp = alpha(new_font().render(text, SIZE, face=face))
    assert ((smooth > 0) & (smooth < 255)).any()
    assert set(np.unique(sharp)) == {0, 255}
    assert overlap(sharp == 255, smooth > 127) >= 0.7  # the same letters, only their edges differ


@pytest.mark.parametrize("family, text", [
    ("Noto Sans Coptic", "ⲛⲟⲩⲧⲉ"),
    ("Symbola", "Hamburg"),
    ("Noto Sans", "สวัสดี"),  # drawn from the folder of script fonts, which holds no bold file
])
def test_bold_is_imitated_for_a_family_without_a_bold_file(new_font, family, text):
    font = new_font(family, "DejaVu Sans", None)
    drawn_with = font._find_best_font_path(text[0], "")
    assert font._find_best_font_path(text[0], "bold") == drawn_with
    regular, bold = font.render(text, SIZE), font.render(text, SIZE, face="bold")
    assert (alpha(bold) > 127).sum() >= 1.1 * (alpha(regular) > 127).sum()
    assert bold.get_width() >= regular.get_width()
