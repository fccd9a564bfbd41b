"""HarfBuzz's command-line tools as a reference renderer for the tests.

`hb-shape` tells what a font's shaping gives for a text (glyphs and their
advances in font units) and `hb-view` draws the text, so the engine's runs can
be compared with what HarfBuzz itself produces from the same font file.
"""
from __future__ import annotations

import json
import shutil
import subprocess
from pathlib import Path

import pygame
from fontTools.ttLib import TTFont

TOOLS = ("hb-shape", "hb-view")


def missing_tools() -> list[str]:
    """The HarfBuzz tools that cannot be found on PATH."""
    return [tool for tool in TOOLS if shutil.which(tool) is None]


def split_path(path_data) -> tuple[str, int]:
    """The file and the face index of a path record ([file, index]) or a bare path."""
    if isinstance(path_data, (list, tuple)):
        return str(path_data[0]), max(int(path_data[1]), 0)
    return str(path_data), 0


def _font_args(path_data, features=None, language=None, variations=None) -> list[str]:
    """The font and the typography options, as both tools take them: features
    and variations in HarfBuzz's text syntax, the language as a BCP 47 tag."""
    path, index = split_path(path_data)
    arguments = [f"--font-file={path}", f"--face-index={index}"]
    if features is not None:
        arguments.append(f"--features={features}")
    if language is not None:
        arguments.append(f"--language={language}")
    if variations is not None:
        arguments.append(f"--variations={variations}")
    return arguments


def units_per_em(path_data) -> int:
    path, index = split_path(path_data)
    font = TTFont(path, fontNumber=index, lazy=True)
    try:
        return font["head"].unitsPerEm
    finally:
        font.close()


def shape(path_data, text: str, **options) -> list[dict]:
    """hb-shape's glyphs for `text`, in font units: dicts with g (glyph id),
    cl (cluster), dx, dy, ax and ay. `options`: features, language, variations."""
    result = subprocess.run(["hb-shape", *_font_args(path_data, **options), "--output-format=json",
                             "--no-glyph-names", f"--text={text}"],
                            capture_output=True, text=True, check=True)
    return json.loads(result.stdout)


def advance_px(path_data, text: str, size: int, **options) -> int:
    """The pen advance of `text` at `size` pixels per em, rounded half up."""
    units = sum(glyph["ax"] for glyph in shape(path_data, text, **options))
    return int(units * size / units_per_em(path_data) + 0.5)


def view(path_data, text: str, size: int, out_dir: Path, **options) -> pygame.Surface:
    """hb-view's drawing of `text`: white ink on a transparent background, no margin,
    outlines loaded unhinted through FreeType (FT_LOAD_NO_HINTING), as the engine does.
    `options`: features, language, variations."""
    out = Path(out_dir) / "hb-view.png"
    subprocess.run(["hb-view", *_font_args(path_data, **options), "--font-funcs=ft", "--ft-load-flags=2",
                    f"--font-size={size}", "--margin=0", "--background=00000000",
                    "--foreground=FFFFFFFF", "--output-format=png", "-o", str(out), f"--text={text}"],
                   capture_output=True, check=True)
    return pygame.image.load(str(out))
