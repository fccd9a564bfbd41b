"""Draws docs/text_input.png, the README's picture of text input: a line of
English and Hebrew with a selection that crosses the change of direction
(two rectangles), every caret position marked, and the strong and weak
carets where the directions meet.

    python3 docs/text_input.py [OUTPUT]
"""
import os
import sys

os.environ.setdefault("SDL_VIDEODRIVER", "dummy")
os.environ.setdefault("PYGAME_HIDE_SUPPORT_PROMPT", "1")

import pygame  # noqa: E402

import lumo_font  # noqa: E402

NOTO_SANS = "/usr/share/fonts/truetype/noto/NotoSans-Regular.ttf"
TEXT = "Hello שלום עולם world"
SELECTED = (3, 10)      # "lo שלום": the end of the English word and the start of the Hebrew one
WHERE_THEY_MEET = 6     # after "Hello ", before "שלום"
BACKGROUND = (24, 28, 40)
SELECTION = (70, 110, 190)
STOP = (110, 120, 140)
STRONG = (255, 220, 120)
WEAK = (255, 140, 90)
LABEL = (170, 180, 200)


def main(output):
    pygame.init()
    font = lumo_font.LumoFont(NOTO_SANS, NOTO_SANS, lumo_font.script_font_folder(), None)
    layout = font.layout_block(TEXT, 48, (235, 235, 240), markup=False)
    width, height = layout.size
    labels = font.layout_block(f"selection_rects{SELECTED}: \"lo \" and \"שלום\", two rectangles\n"
                               f"caret({WHERE_THEY_MEET}): the strong caret, caret({WHERE_THEY_MEET}, other=True): "
                               f"the weak one\nticks: every caret position", 16, LABEL, markup=False)
    canvas = pygame.Surface((max(width, labels.size[0]) + 60, height + labels.size[1] + 70))
    canvas.fill(BACKGROUND)
    origin = (30, 30)

    for rect in layout.selection_rects(*SELECTED):
        pygame.draw.rect(canvas, SELECTION, rect.move(origin))
    layout.draw(canvas, origin)

    # Every caret position: a tick under the line.
    index = 0
    while True:
        caret = layout.caret(index).move(origin)
        pygame.draw.line(canvas, STOP, (caret.x, caret.bottom + 2), (caret.x, caret.bottom + 8))
        following = layout.next_caret(index)
        if following == index:
            break
        index = following

    # Where the directions meet: the strong caret (after the space typed last) and the weak one (before "ש").
    strong = layout.caret(WHERE_THEY_MEET).move(origin)
    weak = layout.caret(WHERE_THEY_MEET, other=True).move(origin)
    pygame.draw.rect(canvas, STRONG, strong.inflate(2, 0))
    pygame.draw.rect(canvas, WEAK, (weak.x - 1, weak.centery, 3, weak.height // 2))

    labels.draw(canvas, (30, height + 55))
    pygame.image.save(canvas, output)
    print(f"{output}: {canvas.get_width()}x{canvas.get_height()}")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                                              "text_input.png"))
