"""Draws lines with new font objects while the process has only a little
address space left, then, with the limit lifted, draws the same lines with
the same objects and compares them with fresh objects' lines. Prints how
many objects drew wrongly afterwards: what was learned while memory was
short must not have been kept.

    python memory_pressure.py HEADROOM_MIB
"""
import os
import resource
import sys

os.environ.setdefault("SDL_VIDEODRIVER", "dummy")
os.environ.setdefault("PYGAME_HIDE_SUPPORT_PROMPT", "1")

import pygame  # noqa: E402

import lumo_font  # noqa: E402

NOTO = "/usr/share/fonts/truetype/noto"
SYMBOLA = "/usr/share/fonts/truetype/ancient-scripts/Symbola_hint.ttf"
LINES = ["Hello world", "مرحبا بكم", "שלום עולם", "नमस्ते", "你好世界", "emoji 😀 ♥", "^1red <bold={bold}>"]
SET_UPS = [("Noto Sans", "Noto Sans CJK SC", NOTO, SYMBOLA), ("DejaVu Sans", "DejaVu Serif", NOTO, SYMBOLA),
           ("Noto Serif", "DejaVu Sans", NOTO, None)]
OBJECTS = 51


def address_space_in_use():
    with open("/proc/self/status") as status:
        for line in status:
            if line.startswith("VmSize:"):
                return int(line.split()[1]) * 1024
    raise RuntimeError("no VmSize in /proc/self/status")


def sizes_of(number):
    return (14 + number % 5, 30)


def draw_everything(font, number, failures):
    for text in LINES:
        for size in sizes_of(number):
            try:
                font.render(text, size)
            except MemoryError:
                failures["MemoryError"] = failures.get("MemoryError", 0) + 1


def main():
    headroom = int(sys.argv[1]) << 20
    lumo_font.load_or_update_font_map()  # the index file is written before memory gets short
    soft, hard = resource.getrlimit(resource.RLIMIT_AS)
    fonts, failures = [], {}
    resource.setrlimit(resource.RLIMIT_AS, (address_space_in_use() + headroom, hard))
    try:
        for number in range(OBJECTS):
            try:
                font = lumo_font.LumoFont(*SET_UPS[number % len(SET_UPS)])
            except MemoryError:
                continue
            fonts.append((number, font))
            draw_everything(font, number, failures)
    finally:
        resource.setrlimit(resource.RLIMIT_AS, (soft, hard))
    wrong = 0
    for number, font in fonts:
        fresh = lumo_font.LumoFont(*SET_UPS[number % len(SET_UPS)])
        for text in LINES:
            for size in sizes_of(number):
                ours, theirs = font.render(text, size), fresh.render(text, size)
                if ours.get_size() != theirs.get_size() or \
                        pygame.image.tobytes(ours, "RGBA") != pygame.image.tobytes(theirs, "RGBA"):
                    wrong += 1
                    break
            else:
                continue
            break
    print(f"objects {len(fonts)} memory errors {failures.get('MemoryError', 0)} wrong {wrong}")


if __name__ == "__main__":
    main()
