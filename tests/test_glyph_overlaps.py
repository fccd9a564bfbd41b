"""Glyphs that overlap inside one run (joined Arabic letters, Nastaliq's
cascades, marks on their base letters) leave no light seams in solid ink:
every pixel that HarfBuzz's own hb-view draws solid at least two pixels deep
must be at least half covered in the engine's drawing too."""
import numpy as np
import pytest

from lumo_font import LumoFont
from support import hb_tools
from test_render_crosscheck import alpha, hb  # noqa: F401  (fixture)

NOTO = "/usr/share/fonts/truetype/noto/"
SIZE = 100
LINES = [
    pytest.param(NOTO + "NotoSansArabic-Regular.ttf", "بسم الله الرحمن الرحيم مرحبا بكم في بيتكم", id="arabic"),
    pytest.param(NOTO + "NotoNastaliqUrdu-Regular.ttf", "اردو ایک خوبصورت زبان ہے جس میں شاعری کی", id="nastaliq"),
    pytest.param(NOTO + "NotoSansDevanagari-Regular.ttf", "क्षत्रिय स्त्री द्वार", id="devanagari"),
]
DEPTH = 2          # how deep inside solid ink a pixel must lie to count
MAX_SHIFT = 4      # pixels the two drawings may be offset by as a whole


def ink(mask_source):
    xs, ys = np.flatnonzero(mask_source.any(axis=1)), np.flatnonzero(mask_source.any(axis=0))
    return mask_source[xs[0]:xs[-1] + 1, ys[0]:ys[-1] + 1].astype(int)


def aligned(ours, theirs):
    """Both drawings on one canvas, `theirs` shifted to where it matches `ours` best."""
    size = (max(ours.shape[0], theirs.shape[0]) + 2 * MAX_SHIFT, max(ours.shape[1], theirs.shape[1]) + 2 * MAX_SHIFT)
    placed = np.zeros(size, int)
    placed[MAX_SHIFT:MAX_SHIFT + ours.shape[0], MAX_SHIFT:MAX_SHIFT + ours.shape[1]] = ours
    best = None
    for dx in range(-MAX_SHIFT, MAX_SHIFT + 1):
        for dy in range(-MAX_SHIFT, MAX_SHIFT + 1):
            reference = np.zeros(size, int)
            reference[MAX_SHIFT + dx:MAX_SHIFT + dx + theirs.shape[0],
                      MAX_SHIFT + dy:MAX_SHIFT + dy + theirs.shape[1]] = theirs
            error = np.abs(placed - reference).sum()
            if best is None or error < best[0]:
                best = (error, reference)
    return placed, best[1]


def deep_inside(solid):
    """Pixels whose whole neighbourhood DEPTH pixels around is solid."""
    deep = solid.copy()
    deep[:DEPTH] = deep[-DEPTH:] = False
    deep[:, :DEPTH] = deep[:, -DEPTH:] = False
    w, h = solid.shape
    for dx in range(-DEPTH, DEPTH + 1):
        for dy in range(-DEPTH, DEPTH + 1):
            deep[DEPTH:w - DEPTH, DEPTH:h - DEPTH] &= solid[DEPTH + dx:w - DEPTH + dx, DEPTH + dy:h - DEPTH + dy]
    return deep


@pytest.mark.parametrize("path, text", LINES)
def test_no_seams_inside_solid_ink(hb, tmp_path, path, text):
    # The font is its own fallback, so the line is tall enough for the ink.
    font = LumoFont(path, path, None, None)
    ours = ink(alpha(font._render_shaped_run(text, SIZE, (255, 255, 255), [path, -1], "")[0]))
    theirs = ink(alpha(hb_tools.view(path, text, SIZE, tmp_path)))
    ours, theirs = aligned(ours, theirs)
    seams = deep_inside(theirs >= 250) & (ours < 128)
    assert int(seams.sum()) == 0
