"""Draws docs/typography.png, the README's picture of the typography options:
OpenType features, the language of the text and variable fonts, each row
drawn by lumo_font with the option beside the same text without it.

    python3 docs/typography.py [OUTPUT]

Needs the fonts the set-up installs (Noto Sans, Noto Sans CJK, Inter)."""
import os
import sys
from pathlib import Path

os.environ.setdefault("SDL_VIDEODRIVER", "dummy")
os.environ.setdefault("PYGAME_HIDE_SUPPORT_PROMPT", "1")

import pygame  # noqa: E402

import lumo_font  # noqa: E402

INTER = "/usr/share/fonts/truetype/inter-vf/Inter.var.ttf"
NOTO_CJK = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"
BACKGROUND = (30, 36, 48)
INK = (255, 255, 255)
NOTE = (150, 170, 200)
SIZE, NOTE_SIZE = 30, 15
MARGIN, GAP, COLUMN = 16, 28, 250

# (what the row shows, font, text, face, [(caption, options), ...]): the first cell draws without options.
ROWS = [
    ("features", "Noto Sans", "office affluent", "",
     [("default", {}), ('features="-liga"', {"features": "-liga"})]),
    ("features", INTER, "1111 8888", "",
     [("default", {}), ('{"tnum": True}', {"features": {"tnum": True}})]),
    ("features", "Noto Sans", "AVATAR WAVE", "",
     [("default", {}), ('{"kern": False}', {"features": {"kern": False}})]),
    ("language", "Noto Sans", "бгдпт", "italic",
     [('language="ru"', {"language": "ru"}), ('language="sr"', {"language": "sr"})]),
    ("language", NOTO_CJK, "直刃骨", "",
     [('language="ja"', {"language": "ja"}), ('language="zh-Hant"', {"language": "zh-Hant"})]),
    ("variations", INTER, "Hamburg", "",
     [('{"wght": 100}', {"variations": {"wght": 100}}), ('{"wght": 900}', {"variations": {"wght": 900}})]),
    ("variations", INTER, "Hamburg", "",
     [('"Light Italic"', {"variations": "Light Italic"}), ('"wght=650,slnt=-10"', {"variations": "wght=650,slnt=-10"})]),
    ("face words", INTER, "Hamburg", "",
     [('face="semibold"', {"face": "semibold"}), ('face="black italic"', {"face": "black italic"})]),
]


def main(output):
    pygame.init()
    notes = lumo_font.LumoFont("Noto Sans", "Noto Sans", None, None)
    cells = []
    for kind, family, text, face, variants in ROWS:
        font = lumo_font.LumoFont(family, "Noto Sans", None, None)
        row = [notes.render_block(kind, NOTE_SIZE, NOTE)]
        for caption, options in variants:
            options = dict(options)
            drawn = font.render_block(text, SIZE, INK, options.pop("face", face), **options)
            row.append((drawn, notes.render_block(caption, NOTE_SIZE, NOTE)))
        cells.append(row)
    label_width = max(row[0].get_width() for row in cells) + GAP
    row_heights = [max(drawn.get_height() + caption.get_height() for drawn, caption in row[1:]) for row in cells]
    width = MARGIN * 2 + label_width + COLUMN * max(len(row) - 1 for row in cells)
    height = MARGIN * 2 + sum(row_heights) + GAP // 2 * (len(cells) - 1)
    picture = pygame.Surface((width, height), pygame.SRCALPHA)
    picture.fill(BACKGROUND)
    y = MARGIN
    for row, row_height in zip(cells, row_heights):
        picture.blit(row[0], (MARGIN, y + (row_height - row[0].get_height()) // 2))
        for column, (drawn, caption) in enumerate(row[1:]):
            x = MARGIN + label_width + column * COLUMN
            picture.blit(drawn, (x, y))
            picture.blit(caption, (x, y + drawn.get_height()))
        y += row_height + GAP // 2
    pygame.image.save(picture, str(output))
    print(f"Wrote {output}: {width} x {height} pixels")


if __name__ == "__main__":
    main(Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent / "typography.png")
