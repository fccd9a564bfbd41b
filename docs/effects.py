"""Draws the README's pictures of text effects: text_effects.png (each effect
on a busy background) and game_over.png (a title centred with draw_block),
into docs/ or the folder given.

    python3 docs/effects.py [FOLDER]

Needs the fonts the set-up installs (Noto Sans, DejaVu Sans, Noto Color Emoji)."""
import os
import pathlib
import sys

os.environ.setdefault("SDL_VIDEODRIVER", "dummy")
os.environ.setdefault("PYGAME_HIDE_SUPPORT_PROMPT", "1")

import pygame  # noqa: E402

import lumo_font  # noqa: E402

DOCS = pathlib.Path(__file__).resolve().parent
EMOJI = "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf"

EXAMPLES = [
    ("outline=3", dict(outline=3)),
    ('outline=2, outline_color="gold"', dict(color="black", outline=2, outline_color="gold")),
    ("shadow=(4, 4)", dict(shadow=(4, 4))),
    ("shadow=(3, 5), shadow_blur=4", dict(shadow=(3, 5), shadow_blur=4, shadow_color=(0, 0, 0, 200))),
    ("outline=2, shadow=(5, 5), shadow_blur=3", dict(outline=2, shadow=(5, 5), shadow_blur=3)),
    ("underline=True, strikethrough=True", dict(underline=True, strikethrough=True)),
]


def backdrop(size):
    """Stripes in two colours: text over a busy game scene."""
    surface = pygame.Surface(size)
    surface.fill((58, 110, 165))
    for x in range(-size[1], size[0], 24):
        pygame.draw.line(surface, (230, 190, 90), (x, size[1]), (x + size[1], 0), 9)
    return surface


def main(folder):
    pygame.init()
    font = lumo_font.LumoFont("Noto Sans", "DejaVu Sans", lumo_font.script_font_folder(),
                              EMOJI if os.path.exists(EMOJI) else None)
    screen = backdrop((900, 6 * 62 + 20))
    for row, (label, options) in enumerate(EXAMPLES):
        options = dict(options)
        color = options.pop("color", "white")
        top = 10 + row * 62
        font.draw_block(screen, (16, top + 31), "Score ^3999^0 שלום 😀", 36, color, anchor="midleft", **options)
        font.draw_block(screen, (470, top + 31), label, 18, "white", anchor="midleft", background=(0, 0, 0, 150))
    pygame.image.save(screen, str(folder / "text_effects.png"))

    screen = backdrop((640, 240))
    screen.fill((20, 24, 40), screen.get_rect().inflate(-20, -20))
    font.draw_block(screen, screen.get_rect().center, "GAME OVER", 64, "white", anchor="center",
                    outline=3, outline_color="crimson", shadow=(4, 6), shadow_blur=3)
    pygame.image.save(screen, str(folder / "game_over.png"))
    print(f"Wrote {folder / 'text_effects.png'} and {folder / 'game_over.png'}")


if __name__ == "__main__":
    main(pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else DOCS)
