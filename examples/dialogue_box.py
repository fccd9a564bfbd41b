"""A dialogue box drawn with lumo_font, as role-playing games and visual
novels show their lines: each line typed out at 30 characters per second
(English, Arabic and Japanese with an emoji), one word waving, a key press or
click showing the rest of the line at once and then the next line.

The line is laid out once (layout_block); each frame draws it with
TextLayout.draw(reveal=...), so letters never jump to another line or change
shape while they appear, and the waving word is moved letter by letter with
draw(offsets=...) from the glyphs already drawn. Colours come from the usual
markup tags; the words to animate are marked by their place in the text.

    python3 examples/dialogue_box.py                    # a window, until closed
    python3 examples/dialogue_box.py --frames 60 --screenshot shot.png
"""
import argparse
import math
import os

os.environ.setdefault("PYGAME_HIDE_SUPPORT_PROMPT", "1")
os.environ.setdefault("SDL_AUDIODRIVER", "dummy")

import pygame  # noqa: E402

import lumo_font  # noqa: E402

EMOJI_FONT = "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf"
CHARACTERS_PER_SECOND = 30
BACKGROUND = (24, 28, 40)
PANEL = (40, 46, 62)
BORDER = (120, 130, 160)
TEXT = (235, 235, 240)
# (line, word that waves): ^4 ... ^0 is the markup's yellow.
LINES = [
    ("Welcome, traveller! The sign says مرحبا بكم and the innkeeper says いらっしゃいませ 🏮. "
     "Mind the ^4dragon^0 upstairs.", "dragon"),
    ("شكرا! The ^4treasure^0 is yours: 宝物 💎, but only for tonight.", "treasure"),
]


def word_range(text, word):
    """Where `word` stands in `text`: the range of text indices the wave moves (tags included)."""
    start = text.index(word)
    return start, start + len(word)


class DialogueBox:
    """One line of dialogue at a time in `rect`: typed out, one word waving,
    skipped to its end by a key press (or, once shown whole, on to the next line)."""

    def __init__(self, font, rect, lines=LINES, size=26, wave_height=4.0):
        self.font = font
        self.rect = pygame.Rect(rect)
        self.lines = lines
        self.size = size
        self.wave_height = wave_height
        self.number = 0
        self.start_line(0)

    def start_line(self, number):
        self.number = number % len(self.lines)
        text, word = self.lines[self.number]
        self.text = text
        self.layout = self.font.layout_block(text, self.size, TEXT, wraplength=self.rect.width - 40)
        self.clusters = self.layout.clusters
        start, end = word_range(text, word)
        # The clusters of the marked word, by their place in the text.
        self.waving = {i for i, cluster in enumerate(self.clusters) if start <= cluster.start < end}
        self.elapsed = 0.0  # seconds since the line started
        self.shown = 0      # clusters shown

    def finished(self):
        return self.shown == len(self.clusters)

    def update(self, seconds):
        self.elapsed += seconds
        self.shown = max(self.shown, min(len(self.clusters), int(self.elapsed * CHARACTERS_PER_SECOND)))

    def skip(self):
        if self.finished():
            self.start_line(self.number + 1)
        else:
            self.shown = len(self.clusters)

    def handle(self, event):
        if event.type == pygame.KEYDOWN or (event.type == pygame.MOUSEBUTTONDOWN and event.button == 1):
            self.skip()

    def reveal(self):
        """The text index the frame shows up to: the end of the last cluster shown."""
        return self.clusters[self.shown - 1].end if self.shown else 0

    def offsets(self, index):
        """(dx, dy, alpha) of cluster `index`: the marked word rides a wave, the rest stands still."""
        if index not in self.waving or self.wave_height == 0:
            return 0, 0, 255
        return 0, -self.wave_height * math.sin(self.elapsed * 6.0 - index * 0.7), 255

    def text_origin(self):
        return self.rect.x + 20, self.rect.y + 16

    def draw(self, surface):
        pygame.draw.rect(surface, PANEL, self.rect, border_radius=10)
        pygame.draw.rect(surface, BORDER, self.rect, width=2, border_radius=10)
        self.layout.draw(surface, self.text_origin(), reveal=self.reveal(),
                         offsets=self.offsets if self.waving else None)
        if self.finished() and int(self.elapsed * 2) % 2 == 0:
            # A blinking marker: press a key for the next line.
            x, y = self.rect.right - 28, self.rect.bottom - 22
            pygame.draw.polygon(surface, BORDER, [(x, y), (x + 12, y), (x + 6, y + 8)])


def make_font():
    emoji = EMOJI_FONT if os.path.exists(EMOJI_FONT) else None
    return lumo_font.LumoFont("Noto Sans", "Noto Sans CJK JP", lumo_font.script_font_folder(), emoji)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--frames", type=int, default=0, help="stop after this many frames (0: run until closed)")
    parser.add_argument("--screenshot", help="save the last frame to this file")
    args = parser.parse_args()

    pygame.init()
    screen = pygame.display.set_mode((900, 320))
    pygame.display.set_caption("lumo_font dialogue box")
    box = DialogueBox(make_font(), (30, 150, 840, 140))
    clock = pygame.time.Clock()
    frame = 0
    running = True
    while running:
        seconds = clock.tick(60) / 1000.0
        for event in pygame.event.get():
            if event.type == pygame.QUIT:
                running = False
            else:
                box.handle(event)
        box.update(1 / 60 if args.frames else seconds)
        screen.fill(BACKGROUND)
        box.draw(screen)
        pygame.display.flip()
        frame += 1
        if args.frames and frame >= args.frames:
            running = False
    if args.screenshot:
        pygame.image.save(screen, args.screenshot)
    pygame.quit()


if __name__ == "__main__":
    main()
