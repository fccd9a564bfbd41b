"""Font files that change while a program runs: truncated or rewritten in
place, replaced by a rename, swapped for a pipe; emoji fonts at many sizes;
a font whose substitutions multiply its glyphs. Nothing may crash, hang or
draw one font's glyph numbers from another font."""
import os
import shutil
import subprocess
import sys
import textwrap

import pygame
import pytest
from fontTools.feaLib.builder import addOpenTypeFeaturesFromString

import lumo_font
from support.fontgen import build_collection, build_ttfont
from support.sanitizers import skip_under_address_sanitizer

DEJAVU = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
SERIF = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf"
MONO = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf"
SYMBOLA = "/usr/share/fonts/truetype/ancient-scripts/Symbola_hint.ttf"
NOTO_SANS = "/usr/share/fonts/truetype/noto/NotoSans-Regular.ttf"   # taller lines than DejaVu Sans


def pixels(surface):
    return surface.get_size(), pygame.image.tobytes(surface, "RGBA")


def run_child(code, timeout=60):
    """Runs `code` in a fresh interpreter: a crash or a hang fails the test instead of ending the run."""
    env = dict(os.environ, SDL_VIDEODRIVER="dummy", PYGAME_HIDE_SUPPORT_PROMPT="1")
    return subprocess.run([sys.executable, "-c", textwrap.dedent(code)], capture_output=True, text=True, env=env,
                          timeout=timeout)


@pytest.mark.parametrize("damage", ["truncate", "overwrite"])
def test_a_font_rewritten_in_place_keeps_drawing_what_was_read(tmp_path, damage):
    result = run_child(f"""
        import os, shutil, lumo_font
        shutil.copy({DEJAVU!r}, "v.ttf")
        font = lumo_font.LumoFont("v.ttf", {SERIF!r}, None, None)
        font.render("Hello", 20)
        if {damage!r} == "truncate":
            open("v.ttf", "r+b").truncate(1000)
        else:
            shutil.copyfile({MONO!r}, "v.ttf")   # cp keeps the inode
        line = font.render("Zebra", 20)
        print(line.get_width())
    """.replace('"v.ttf"', repr(str(tmp_path / "v.ttf"))))
    assert result.returncode == 0, result.stderr[-2000:]
    fresh = lumo_font.LumoFont(DEJAVU, SERIF, None, None).render("Zebra", 20)
    assert int(result.stdout.split()[-1]) == fresh.get_width()


@pytest.mark.parametrize("role", ["primary", "fallback"])
def test_a_font_replaced_by_a_rename_is_read_again_for_new_sizes(tmp_path, role):
    path = tmp_path / "font.ttf"
    shutil.copy(DEJAVU, path)
    fonts = (str(path), SERIF) if role == "primary" else (SERIF, str(path))
    font = lumo_font.LumoFont(*fonts, None, None)
    font.render("Hello world", 20)
    shutil.copy(MONO, tmp_path / "new.ttf")
    os.replace(tmp_path / "new.ttf", path)   # as package managers replace files
    after = font.render("Hello world", 30)
    renamed = tmp_path / "mono.ttf"
    shutil.copy(MONO, renamed)
    fonts = (str(renamed), SERIF) if role == "primary" else (SERIF, str(renamed))
    # Every size made after the replacement draws the new file, glyphs and spaces alike.
    assert pixels(after) == pixels(lumo_font.LumoFont(*fonts, None, None).render("Hello world", 30))


def replace_by_rename(path, source):
    """Puts a copy of `source` at `path` the way package managers do: a new file renamed over the old."""
    staged = path.with_name("staged-" + path.name)
    shutil.copy(source, staged)
    os.replace(staged, path)


def test_line_height_follows_a_fallback_font_replaced_by_a_rename(tmp_path):
    path = tmp_path / "fallback.ttf"
    shutil.copy(DEJAVU, path)
    font = lumo_font.LumoFont(DEJAVU, str(path), None, None)
    font.render("Hello", 20)
    replace_by_rename(path, NOTO_SANS)
    fresh = lumo_font.LumoFont(DEJAVU, str(path), None, None)
    # A new size notices the new file; the size drawn before follows it from then on.
    for text, size in [("Hello", 30), ("Hello there", 20)]:
        assert pixels(font.render(text, size)) == pixels(fresh.render(text, size))


def face_with_line_gap(name, line_gap):
    face = build_ttfont(name)
    face["hhea"].lineGap = face["OS/2"].sTypoLineGap = line_gap
    return face


def test_line_height_follows_a_fallback_collection_that_lost_its_face(tmp_path):
    path = tmp_path / "fallback.ttc"
    build_collection(path, [face_with_line_gap("Short", 0), face_with_line_gap("Tall", 900)])
    font = lumo_font.LumoFont(DEJAVU, (str(path), 1), None, None)
    font.render("Hello", 20)
    replace_by_rename(path, build_collection(tmp_path / "one.ttc", [face_with_line_gap("Short", 0)]))
    fresh = lumo_font.LumoFont(DEJAVU, (str(path), 1), None, None)
    for text, size in [("Hello", 30), ("Hello there", 20)]:
        assert pixels(font.render(text, size)) == pixels(fresh.render(text, size))


@pytest.mark.parametrize("role", ["primary", "fallback", "emoji"])
def test_a_pipe_at_a_font_path_is_refused_without_hanging(tmp_path, role):
    pipe = str(tmp_path / "font.ttf")
    os.mkfifo(pipe)
    fonts = {"primary": (pipe, DEJAVU, None), "fallback": (DEJAVU, pipe, None), "emoji": (DEJAVU, DEJAVU, pipe)}[role]
    result = run_child(f"""
        import lumo_font
        font = lumo_font.LumoFont({fonts[0]!r}, {fonts[1]!r}, None, {fonts[2]!r})
        print(font.render("Hi 😀", 20).get_size())
    """, timeout=30)
    assert result.returncode == 0, result.stderr[-2000:]


def test_a_primary_font_swapped_for_a_pipe_between_renders(tmp_path):
    path = str(tmp_path / "font.ttf")
    shutil.copy(DEJAVU, path)
    result = run_child(f"""
        import os, lumo_font
        font = lumo_font.LumoFont({path!r}, {SERIF!r}, None, None)
        font.render("Hello", 20)
        os.remove({path!r})
        os.mkfifo({path!r})
        print(font.render("Hello", 30).get_size())
    """, timeout=30)
    assert result.returncode == 0, result.stderr[-2000:]
    assert "Error loading HarfBuzz font at" in result.stdout and "Invalid argument" in result.stdout


def test_sizes_keep_no_file_open():
    # pygame keeps a file open per font it makes from a path (pygame-ce for its FreeType fonts too).
    font = lumo_font.LumoFont(DEJAVU, DEJAVU, None, SYMBOLA)
    before = len(os.listdir("/proc/self/fd"))
    for size in range(10, 70):
        font.render("Hi 😀", size)
    assert len(os.listdir("/proc/self/fd")) <= before + 1
    assert len(font.emoji_fallback_engine) == 60


def billion_laughs_font(path):
    """A font whose substitutions turn one letter into 10^6 glyphs."""
    font = build_ttfont("Laughs Sans", chars="abcdefgh")
    lookups = "\n".join(f"lookup grow{n} {{ sub {a} by {' '.join([b] * 10)}; }} grow{n};"
                        for n, (a, b) in enumerate(zip(["uni0061", "uni0062", "uni0063", "uni0064", "uni0065",
                                                        "uni0066"],
                                                       ["uni0062", "uni0063", "uni0064", "uni0065", "uni0066",
                                                        "uni0067"])))
    uses = " ".join(f"lookup grow{n};" for n in range(6))
    addOpenTypeFeaturesFromString(font, f"{lookups}\nfeature ccmp {{ {uses} }} ccmp;")
    font.save(str(path))
    return str(path)


def test_a_font_that_multiplies_glyphs_is_reported_as_shaping_stopped(tmp_path):
    path = billion_laughs_font(tmp_path / "laughs.ttf")
    font = lumo_font.LumoFont(path, path, None, None)
    with pytest.raises(RuntimeError, match="HarfBuzz stopped shaping the run"):
        font.render("a", 20)
    assert font.render("h", 20).get_width() > 1   # letters without substitutions still draw


@skip_under_address_sanitizer
@pytest.mark.parametrize("headroom_mib", [20, 40])
def test_what_is_learned_while_memory_is_short_is_not_kept(headroom_mib):
    script = os.path.join(os.path.dirname(__file__), "support", "memory_pressure.py")
    env = dict(os.environ, SDL_VIDEODRIVER="dummy")
    result = subprocess.run([sys.executable, script, str(headroom_mib)], capture_output=True, text=True, env=env,
                            timeout=300)
    assert result.returncode == 0, result.stderr[-2000:]
    objects, errors, wrong = (int(word) for word in result.stdout.splitlines()[-1].split() if word.isdigit())
    assert objects > 0 and errors > 0   # memory did run short
    assert wrong == 0
