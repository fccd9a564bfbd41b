"""Speed of text input's calls, in one run: laying out a line against measuring
it, and the questions a text field asks every frame or click.

    python3 bench/bench_text_layout.py [--lines N]

DejaVu Sans at size 24, as bench_render.py. Prints medians and the ratios the
engine aims for; it asserts nothing."""
import argparse
import os
import statistics
import sys
import time

os.environ.setdefault("SDL_VIDEODRIVER", "dummy")
os.environ.setdefault("PYGAME_HIDE_SUPPORT_PROMPT", "1")

import pygame  # noqa: E402

import lumo_font  # noqa: E402

DEJAVU = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
SIZE = 24


def per_call_microseconds(function, items, rounds=5):
    """Median over rounds of the mean time per item, in microseconds."""
    results = []
    for round_index in range(rounds):
        batch = items(round_index)
        start = time.perf_counter()
        for item in batch:
            function(item)
        results.append((time.perf_counter() - start) / len(batch) * 1e6)
    return statistics.median(results)


def latin_lines(count, salt):
    return [f"{salt:02d}{i:06d} The quick brown fox jumps over it"[:40] for i in range(count)]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--lines", type=int, default=2000, help="distinct lines per timing round")
    args = parser.parse_args()
    count = args.lines

    pygame.init()
    font = lumo_font.LumoFont(DEJAVU, DEJAVU, None, None)
    font.layout_block("warm up", SIZE)

    # Rounds of the two calls one after the other, so that both meet the same load of the machine.
    measured, laid_out, ratios = [], [], []
    for round_index in range(7):
        measured.append(per_call_microseconds(lambda t: font.size_block(t, SIZE),
                                              lambda r: latin_lines(count, 10 + round_index), rounds=1))
        laid_out.append(per_call_microseconds(lambda t: font.layout_block(t, SIZE),
                                              lambda r: latin_lines(count, 30 + round_index), rounds=1))
        ratios.append(laid_out[-1] / measured[-1])
    print(f"Per call, median of 7 rounds; DejaVu Sans at size {SIZE}, 40-character Latin lines")
    print(f"{'case':<52} {'microseconds':>14} {'ratio':>8}")
    print(f"{'11. layout_block() of a line, uncached':<52} {statistics.median(laid_out):>14.1f} "
          f"{statistics.median(ratios):>8.2f}")
    print(f"{'    size_block() of such a line':<52} {statistics.median(measured):>14.1f}")

    layout = font.layout_block(latin_lines(1, 99)[0], SIZE)
    width, height = layout.size
    points = [((i * 7) % width, height // 2) for i in range(count)]
    indices = [i % 41 for i in range(count)]
    hit = per_call_microseconds(layout.index_at, lambda r: points)
    caret = per_call_microseconds(layout.caret, lambda r: indices)
    print(f"{'12. index_at() on such a line':<52} {hit:>14.2f}")
    print(f"{'13. caret() on such a line':<52} {caret:>14.2f}")
    print("targets: case 11 <= 1.5 (against size_block() of the line), cases 12 and 13 <= 2 microseconds")
    return 0


if __name__ == "__main__":
    sys.exit(main())
