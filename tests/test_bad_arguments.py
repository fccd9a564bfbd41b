"""Every public entry point called with wrong types, empty and huge strings and
out-of-range sizes and colours: each call either works or raises an ordinary
exception that names the problem. None may crash the interpreter or allocate
without bound, so the costly cases run in a child process under a memory cap."""
import pickle
import resource
import subprocess
import sys
import textwrap

import pygame
import pytest

import lumo_font
from lumo_font import LumoFont
from render_fixtures import box_font, box_fonts  # noqa: F401  (fixtures)
from support.sanitizers import skip_under_address_sanitizer

HUGE = "x" * (1 << 20)  # a 1 MB string


@pytest.mark.parametrize("call, error, message", [
    (lambda f: f.render(None, 20), TypeError, "object of type 'NoneType' has no len()"),
    (lambda f: f.render(5, 20), TypeError, "Argument 'text' has incorrect type (expected str, got int)"),
    (lambda f: f.render(b"Hi", 20), TypeError, "Argument 'text' has incorrect type (expected str, got bytes)"),
    (lambda f: f.render("Hi", None), TypeError, "Argument 'size' has incorrect type (expected int, got NoneType)"),
    (lambda f: f.render("Hi", 20.5), TypeError, "Argument 'size' has incorrect type (expected int, got float)"),
    (lambda f: f.render("Hi", "20"), TypeError, "Argument 'size' has incorrect type (expected int, got str)"),
    (lambda f: f.render("Hi", 20, face=5), TypeError, "Argument 'face' has incorrect type (expected str, got int)"),
    (lambda f: f.render("Hi", 20, face=b"bold"), TypeError, "Argument 'face' has incorrect type (expected str, got bytes)"),
    (lambda f: f.render(), TypeError, "render() missing required argument 'text' (pos 1)"),
    (lambda f: f.render("Hi", 20, None, False, "", 1), TypeError, "render() takes at most 5 positional arguments (6 given)"),
    (lambda f: f.render("Hi", 20, colour=(1, 2, 3)), TypeError, "render() got an unexpected keyword argument 'colour'"),
    (lambda f: f.get_debug_info("Hi", 5), TypeError, "Argument 'face' has incorrect type (expected str, got int)"),
    (lambda f: f.get_debug_info(), TypeError, "text_input"),
], ids=["text-none", "text-int", "text-bytes", "size-none", "size-float", "size-str",
        "face-int", "face-bytes", "no-text", "six-positional", "unknown-keyword", "debug-face-int", "debug-no-text"])
def test_methods_name_the_argument_of_the_wrong_type(box_font, call, error, message):
    with pytest.raises(error) as raised:
        call(box_font)
    assert message in str(raised.value)


@pytest.mark.parametrize("size, error, message", [
    (2**31, OverflowError, "value too large to convert to int"),
    (-2**31 - 1, OverflowError, "value too large to convert to int"),
    (2**31 - 1, OverflowError, "too large"),    # pygame refuses it as a font size
    (100000, pygame.error, "invalid pixel size"),
    (-1, OverflowError, "negative"),
    (0, ValueError, "font size"),
])
def test_sizes_out_of_range_raise(box_font, size, error, message):
    with pytest.raises(error) as raised:
        box_font.render("Hi", size)
    assert message in str(raised.value)


@pytest.mark.parametrize("call", [
    lambda f, size: f.size("Hi", size), lambda f, size: f.get_linesize(size), lambda f, size: f.get_ascent(size),
    lambda f, size: f.get_descent(size), lambda f, size: f.render_block("Hi", size),
    lambda f, size: f.size_block("Hi", size),
], ids=["size", "get_linesize", "get_ascent", "get_descent", "render_block", "size_block"])
@pytest.mark.parametrize("size", [0, -1, -2**40])
def test_calls_that_measure_or_draw_blocks_refuse_sizes_below_one(box_font, call, size):
    with pytest.raises(ValueError) as raised:
        call(box_font, size)
    assert str(raised.value) == f"size must be a positive integer, got {size}"


@pytest.mark.parametrize("size", [1, 2, 300])
def test_small_and_large_sizes_render(box_font, size):
    surface = box_font.render("Hi", size)
    assert surface.get_width() >= 1 and surface.get_height() >= 1


@pytest.mark.parametrize("color, error", [
    ((), IndexError), ((255,), IndexError), ((255, 0), IndexError), ("nocolour", ValueError), ([1, 2], ValueError),
    ((256, 0, 0), ValueError), ((-1, 0, 0), ValueError), ((2**40, 0, 0), ValueError), (("red", 0, 0), ValueError),
])
def test_bad_colours_raise(box_font, color, error):
    with pytest.raises(error):
        box_font.render("Hi", 20, color)
    with pytest.raises(TypeError):
        box_font.render("Hi", 20, object())


@pytest.mark.parametrize("color", ["gold", "#336699", [10, 20, 30], pygame.Color(200, 100, 50, 128), 0x102030FF])
def test_render_takes_every_colour_pygame_takes(box_font, color):
    rgba = tuple(pygame.Color(color))
    surface = box_font.render("Hi", 20, color)
    inked = {tuple(surface.get_at((x, y)))[:3] for x in range(surface.get_width())
             for y in range(surface.get_height()) if surface.get_at((x, y)).a == 255}
    assert inked == {rgba[:3]}
    # Kept under its (r, g, b, a) tuple: the same line drawn again is the cached one.
    assert box_font.render("Hi", 20, rgba) is surface
    assert box_font.render("Hi", 20, color) is surface


def test_render_without_a_colour_draws_white(box_font):
    assert box_font.render("Hi", 20, None) is box_font.render("Hi", 20)


@pytest.mark.parametrize("color", [(255, 0, 0, 128), (1, 2, 3, 4, 5), (0, 0, 0)])
def test_extra_colour_items_are_ignored(box_font, color):
    surface = box_font.render("Hi", 20, color)
    inked = {tuple(surface.get_at((x, y)))[:3] for x in range(surface.get_width())
             for y in range(surface.get_height()) if surface.get_at((x, y)).a == 255}
    assert inked == {color[:3]}


@pytest.mark.parametrize("text", ["", "\x00", "\ud800", "a\x00b", "^", "<bold={", "\u202e\u200b"])
def test_odd_texts_render_a_line(box_font, text):
    assert box_font.render(text, 20).get_height() > 0
    assert box_font.render(text, 20, dynamic=True).get_height() > 0
    assert isinstance(box_font.get_debug_info(text), list)


def test_a_megabyte_line_is_refused_as_one_run_and_composed_per_character(box_font):
    # One run is capped at 2**18 code points: past it, the run is refused with its length.
    with pytest.raises(ValueError, match="longer than the 262144 one run may hold"):
        box_font.render(HUGE, 20)
    # The per-character path has no runs: a 1-pixel glyph each, 1 MB wide,
    # past the widest surface the engine makes.
    with pytest.raises(ValueError, match="needs a surface of .*1048576 x .* past the largest the engine makes"):
        box_font.render(HUGE, 1, dynamic=True)
    assert box_font.render("Hi", 20, face=HUGE).get_width() > 1


@pytest.mark.parametrize("function, args, error, message", [
    ("get_family_root", (None,), TypeError, "Argument 'font_name' has incorrect type (expected str, got NoneType)"),
    ("get_family_root", (b"Noto Sans",), TypeError, "expected str, got bytes"),
    ("normalize_font_name", (5, []), TypeError, "Argument 'font_name' has incorrect type (expected str, got int)"),
    ("normalize_font_name", ("a", None), TypeError, "Argument 'family_files' has incorrect type (expected list, got NoneType)"),
    ("normalize_font_name", ("a",), TypeError, "incompatible function arguments"),
    ("is_emoji", (None,), TypeError, "ord() expected string of length 1, but NoneType found"),
    ("is_emoji", ("",), TypeError, "ord() expected a character, but string of length 0 found"),
    ("is_emoji", (HUGE,), TypeError, "string of length 1048576 found"),
    ("is_emoji", (["x"],), TypeError, "unhashable type: 'list'"),
    ("load_or_update_font_map", (1,), TypeError, "incompatible function arguments"),
])
def test_module_functions_refuse_wrong_arguments(function, args, error, message):
    with pytest.raises(error) as raised:
        getattr(lumo_font, function)(*args)
    assert message in str(raised.value)


@pytest.mark.parametrize("text", ["", HUGE, "\ud800", "a\x00b", "Noto Sans Bold " * 1000])
def test_name_functions_take_any_text(text):
    assert isinstance(lumo_font.get_family_root(text), str)
    assert isinstance(lumo_font.normalize_font_name(text, [text]), str)
    assert lumo_font._parse_font_input(text) == (text, False)


@pytest.mark.parametrize("value, parsed", [
    (None, (None, False)), (5, (5, False)), (("a.ttf", 1), (["a.ttf", 1], True)), (["a.ttf", 1], (["a.ttf", 1], True)),
])
def test_parse_font_input_passes_non_text_through(value, parsed):
    assert lumo_font._parse_font_input(value) == parsed


@pytest.mark.parametrize("args, error, message", [
    ((None,), TypeError, "Argument 'font_name' has incorrect type (expected str, got NoneType)"),
    ((5,), TypeError, "expected str, got int"),
    ((b"Noto Sans",), TypeError, "expected str, got bytes"),
    (((1, 2),), TypeError, "Expected str, got int"),
    (("a", "b", "c", "d", "e", "f"), TypeError, "LumoFont() takes at most 5 arguments (6 given)"),
])
def test_constructor_refuses_wrong_arguments(args, error, message):
    with pytest.raises(error) as raised:
        LumoFont(*args)
    assert message in str(raised.value)


@pytest.mark.parametrize("args", [(), ("", "", "", "", ""), (HUGE, HUGE, HUGE, HUGE, HUGE)])
def test_constructor_takes_any_names_and_renders_nothing_missing(args, capsys):
    font = LumoFont(*args)
    assert font.render("Hi", 12).get_height() > 0
    assert len(font.get_debug_info("Hi")) == 2


@pytest.mark.parametrize("name", ["\ud800", "\udcff"])
def test_a_family_name_with_a_lone_surrogate_is_drawn_by_a_stand_in(name, capsys):
    assert LumoFont(name, name, None, None).render("Hi", 12).get_bounding_rect().width > 0
    # The warning that names it escapes the surrogate, so that it can be printed.
    assert f"[WARNING] Font family '\\u{ord(name):x}' is not installed" in capsys.readouterr().out


def test_a_font_pickles_until_it_holds_pygame_fonts(box_font):
    copy = pickle.loads(pickle.dumps(box_font))
    assert copy.primary_name == box_font.primary_name
    box_font.render("Hi", 20)
    with pytest.raises(TypeError, match="cannot pickle"):
        pickle.dumps(box_font)


@pytest.mark.parametrize("state, error, message", [
    (None, TypeError, "Expected tuple, got NoneType"), (5, TypeError, "Expected tuple, got int"),
    ((), TypeError, "LumoFont state must be a tuple of 23 items"), (("a",) * 23, TypeError, "Expected"),
    # A 24th item holds instance attributes, which only a subclass can take.
    ((None,) * 24, TypeError, "hold no instance attributes"),
])
def test_bad_snapshot_states_are_refused(state, error, message):
    with pytest.raises(error) as raised:
        LumoFont().__setstate__(state)
    assert message in str(raised.value)


# Sizes at which a line needs more memory than the cap allows: pygame must
# refuse the surface with an exception, and glyph bitmaps past the engine's
# own cap must fail before they are allocated.
MEMORY_CAP_SCRIPT = textwrap.dedent("""
    import os, resource, sys
    os.environ["SDL_VIDEODRIVER"] = "dummy"
    resource.setrlimit(resource.RLIMIT_AS, ({cap}, {cap}))
    import pygame, lumo_font
    font = lumo_font.LumoFont(sys.argv[1], sys.argv[1], sys.argv[2], None)
    for text, size in [(" ", 65535), ("  ", 30000), ("Hi", 65535), ("Hi", 9000), ("Hi g", 3000)]:
        try:
            outcome = "surface %dx%d" % font.render(text, size).get_size()
        except Exception as error:
            outcome = type(error).__name__
        print(repr(text), size, outcome, flush=True)
    print("peak MiB", resource.getrusage(resource.RUSAGE_SELF).ru_maxrss // 1024)
""")


@skip_under_address_sanitizer
def test_huge_sizes_fail_cleanly_under_a_memory_cap(box_fonts, tmp_path):
    cap = 2 << 30
    script = MEMORY_CAP_SCRIPT.format(cap=cap)
    child = subprocess.run([sys.executable, "-c", script, box_fonts["primary"][0], str(tmp_path)],
                           capture_output=True, text=True, timeout=120)
    assert child.returncode == 0, child.stderr[-2000:]
    outcomes = [line for line in child.stdout.splitlines() if line.startswith("'")]
    assert len(outcomes) == 5, child.stdout
    assert "' ' 65535 ValueError" in child.stdout     # past the largest surface the engine makes
    assert "'Hi' 65535 RuntimeError" in child.stdout   # the glyph cap, before any bitmap
    assert "'Hi g' 3000 surface" in child.stdout
