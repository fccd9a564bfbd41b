"""Draws docs/dialogue.png, the README's strip of dialogue frames: one laid-out
line of English, Arabic and Japanese with an emoji, revealed a few clusters
further in each frame (nothing moves or changes shape as it appears), then
shown whole with one word on a wave and the last word fading in.

    python3 docs/dialogue.py [OUTPUT]
"""
import math
import os
import sys

os.environ.setdefault("SDL_VIDEODRIVER", "dummy")
os.environ.setdefault("PYGAME_HIDE_SUPPORT_PROMPT", "1")

import pygame  # noqa: E402

import lumo_font  # noqa: E402

EMOJI_FONT = "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf"
TEXT = "The sign says مرحبا بكم, the innkeeper いらっしゃいませ 🏮 and the ^4dragon^0 sleeps."
WAVING = "dragon"
FADING = "sleeps."
BACKGROUND = (24, 28, 40)
PANEL = (40, 46, 62)
LABEL = (150, 160, 185)
CLUSTERS_SHOWN = [6, 16, 19, 27, 36, 44]  # the typewriter's frames, in clusters


def main(output):
    pygame.init()
    emoji = EMOJI_FONT if os.path.exists(EMOJI_FONT) else None
    font = lumo_font.LumoFont("Noto Sans", "Noto Sans CJK JP", lumo_font.script_font_folder(), emoji)
    layout = font.layout_block(TEXT, 26, (235, 235, 240), wraplength=520)
    clusters = layout.clusters
    width, height = layout.size
    rows = len(CLUSTERS_SHOWN) + 1
    step = height + 26
    canvas = pygame.Surface((width + 200, rows * step + 16))
    canvas.fill(BACKGROUND)

    def panel(row, label):
        top = 8 + row * step
        pygame.draw.rect(canvas, PANEL, (8, top, width + 184, step - 8), border_radius=8)
        font.draw_block(canvas, (20, top + 8), label, 15, LABEL, markup=False)
        return 180, top + 12

    for row, shown in enumerate(CLUSTERS_SHOWN):
        reveal = clusters[shown - 1].end
        layout.draw(canvas, panel(row, f"reveal={reveal}"), reveal=reveal)

    # Shown whole: the marked word on a wave, the last word fading in, by their text ranges.
    wave_start = TEXT.index(WAVING)
    fade_start = TEXT.index(FADING)

    def offsets(index):
        start = clusters[index].start
        if wave_start <= start < wave_start + len(WAVING):
            return 0, -4 * math.sin(1.2 - (start - wave_start) * 0.9), 255
        if start >= fade_start:
            return 0, 0, max(0, 255 - 45 * (start - fade_start))
        return 0, 0, 255

    layout.draw(canvas, panel(rows - 1, "offsets="), offsets=offsets)
    pygame.image.save(canvas, output)
    print(f"{output}: {canvas.get_width()}x{canvas.get_height()}")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                                              "dialogue.png"))
