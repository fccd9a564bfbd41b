"""The command line: rendering the sample, explaining a line, listing fonts,
and clear errors for bad options, unknown fonts and outputs that cannot be written."""
import argparse
import collections
import os
import pathlib
import re
import subprocess
import sys

import pygame
import pytest

import lumo_font
from lumo_font.__main__ import main
from lumo_font._cli_options import new_parser

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def run_module(*arguments, **options):
    """`python -m lumo_font ARGUMENTS` in a child process, output captured as text."""
    return subprocess.run([sys.executable, "-m", "lumo_font", *arguments], capture_output=True, text=True,
                          timeout=120, **options)


def test_default_job_renders_the_sample(tmp_path, monkeypatch, capsys):
    monkeypatch.chdir(tmp_path)
    assert main([]) == 0
    out = capsys.readouterr().out
    image = pygame.image.load(str(tmp_path / "sample.png"))
    assert out.startswith(f"Wrote sample.png: {image.get_width()} x {image.get_height()} pixels\n")
    for used in ["PRIMARY   NotoSans-Regular.ttf", "FALLBACK  NotoSansCJK-Regular.ttc (face 2)",
                 "EMOJI     NotoColorEmoji.ttf"]:
        assert used in out
    # The script font folder numbers its links in the order it tries them.
    assert re.search(r"^  INTL      \d{3}-NotoSansArabic-Regular\.ttf$", out, re.M)
    assert image.get_width() > 500


def test_render_options(tmp_path, capsys):
    output = tmp_path / "red.png"
    assert main(["render", "Hi", "--size", "40", "--color", "#ff0000", "--bg", "none", "-o", str(output)]) == 0
    image = pygame.image.load(str(output))
    inked = [image.get_at((x, y)) for x in range(image.get_width()) for y in range(image.get_height())
             if image.get_at((x, y)).a == 255]
    assert inked and all(pixel[:3] == (255, 0, 0) for pixel in inked)
    assert image.get_at((0, 0)).a == 0


def test_render_draws_effects(tmp_path, capsys):
    plain, framed = tmp_path / "plain.png", tmp_path / "effects.png"
    assert main(["render", "Hi", "--size", "40", "--bg", "none", "-o", str(plain)]) == 0
    assert main(["render", "Hi", "--size", "40", "--bg", "none", "--outline", "2.5", "--outline-color", "gold",
                 "--shadow", "4,-2", "--shadow-color", "0,0,255", "--shadow-blur", "1.5", "--underline",
                 "--strikethrough", "-o", str(framed)]) == 0
    before, after = pygame.image.load(str(plain)), pygame.image.load(str(framed))
    # A 3-pixel frame (ceil 2.5), then the shadow's 4 right and 2 up, spread by 2.
    assert after.get_width() == before.get_width() + 6 + 4 + 2
    colours = {tuple(after.get_at((x, y)))[:3] for x in range(after.get_width()) for y in range(after.get_height())
               if after.get_at((x, y)).a == 255}
    assert {(255, 215, 0), (255, 255, 255), (0, 0, 255)} <= colours


def test_render_wraps_aligns_and_orders_blocks(tmp_path, capsys):
    output = tmp_path / "block.png"
    text = "one two three four five six seven\nשלום עולם"
    assert main(["render", text, "--size", "20", "--wrap", "120", "--align", "right", "--direction", "auto",
                 "--bg", "none", "-o", str(output)]) == 0
    image = pygame.image.load(str(output))
    font = lumo_font.LumoFont("Noto Sans", "DejaVu Sans", None, None)
    assert image.get_width() == 120 and image.get_height() >= 4 * font.get_linesize(20)
    # Right-aligned: ink reaches the block's right edge on the first line.
    assert any(image.get_at((x, y)).a for x in range(110, 120) for y in range(font.get_linesize(20)))
    assert main(["render", "x", "--wrap", "wide"]) == 2
    assert "bad wrap width" in capsys.readouterr().err


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


def test_fonts_coverage_tells_no_font_from_a_font_not_reached(capsys):
    # The Braille cell and the hieroglyph have installed fonts; the private-use
    # character and the unassigned one have none. Controls are not looked up.
    assert main(["fonts", "--coverage", "Hi \u28ff\U00013000\U0010fffd\u0378\u0378\n"]) == 0
    lines = capsys.readouterr().out.splitlines()
    assert lines[:2] == ["U+10FFFD unnamed, category Co: no installed font covers it",
                         "U+0378 unnamed, category Cn: no installed font covers it"]
    assert re.fullmatch(r"2 of 7 characters have no installed font \(\d+ indexed faces searched\)", lines[2])
    assert len(lines) == 3

    assert main(["fonts", "--coverage", "\u2717 \u0964 \U0001D11E"]) == 0
    assert re.fullmatch(r"every character has an installed font \(4 characters, \d+ indexed faces searched\)",
                        capsys.readouterr().out.strip())


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


@pytest.mark.parametrize("arguments, message", [
    (["render", "x", "--size", "-3"], "lumo-font: bad size"),
    (["render", "x", "-o", "no/such/folder/x.png"], "lumo-font: cannot write no/such/folder/x.png: No such file"),
])
def test_module_entry_exits_2_with_one_line(tmp_path, arguments, message):
    result = run_module(*arguments, cwd=tmp_path)
    assert result.returncode == 2
    assert result.stderr.startswith(message) and result.stderr.count("\n") == 1
    assert "Wrote" not in result.stdout


@pytest.mark.parametrize("name", ["out", "out.jpg", "OUT.PNG", "out.tga"])
def test_output_is_png_whatever_the_name(tmp_path, name, capsys):
    output = tmp_path / name
    assert main(["render", "Hi", "--bg", "none", "-o", str(output)]) == 0
    assert output.read_bytes().startswith(PNG_SIGNATURE)
    image = pygame.image.load(str(output), "x.png")
    assert image.get_at((0, 0)).a == 0, "the transparent background survives"
    assert capsys.readouterr().out.startswith(f"Wrote {output}: ")


def test_output_replaces_an_existing_longer_file(tmp_path, capsys):
    output = tmp_path / "old.png"
    output.write_bytes(b"x" * 1_000_000)
    assert main(["render", "Hi", "-o", str(output)]) == 0
    assert output.read_bytes().startswith(PNG_SIGNATURE) and output.stat().st_size < 1_000_000


def special_targets(tmp_path):
    fifo = tmp_path / "fifo.png"
    os.mkfifo(fifo)
    (tmp_path / "folder.png").mkdir()
    targets = {"fifo": (fifo, "not a regular file"), "directory": (tmp_path / "folder.png", "not a regular file"),
               "device": ("/dev/null", "not a regular file"),
               "missing folder": (tmp_path / "missing" / "x.png", "No such file or directory")}
    if os.path.exists("/proc/version"):   # takes writes and keeps nothing, or refuses them
        targets["/proc file"] = ("/proc/version", "")
    return targets


@pytest.mark.parametrize("kind", ["fifo", "directory", "device", "missing folder", "/proc file"])
def test_outputs_that_cannot_take_the_image(tmp_path, kind):
    targets = special_targets(tmp_path)
    if kind not in targets:
        pytest.skip(f"no {kind} here")
    target, reason = targets[kind]
    # A child process, so that a FIFO opened for writing could not hang the test run.
    result = run_module("render", "x", "-o", str(target), cwd=tmp_path)
    assert result.returncode == 2
    assert result.stderr.startswith(f"lumo-font: cannot write {target}: {reason}")
    assert result.stderr.count("\n") == 1 and result.stdout == ""
    if kind == "fifo":
        assert (tmp_path / "fifo.png").is_fifo()


@pytest.mark.parametrize("arguments", [["fonts"], ["debug", "Hi"]])
def test_a_reader_that_goes_away_ends_the_command_quietly(tmp_path, arguments):
    read_end, write_end = os.pipe()
    os.close(read_end)   # like `| head -1` finishing before the output starts
    try:
        result = subprocess.run([sys.executable, "-m", "lumo_font", *arguments], stdout=write_end,
                                stderr=subprocess.PIPE, text=True, timeout=120, cwd=tmp_path)
    finally:
        os.close(write_end)
    assert result.stderr == ""
    assert result.returncode == 1


def test_top_level_help_names_the_default_job(capsys):
    with pytest.raises(SystemExit) as exited:
        main(["--help"])
    assert exited.value.code == 0
    assert "With no command, renders a multi-script sample line to sample.png" in " ".join(capsys.readouterr().out.split())


def test_every_argument_has_a_help_line():
    def actions(parser):
        for action in parser._actions:
            if isinstance(action, argparse._SubParsersAction):
                for choice in action.choices.values():
                    yield from actions(choice)
            yield parser.prog, action
    undocumented = [(prog, action.dest) for prog, action in actions(new_parser()) if not action.help]
    assert undocumented == []


@pytest.mark.parametrize("arguments, message", [
    (["render", "x", "--font", "Nope Sans"], "lumo-font: unknown font family 'Nope Sans'"),
    (["debug", "x", "--fallback", "Nope Serif Bold"], "lumo-font: unknown fallback family 'Nope Serif Bold'"),
    (["render", "x", "--face", "heavy"], "lumo-font: unknown face 'heavy'"),
    (["debug", "x", "--font", "DejaVu Sans", "--face", "semibold"], "lumo-font: unknown face 'semibold'"),
])
def test_unknown_fonts_and_faces_exit_2_with_one_line(arguments, message, capsys):
    assert main(arguments) == 2
    captured = capsys.readouterr()
    assert captured.err.startswith(message) and captured.err.count("\n") == 1
    assert captured.out == ""


@pytest.mark.parametrize("arguments, drawn_by", [
    (["--font", "DejaVu Sans", "--face", "ExtraLight"], "DejaVuSans-ExtraLight.ttf"),   # a face the family has
    (["--font", "DejaVu Sans", "--face", "bold italic"], "DejaVuSans.ttf"),             # synthesised from regular
    (["--font", "Noto Sans Bold"], "NotoSans-Bold.ttf"),                                # the face the name carries
    (["--font", "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf"], "DejaVuSerif.ttf"),
])
def test_known_fonts_and_faces_are_drawn(tmp_path, arguments, drawn_by, capsys):
    assert main(["render", "x", *arguments, "-o", str(tmp_path / "x.png")]) == 0
    assert f"PRIMARY   {drawn_by}" in capsys.readouterr().out


def assert_one_error_line(status, err, out, message):
    assert status == 2
    assert err.startswith(f"lumo-font: {message}") and err.count("\n") == 1, err[:300]
    assert out == ""


@pytest.fixture
def not_a_font(tmp_path):
    path = tmp_path / "notes.ttf"
    path.write_text("not a font\n")
    return str(path)


@pytest.mark.parametrize("arguments, message", [
    # Digits that str.isdigit takes and int() refuses, or that are another script's.
    (["render", "x", "--wrap", "²"], "bad wrap width '²'"),
    (["render", "x", "--size", "①"], "bad size '①'"),
    (["render", "x", "--size", "٣٢"], "bad size"),
    (["render", "x", "--color", "²,0,0"], "bad colour '²,0,0'"),
    (["render", "x", "--bg", "²,0,0"], "bad colour '²,0,0'"),
    # Values that look like options are still the option's value.
    (["render", "x", "--bg", "-1,0,0"], "bad colour '-1,0,0'"),
    (["render", "x", "--color", "-3"], "bad colour '-3'"),
    (["render", "x", "--size", "-1"], "bad size '-1'"),
    (["render", "x", "--wrap", "-5"], "bad wrap width '-5'"),
    (["debug", "x", "--size", "-0x10"], "bad size '-0x10'"),
    (["render", "x", "--color", "1,2,3,4,5"], "bad colour"),
    (["render", "x", "--color", "256,0,0"], "bad colour"),
    (["render", "x", "--color", ""], "bad colour ''"),
    (["render", "x", "--bg", "not-a-colour"], "bad colour 'not-a-colour'"),
    (["render", "x", "--size", ""], "bad size ''"),
    (["render", "x", "--size", "9" * 5000], "bad size '" + "9" * 40 + "...'"),
    (["render", "x", "--wrap", "1" + "0" * 30], "bad wrap width"),
    # Effects.
    (["render", "x", "--outline", "-1"], "bad outline width '-1'"),
    (["render", "x", "--outline", "²"], "bad outline width '²'"),
    (["render", "x", "--outline", "65"], "bad outline width '65'"),
    (["render", "x", "--outline-color", "300,0,0"], "bad colour '300,0,0'"),
    (["render", "x", "--shadow", "3"], "bad shadow offset '3'"),
    (["render", "x", "--shadow", "a,b"], "bad shadow offset 'a,b'"),
    (["render", "x", "--shadow", "1,2,3"], "bad shadow offset '1,2,3'"),
    (["render", "x", "--shadow", "-5000,0"], "bad shadow offset '-5000,0'"),
    (["render", "x", "--shadow-color", "nope"], "bad colour 'nope'"),
    (["render", "x", "--shadow-blur", "-2"], "bad shadow blur '-2'"),
    (["render", "x", "--shadow-blur", "1e3"], "bad shadow blur '1e3'"),
    # What argparse reports, as one line.
    (["render", "x", "--align", "foo"], "argument --align: invalid choice: 'foo'"),
    (["render", "x", "--direction", "up"], "argument --direction: invalid choice: 'up'"),
    (["render", "x", "--size"], "argument --size: expected one argument"),
    (["render"], "the following arguments are required: TEXT"),
    (["debug"], "the following arguments are required: TEXT"),
    (["draw", "x"], "argument COMMAND: invalid choice: 'draw'"),
    (["render", "x", "--bold"], "unrecognized arguments: --bold"),
    (["fonts", "a", "b"], "unrecognized arguments: b"),
    (["fonts", "--coverage"], "argument --coverage: expected one argument"),
    (["fonts", "--coverage", ""], "no characters to look up in --coverage ''"),
    (["fonts", "--coverage", "\n\t\u200d"], "no characters to look up in --coverage '\\n\\t\\u200d'"),
    (["fonts", "--coverage", "a\udcff"], "bad --coverage text 'a\\udcff': it holds bytes that are not characters"),
    (["fonts", "dejavu", "--coverage", "a"], "give a PATTERN or --coverage TEXT, not both"),
    # Empty names and files that are not fonts.
    (["render", "x", "-o", ""], "empty output file name"),
    (["render", "x", "--emoji", ""], "empty emoji font name"),
    (["render", "x", "--fallback-dir", ""], "fallback folder not found: ''"),
    (["render", "x", "--font", "NOT_A_FONT"], "font file NOT_A_FONT is not a font FreeType can read"),
    (["debug", "x", "--emoji", "NOT_A_FONT"], "emoji font file NOT_A_FONT is not a font FreeType can read"),
    # A line longer than one surface may hold at this size.
    (["render", "x" * 40000, "--size", "1000"], "cannot draw the text: "),
])
def test_every_bad_value_is_one_line_and_status_2(arguments, message, not_a_font, capsys):
    arguments = [argument.replace("NOT_A_FONT", not_a_font) for argument in arguments]
    message = message.replace("NOT_A_FONT", not_a_font)
    status = main(arguments)
    captured = capsys.readouterr()
    assert_one_error_line(status, captured.err, captured.out, message)


def png_pixels(path):
    image = pygame.image.load(str(path))
    return image.get_size(), pygame.image.tobytes(image, "RGBA")


def test_choice_words_are_taken_in_any_case(tmp_path, capsys):
    text = "one two שלום"
    assert main(["render", text, "--align", "right", "--direction", "rtl", "-o", str(tmp_path / "lower.png")]) == 0
    assert main(["render", text, "--align", "RIGHT", "--direction", "RTL", "-o", str(tmp_path / "upper.png")]) == 0
    assert png_pixels(tmp_path / "lower.png") == png_pixels(tmp_path / "upper.png")


@pytest.mark.parametrize("color, background, ink, paper", [
    ("gold", "navy", (255, 215, 0, 255), (0, 0, 128, 255)),
    ("#00ff00", "0,0,255,128", (0, 255, 0, 255), (0, 0, 255, 128)),
    # The text colour's alpha is drawn, not dropped.
    ("255,0,0,128", "none", (255, 0, 0, 128), (0, 0, 0, 0)),
])
def test_colours_by_name_hex_and_components(tmp_path, color, background, ink, paper, capsys):
    output = tmp_path / "colour.png"
    assert main(["render", "H", "--size", "60", "--color", color, "--bg", background, "-o", str(output)]) == 0
    image = pygame.image.load(str(output))
    pixels = collections.Counter(tuple(image.get_at((x, y))) for x in range(image.get_width())
                                 for y in range(image.get_height()))
    # The most common colours: the background, then the inside of the H's strokes.
    assert [colour for colour, _ in pixels.most_common(2)] == [paper, ink]


def test_values_that_start_with_a_dash(tmp_path, monkeypatch, capsys):
    monkeypatch.chdir(tmp_path)
    assert main(["render", "-x-", "--font", "DejaVu Sans", "-o", "-dash.png"]) == 2   # TEXT needs --
    capsys.readouterr()
    assert main(["render", "--font", "DejaVu Sans", "-o", "-dash.png", "--", "-x-"]) == 0
    assert (tmp_path / "-dash.png").read_bytes().startswith(PNG_SIGNATURE)
    assert capsys.readouterr().out.startswith("Wrote -dash.png: ")


FAKE_MODULE = 'raise ModuleNotFoundError("No module named {name!r}", name={name!r})\n'


@pytest.mark.parametrize("missing, message", [
    ("pygame", 'lumo_font needs pygame: install pygame-ce (pip install "lumo_font[ce]") or pygame '
               '(pip install "lumo_font[pygame]")'),
    ("emoji", "No module named 'emoji'"),
])
@pytest.mark.parametrize("command", ["module", "console script"])
def test_a_missing_library_is_one_line(tmp_path, missing, message, command):
    """pygame is an extra, so an installation can lack it; the command says what
    to install instead of showing the package import's traceback."""
    (tmp_path / missing).mkdir()
    (tmp_path / missing / "__init__.py").write_text(FAKE_MODULE.format(name=missing))
    if command == "module":
        program = [sys.executable, "-m", "lumo_font"]
    else:
        script = pathlib.Path(sys.executable).with_name("lumo-font")
        if not script.exists():
            pytest.skip("the lumo-font console script is not installed beside this interpreter")
        program = [str(script)]
    environment = dict(os.environ, PYTHONPATH=str(tmp_path))
    result = subprocess.run([*program, "render", "x"], capture_output=True, text=True, timeout=120, cwd=tmp_path,
                            env=environment)
    assert_one_error_line(result.returncode, result.stderr, result.stdout, message)
