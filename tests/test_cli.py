"""The command line: rendering the sample, explaining a line, listing fonts,
and clear errors for bad options."""
import subprocess
import sys

import pygame
import pytest

from lumo_font.__main__ import main


def test_default_job_renders_the_sample(tmp_path, monkeypatch, capsys):
    monkeypatch.chdir(tmp_path)
    assert main([]) == 0
    out = capsys.readouterr().out
    image = pygame.image.load(str(tmp_path / "sample.png"))
    assert out.startswith(f"Wrote sample.png: {image.get_width()} x {image.get_height()} pixels\n")
    for used in ["PRIMARY   NotoSans-Regular.ttf", "INTL      NotoSansArabic-Regular.ttf",
                 "FALLBACK  NotoSansCJK-Regular.ttc (face 2)", "EMOJI     Symbola_hint.ttf"]:
        assert used in out
    assert image.get_width() > 500


def test_render_options(tmp_path, capsys):
    output = tmp_path / "red.png"
    assert main(["render", "Hi", "--size", "40", "--color", "#ff0000", "--bg", "none", "-o", str(output)]) == 0
    image = pygame.image.load(str(output))
    inked = [image.get_at((x, y)) for x in range(image.get_width()) for y in range(image.get_height())
             if image.get_at((x, y)).a == 255]
    assert inked and all(pixel[:3] == (255, 0, 0) for pixel in inked)
    assert image.get_at((0, 0)).a == 0


def test_debug_prints_an_aligned_table(capsys):
    assert main(["debug", "Aש<bold={b}>"]) == 0
    lines = capsys.readouterr().out.splitlines()
    assert lines[0].split() == ["ch", "hex", "cat", "script", "font", "source", "ttc", "glyph", "synthetic",
                                "path", "face", "tag"]
    assert lines[1].split()[:6] == ["A", "U+0041", "Lu", "Latin/CJK", "NotoSans-Regular.ttf", "PRIMARY"]
    assert "NotoSansHebrew-Regular.ttf" in lines[2] and "FACE_OPEN:bold" in lines[3]
    assert len(lines) == 6


def test_fonts_lists_matching_faces(capsys):
    assert main(["fonts", "dejavu sans mono"]) == 0
    out = capsys.readouterr().out
    assert "dejavu sans mono" in out and "DejaVuSansMono.ttf" in out
    assert out.splitlines()[-1].endswith("indexed faces")
    assert main(["fonts", "--rescan", "zzz-no-such-face"]) == 0
    assert capsys.readouterr().out.startswith("0 of ")


@pytest.mark.parametrize("arguments, message", [
    (["render", "x", "--color", "300,0,0"], "bad colour"),
    (["render", "x", "--size", "0"], "bad size"),
    (["render", "x", "--size", "big"], "bad size"),
    (["render", "x", "--font", "missing/font.ttf"], "font file not found"),
    (["render", "x", "--fallback-dir", "/no/such/folder"], "fallback folder not found"),
    (["debug", "x", "--emoji", "nowhere.ttf"], "emoji font file not found"),
])
def test_bad_options_exit_2_with_a_message(arguments, message, capsys):
    assert main(arguments) == 2
    assert message in capsys.readouterr().err


def test_module_entry_exits_2_without_a_traceback():
    result = subprocess.run([sys.executable, "-m", "lumo_font", "render", "x", "--size", "-3"],
                            capture_output=True, text=True)
    assert result.returncode == 2
    assert "Traceback" not in result.stderr and "bad size" in result.stderr
