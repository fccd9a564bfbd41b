"""Coverage reading speed and size, side by side with fontTools in one run.

    python3 bench/bench_coverage.py [--repeat N] [--font PATH] [--face N]

Reads the preferred Unicode map of one face (by default face 0 of the Noto
CJK collection, about 45,000 code points) with lumo_font's native reader and
with fontTools' getBestCmap, and reports medians, their ratio (target at most
0.02) and the memory each result holds. It prints; it asserts nothing."""
import argparse
import os
import statistics
import sys
import time

os.environ.setdefault("PYGAME_HIDE_SUPPORT_PROMPT", "1")

from fontTools.ttLib import TTFont  # noqa: E402

from lumo_font import _native  # noqa: E402

CJK_COLLECTION = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"
TARGET_RATIO = 0.02


def median_seconds(function, repeat):
    times = []
    for _ in range(repeat):
        start = time.perf_counter()
        function()
        times.append(time.perf_counter() - start)
    return statistics.median(times)


def fonttools_best_cmap(path, face_index):
    with TTFont(path, fontNumber=face_index, lazy=True) as font:
        return font.getBestCmap() or {}


def dict_bytes(mapping):
    """The dict with its int keys and its distinct glyph-name values."""
    values = {id(value): value for value in mapping.values()}
    return (sys.getsizeof(mapping) + sum(sys.getsizeof(key) for key in mapping)
            + sum(sys.getsizeof(value) for value in values.values()))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--repeat", type=int, default=7)
    parser.add_argument("--font", default=CJK_COLLECTION)
    parser.add_argument("--face", type=int, default=0)
    args = parser.parse_args()
    if not os.path.exists(args.font):
        print(f"{args.font} is not installed; pass --font")
        return

    # One untimed read each, so both start with the file in the page cache.
    coverage = _native._read_unicode_coverage(args.font, args.face)
    best_cmap = fonttools_best_cmap(args.font, args.face)

    native = median_seconds(lambda: _native._read_unicode_coverage(args.font, args.face), args.repeat)
    reference = median_seconds(lambda: fonttools_best_cmap(args.font, args.face), args.repeat)
    ratio = native / reference

    print(f"font: {args.font}, face {args.face}; median of {args.repeat} runs")
    print(f"  code points: lumo_font {len(coverage)}, fontTools {len(best_cmap)}, "
          f"same set: {set(best_cmap) == {c for a, b in coverage.ranges() for c in range(a, b + 1)}}")
    print(f"  _read_unicode_coverage      {native * 1000:9.2f} ms")
    print(f"  fontTools getBestCmap       {reference * 1000:9.2f} ms")
    print(f"  ratio                       {ratio:9.4f}  (target <= {TARGET_RATIO}: "
          f"{'met' if ratio <= TARGET_RATIO else 'NOT met'})")
    ranges = len(coverage.ranges())
    print(f"  CodePointSet                {sys.getsizeof(coverage) / 1024:9.1f} KB  "
          f"({ranges} ranges x 8 bytes = {ranges * 8} bytes, plus the object)")
    print(f"  fontTools dict              {dict_bytes(best_cmap) / 1024:9.1f} KB  "
          f"(dict, int keys, distinct glyph names)")

    # What a game pays the first time a character of that face is met: a new
    # object asks whether the face covers it (reading its map, not the file).
    first_coverage = median_seconds(lambda: first_coverage_on_a_new_object(args.font, args.face), args.repeat)
    first_ratio = first_coverage / reference
    print(f"  first coverage, new object  {first_coverage * 1000:9.2f} ms")
    print(f"  ratio                       {first_ratio:9.4f}  (target <= {TARGET_RATIO}: "
          f"{'met' if first_ratio <= TARGET_RATIO else 'NOT met'})")


def first_coverage_on_a_new_object(path, face_index):
    from lumo_font import LumoFont
    font = LumoFont("DejaVu Sans", "DejaVu Sans", None, None)
    return font._has_glyph([path, face_index], 0x4E00)


if __name__ == "__main__":
    main()
