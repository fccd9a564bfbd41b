"""A small pygame program drawing text with lumo_font: mixed scripts, colour
and face tags, and a score that changes every frame on the dynamic path.

    python3 examples/scoreboard.py                    # a window, until closed
    python3 examples/scoreboard.py --frames 60 --screenshot shot.png
"""
import argparse
import os

os.environ.setdefault("PYGAME_HIDE_SUPPORT_PROMPT", "1")
os.environ.setdefault("SDL_AUDIODRIVER", "dummy")

import pygame  # noqa: E402

import lumo_font  # noqa: E402

LINES = [
    ("^3Welcome^0, player!  <bold={Level 3}>", 36),
    ("مرحبا بك · ברוך הבא · स्वागत है · ยินดีต้อนรับ · 欢迎", 28),
    ("^2Health ^1♥♥♥^0   <italic={Press SPACE to jump}>", 24),
]
BACKGROUND = (24, 28, 40)


def draw_frame(screen, font, frame):
    screen.fill(BACKGROUND)
    y = 20
    for text, size in LINES:
        line = font.render(text, size)
        screen.blit(line, (20, y))
        y += line.get_height()
    # Changing ASCII text: each character is drawn once and reused from the glyph cache.
    score = font.render(f"Score: {frame * 137}", 32, (255, 220, 120), dynamic=True)
    screen.blit(score, (20, y + 10))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--frames", type=int, default=0, help="stop after this many frames (0: run until closed)")
    parser.add_argument("--screenshot", help="save the last frame to this PNG")
    args = parser.parse_args()

    pygame.init()
    screen = pygame.display.set_mode((900, 260))
    pygame.display.set_caption("lumo_font scoreboard")
    # The script font folder holds the installed Noto fonts for Arabic, Hebrew, Indic, Thai, ...
    font = lumo_font.LumoFont("Noto Sans", "Noto Sans CJK SC", lumo_font.script_font_folder(),
                              "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf")
    clock = pygame.time.Clock()
    frame = 0
    running = True
    while running:
        for event in pygame.event.get():
            if event.type == pygame.QUIT:
                running = False
        draw_frame(screen, font, frame)
        pygame.display.flip()
        frame += 1
        if args.frames and frame >= args.frames:
            running = False
        clock.tick(60 if not args.frames else 0)
    if args.screenshot:
        pygame.image.save(screen, args.screenshot)
    pygame.quit()


if __name__ == "__main__":
    main()
