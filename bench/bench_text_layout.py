"""Speed of text input's and dialogue's calls, in one run: laying out a line
against measuring it, the questions a text field asks every frame or click,
and a block drawn with every grapheme cluster moved on its own.

    python3 bench/bench_text_layout.py [--lines N]

DejaVu Sans at size 24, as bench_render.py. Prints medians and the ratios the
engine aims for; it asserts nothing."""
import argparse
import math
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
    bench_dialogue(font)
    return 0


def bench_dialogue(font):
    """A 200-cluster block drawn onto the screen each frame with a wave through every cluster, against
    the same block painted whole from its glyphs (every cluster still) and a render_block() cache hit
    blitted (a surface painted once)."""
    screen = pygame.display.set_mode((800, 600))
    text = ("The quick brown fox jumps over the lazy dog. " * 5)[:200]
    layout = font.layout_block(text, SIZE, wraplength=600)
    count = len(layout.clusters)
    waves = [[(0, round(3 * math.sin(frame / 5 + i / 2)), 255) for i in range(count)] for frame in range(50)]
    frames = 200

    def whole(frame):
        screen.blit(font.render_block(text, SIZE, wraplength=600), (10, 10))

    def waved(frame):
        layout.draw(screen, (10, 10), offsets=waves[frame % len(waves)])

    still = [(0, 0, 255)] * count

    def painted_whole(frame):
        layout.draw(screen, (10, 10), offsets=still)

    def waved_by_callable(frame):
        phase = frame / 5
        layout.draw(screen, (10, 10), offsets=lambda i: (0, 3 * math.sin(phase + i / 2), 255))

    plain, painted, moved, called, ratios, hit_ratios = [], [], [], [], [], []
    for round_index in range(7):
        plain.append(per_call_microseconds(whole, lambda r: range(frames), rounds=1))
        painted.append(per_call_microseconds(painted_whole, lambda r: range(frames), rounds=1))
        moved.append(per_call_microseconds(waved, lambda r: range(frames), rounds=1))
        called.append(per_call_microseconds(waved_by_callable, lambda r: range(frames), rounds=1))
        ratios.append(moved[-1] / painted[-1])
        hit_ratios.append(moved[-1] / plain[-1])
    print(f"{count}-cluster block (DejaVu Sans {SIZE}, 3 lines), drawn onto an 800x600 screen each frame")
    print(f"{'14. draw(offsets=[...]): a wave through every cluster':<52} {statistics.median(moved):>14.1f} "
          f"{statistics.median(ratios):>8.2f}")
    print(f"{'    the block painted whole (every cluster still)':<52} {statistics.median(painted):>14.1f}")
    print(f"{'    the same wave from a callable':<52} {statistics.median(called):>14.1f}")
    print(f"{'    render_block() cache hit blitted':<52} {statistics.median(plain):>14.1f} "
          f"{statistics.median(hit_ratios):>8.2f}")
    print("targets: case 14 <= 3 (against the block painted whole) and <= 1000 microseconds; its ratio to a\n"
          "cache hit blitted is printed on the last line")


if __name__ == "__main__":
    sys.exit(main())
