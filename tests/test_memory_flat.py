"""Memory over long runs: a game calls the engine every frame, so 10,000 calls
of any public entry point must leave the resident size where warm-up left it,
and font objects caught in reference cycles through their caches must be
collected like any other Python object."""
import gc
import os
import pickle
import weakref

import pytest

import lumo_font
from lumo_font import LumoFont
from render_fixtures import box_font, box_fonts  # noqa: F401  (fixtures)
from support.fontgen import build_font
from support.sanitizers import skip_under_address_sanitizer

CALLS = 10_000
WARM_UP = 2_000
SLACK_KIB = 2048
PAGE_KIB = os.sysconf("SC_PAGE_SIZE") // 1024


def resident_kib():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * PAGE_KIB


# Taken before any fixture replaces the index load with a stand-in.
LOAD_OR_UPDATE_FONT_MAP = lumo_font.load_or_update_font_map
BUILD_FONT_MAP = lumo_font.build_font_map

# Each entry point with arguments that change from call to call, as a game's do.
ENTRY_POINTS = {
    "render": lambda font, i: font.render(f"Score {i}", 20, (255, 200, 0)),
    "render-dynamic": lambda font, i: font.render(f"{i:06d}", 20, dynamic=True),
    "render-markup": lambda font, i: font.render(f"^1a<bold={{b{i % 10}}}> \u05d0\u05d1 {i}", 14),
    "get_debug_info": lambda font, i: font.get_debug_info(f"A^2<italic={{{i}}}>\u05d0"),
    "LumoFont": lambda font, i: LumoFont(f"Family {i} Bold", "Box Fallback", None, None, "italic"),
    "pickle": lambda font, i: pickle.loads(pickle.dumps(LumoFont(f"Family {i}", "Box Fallback"))),
    "_parse_font_input": lambda font, i: lumo_font._parse_font_input(f"/fonts/face{i}.ttf"),
    "get_family_root": lambda font, i: lumo_font.get_family_root(f"Noto Sans {i} SemiBold Italic"),
    "normalize_font_name": lambda font, i: lumo_font.normalize_font_name(f"Noto Sans {i} Bold", [f"Noto Sans {i}"]),
    "is_emoji": lambda font, i: lumo_font.is_emoji(chr(0x1F600 + i % 64)),
    "load_or_update_font_map": lambda font, i: LOAD_OR_UPDATE_FONT_MAP(),
    "build_font_map": lambda font, i: BUILD_FONT_MAP(),
}


@pytest.fixture
def small_index(only_user_fonts):
    """An index of one private font, so that 10,000 loads take seconds, not minutes."""
    build_font(only_user_fonts / "box.ttf", "Box Sans")


@skip_under_address_sanitizer
@pytest.mark.parametrize("entry_point", sorted(ENTRY_POINTS))
def test_ten_thousand_calls_leave_resident_memory_flat(entry_point, box_font, small_index, capsys):
    # The text cache is trimmed at its limit: a small one is full after warm-up.
    lumo_font.MAX_TEXT_CACHE = 100
    call = ENTRY_POINTS[entry_point]
    for i in range(WARM_UP):
        call(box_font, i)
    gc.collect()
    capsys.readouterr()
    before = resident_kib()
    for i in range(WARM_UP, WARM_UP + CALLS):
        call(box_font, i)
        if i % 1000 == 0:
            capsys.readouterr()  # printed progress lines are not the engine's memory
    gc.collect()
    capsys.readouterr()
    grown = resident_kib() - before
    assert grown < SLACK_KIB, f"{entry_point}: {grown} KiB more after {CALLS} calls"


class Marker:
    """Something weakly referenceable to put next to a font in a cycle."""


@pytest.mark.parametrize("cache", ["_text_cache", "_glyph_cache", "emoji_fallback_engine"])
def test_a_font_in_a_cycle_through_its_cache_is_collected(box_fonts, cache):
    font = LumoFont("Box Sans", "Box Fallback", box_fonts["folder"], box_fonts["emoji"])
    font.render("Hi \u05d0 \U0001F600", 20)  # its internal caches hold fonts, faces and surfaces now
    marker = Marker()
    setattr(font, cache, {"font": font, "marker": marker})
    gone = weakref.ref(marker)
    del font, marker  # the cycle is all that is left
    gc.collect()
    assert gone() is None


def test_a_restored_font_holding_itself_is_collected(box_fonts):
    state = LumoFont("Box Sans", "Box Fallback", box_fonts["folder"]).__reduce__()[2]
    copy = LumoFont()
    copy.__setstate__(state)
    marker = Marker()
    copy._text_cache = {"copy": copy, "marker": marker}
    gone = weakref.ref(marker)
    del copy, marker
    gc.collect()
    assert gone() is None
