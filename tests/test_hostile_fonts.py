"""Damaged and hostile font files met through the public API: installed in the
per-user font directory (which the index scans) and in a fallback folder
(which coverage reads), then indexed, tested for coverage, rendered in
several scripts and sizes and reported on.

What is allowed: a font that cannot be read covers nothing and is left out of
the index; a run whose font HarfBuzz cannot load prints "Error loading
HarfBuzz font at ..." and is drawn empty; a glyph that FreeType refuses to
load is drawn empty, keeps its advance, and its file gets one "[WARNING]
Damaged glyphs in ..." line. Runs set in a monochrome emoji font are drawn
by pygame's own font engine, whose errors for a broken font (pygame.error)
reach the caller. Anything else escaping, a crash or a hang is a fault."""
import json
import shutil
import struct
import subprocess
import sys
from pathlib import Path

import pygame
import pytest
from fontTools.pens.ttGlyphPen import TTGlyphPen

import lumo_font
from lumo_font import LumoFont
from support import font_mutants, fontgen

NOTO = Path("/usr/share/fonts/truetype/noto")
REAL_SOURCES = ["NotoSansHebrew-Regular.ttf", "NotoSansThai-Regular.ttf", "NotoSansLycian-Regular.ttf"]
MUTANTS = 400
SEED = 20240611
EXERCISER = Path(__file__).parent / "support" / "exercise_fonts.py"


def source_fonts(folder):
    """A few small real fonts, and synthetic ones for what they lack: CFF
    outlines, a collection, and an emoji."""
    sources = [NOTO / name for name in REAL_SOURCES if (NOTO / name).exists()]
    sources.append(fontgen.build_font(folder / "box.ttf", "Box Sans"))
    sources.append(fontgen.build_font(folder / "box.otf", "Box Cff", outline="cff"))
    sources.append(fontgen.build_font(folder / "emoji.ttf", "Box Emoji", chars="AB \U0001F600"))
    sources.append(fontgen.build_collection(folder / "pair.ttc", [{"full_name": "Pair A"},
                                                                   {"full_name": "Pair B", "chars": "xyz"}]))
    return sources


@pytest.fixture
def mutant_fonts(user_font_dir, tmp_path):
    """MUTANTS damaged fonts in ~/.local/share/fonts; every sixth also in a fallback folder."""
    mutants = font_mutants.write_mutants(source_fonts(tmp_path / "sources"), user_font_dir, MUTANTS, SEED)
    fallback = tmp_path / "fallback"
    fallback.mkdir()
    for path in mutants[::6]:
        shutil.copy(path, fallback)
    return mutants, fallback


def test_the_whole_api_survives_hundreds_of_damaged_fonts(mutant_fonts, user_font_dir):
    _, fallback = mutant_fonts
    # In a child process: a crash or a hang fails this test, not the run.
    child = subprocess.run([sys.executable, str(EXERCISER), str(user_font_dir), str(fallback)],
                           capture_output=True, text=True, timeout=300)
    assert child.returncode == 0, f"the child died ({child.returncode}):\n{child.stderr[-3000:]}"
    summary = json.loads(child.stdout.rsplit("SUMMARY ", 1)[1])
    assert summary["mutants"] == MUTANTS

    outcomes, emoji_outcomes = summary["outcomes"], summary["emoji_outcomes"]
    # Every call draws: a damaged glyph is drawn empty rather than raised.
    assert set(outcomes) == {"ok"}
    unexpected = {o: n for o, n in emoji_outcomes.items() if o != "ok" and not o.startswith("error: ")}
    assert not unexpected
    assert emoji_outcomes["ok"] > 0.5 * sum(emoji_outcomes.values())
    assert "Error loading HarfBuzz font at " + str(user_font_dir) in child.stdout
    damage_lines = [line for line in child.stdout.splitlines() if line.startswith("[WARNING] Damaged glyphs in ")]
    assert damage_lines and len(set(damage_lines)) == len(damage_lines)


def test_the_index_takes_what_it_can_read_and_reads_back_from_its_file(mutant_fonts, user_font_dir):
    mutants, _ = mutant_fonts
    scanned = lumo_font.build_font_map()
    from_file = lumo_font.load_or_update_font_map()
    assert from_file["paths"] == scanned["paths"] and from_file["names"] == scanned["names"]
    assert lumo_font.load_or_update_font_map() == from_file  # current now: read from the file

    # Most mutants keep a readable name, and a per-user copy wins over the system's font.
    real_names = [f"noto sans {script} regular" for script in ("hebrew", "lycian")
                  if (NOTO / f"NotoSans{script.title()}-Regular.ttf").exists()]
    for full_name in real_names + ["box sans", "box cff", "pair a", "pair b"]:
        path, _ = scanned["paths"][full_name]
        assert Path(path) in mutants
    assert all(full_name in scanned["paths"] for full_name in scanned["names"].values())


def broken_copies(folder):
    """Fonts with nothing usable left, each made the way real files break."""
    intact = fontgen.build_font(folder / "intact.ttf", "Box Sans").read_bytes()
    _, tables = font_mutants.table_directory(intact)
    no_glyphs = bytearray(intact)
    struct.pack_into(">H", no_glyphs, tables[b"maxp"][1] + 4, 0)
    return {"empty": b"", "twelve-bytes": intact[:12], "zeros": bytes(len(intact)),
            "not-a-font": b"<html>404 Not Found</html>" * 40, "no-glyphs": bytes(no_glyphs)}


@pytest.mark.parametrize("damage", ["empty", "twelve-bytes", "zeros", "not-a-font", "no-glyphs"])
def test_an_unusable_font_covers_nothing_and_draws_an_empty_line(damage, tmp_path, capsys):
    path = tmp_path / f"{damage}.ttf"
    path.write_bytes(broken_copies(tmp_path)[damage])
    font = LumoFont(str(path), str(path), str(tmp_path / "no-such-folder"), None)

    assert not font._has_glyph([str(path), -1], ord("H"))
    line = font.render("Hello", 20)
    assert f"Error loading HarfBuzz font at {path}, (index -1): " in capsys.readouterr().out
    assert pygame.mask.from_surface(line).count() == 0
    assert [record["has_glyph"] for record in font.get_debug_info("Hi")] == [False, False]


def test_glyphs_freetype_cannot_load_are_drawn_empty_with_one_warning(tmp_path, capsys):
    # The glyph count cut: HarfBuzz still maps every letter to its glyph (with
    # no advance past the count), FreeType loads those up to "e" (glyph 70) only.
    data = bytearray(fontgen.build_font(tmp_path / "box.ttf", "Box Sans").read_bytes())
    _, tables = font_mutants.table_directory(bytes(data))
    struct.pack_into(">H", data, tables[b"maxp"][1] + 4, 75)
    path = tmp_path / "cut.ttf"
    path.write_bytes(bytes(data))
    font = LumoFont(str(path), str(path), str(tmp_path / "no-such-folder"), None)
    inked = {}
    for text in ("He", "Hello", "Hello there"):
        for size in (20, 31):
            line = font.render(text, size)
            assert line.get_size() == font.size(text, size)
            inked[text, size] = pygame.mask.from_surface(line).count()
    # "l", "o", "t" and "r" draw nothing; "H", "e" and "h" draw as they would.
    assert inked["Hello", 20] == inked["He", 20] > 0 and inked["Hello there", 31] == 5 * inked["He", 31] // 2
    font.render_block("Hello\nthere", 20, face="bold")
    assert capsys.readouterr().out.count(
        f"[WARNING] Damaged glyphs in {path}: drawn empty (FreeType error 6: invalid argument)\n") == 1


def test_an_outline_spanning_more_ems_than_any_glyph_is_damage_at_any_size(tmp_path, capsys):
    # "B" is a box of 32000 units where an em is 250: 128 ems on a side.
    font = fontgen.build_ttfont("Huge B", chars="AB")
    pen = TTGlyphPen(None)
    fontgen._draw_box(pen, 0, 32000, "uniB")
    font["glyf"]["uni0042"] = pen.glyph()
    font["head"].unitsPerEm = 250
    path = tmp_path / "huge-b.ttf"
    font.save(str(path))
    drawn = LumoFont(str(path), str(path), str(tmp_path / "no-such-folder"), None)
    line = drawn.render("AB", 40)
    assert line.get_size() == drawn.size("AB", 40)
    assert 0 < pygame.mask.from_surface(line).count() == pygame.mask.from_surface(drawn.render("A", 40)).count()
    assert f"[WARNING] Damaged glyphs in {path}: drawn empty (FreeType error 20: invalid outline)" in \
        capsys.readouterr().out
