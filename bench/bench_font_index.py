"""Font index speed, side by side with other tools in one run.

    python3 bench/bench_font_index.py [--repeat N]

Scanning every font directory of this machine is compared with fontconfig's
`fc-scan` and with a fontTools name-table scan of the same files; a load from
a current cache file is compared with Python's json.load of that file plus the
fingerprint. It reports medians and ratios; it asserts nothing."""
import argparse
import contextlib
import io
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

os.environ.setdefault("PYGAME_HIDE_SUPPORT_PROMPT", "1")

import lumo_font  # noqa: E402

FONT_DIRECTORIES = ["/usr/share/fonts", "/usr/local/share/fonts", os.path.expanduser("~/.local/share/fonts")]


def median_seconds(function, repeat):
    times = []
    for _ in range(repeat):
        start = time.perf_counter()
        function()
        times.append(time.perf_counter() - start)
    return statistics.median(times)


def quietly(function):
    def run():
        with contextlib.redirect_stdout(io.StringIO()):
            return function()
    return run


def font_files():
    for directory in FONT_DIRECTORIES:
        for root, _dirs, files in os.walk(directory):
            for name in files:
                if name.lower().endswith((".ttf", ".otf", ".ttc")):
                    yield os.path.join(root, name)


def fonttools_scan(files):
    from fontTools.ttLib import TTCollection, TTFont
    names = {}
    for path in files:
        try:
            faces = TTCollection(path).fonts if path.lower().endswith(".ttc") else [TTFont(path, lazy=True)]
            for face in faces:
                records = [r.toUnicode() for r in face["name"].names if r.nameID == 4]
                if records:
                    names[records[0].strip().lower()] = path
        except Exception:
            pass
    return names


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--repeat", type=int, default=5)
    args = parser.parse_args()

    files = list(font_files())
    rows = []
    scan = median_seconds(quietly(lumo_font.build_font_map), args.repeat)
    rows.append(("scan all font directories (lumo_font)", scan, None))
    if shutil.which("fc-scan"):
        existing = [d for d in FONT_DIRECTORIES if os.path.isdir(d)]
        fc_scan = median_seconds(lambda: subprocess.run(["fc-scan", "--format", "%{fullname}\n", *existing],
                                                        stdout=subprocess.DEVNULL, check=True), args.repeat)
        rows.append(("fc-scan of the same directories", fc_scan, scan / fc_scan))
    try:
        fonttools = median_seconds(lambda: fonttools_scan(files), max(1, args.repeat // 2))
        rows.append(("fontTools name-table scan", fonttools, scan / fonttools))
    except ImportError:
        pass

    with tempfile.TemporaryDirectory() as data_home:
        os.environ["XDG_DATA_HOME"] = data_home
        quietly(lumo_font.load_or_update_font_map)()
        cache = os.path.join(data_home, "lumo_font_map", "font_map.json")
        warm = median_seconds(quietly(lumo_font.load_or_update_font_map), args.repeat * 20)

        def json_and_fingerprint():
            with open(cache, encoding="utf-8") as handle:
                json.load(handle)
            lumo_font.get_fonts_timestamp()
        baseline = median_seconds(json_and_fingerprint, args.repeat * 20)
        rows.append(("warm index load (lumo_font)", warm, None))
        rows.append(("json.load + fingerprint", baseline, warm / baseline))
        size = os.path.getsize(cache)

    print(f"{len(files)} font files, cache file {size / 1024:.0f} KiB, median of {args.repeat}+ runs")
    print(f"{'case':<42} {'median':>12} {'lumo_font / this':>18}")
    for name, seconds, ratio in rows:
        ratio_text = f"{ratio:.3f}" if ratio is not None else ""
        print(f"{name:<42} {seconds * 1000:>9.2f} ms {ratio_text:>18}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
