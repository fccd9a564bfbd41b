"""Processes that work on one font index file at the same time, for the
concurrency tests and scripts/index_stress.sh. Each prints one line of JSON
counts when its time is up.

    python index_workers.py rescan SECONDS FONT_FILE NUMBER
        adds and removes a copy of FONT_FILE in ~/.local/share/fonts, so that
        every load finds the fingerprint changed, rescans and rewrites the file
    python index_workers.py read SECONDS
        parses the index file over and over, as another program would
    python index_workers.py kill KILLS FONT_FILE
        starts KILLS rescanning writers one after another and SIGKILLs each
        the moment its temporary file appears (or after a few seconds), then
        checks that the index file is whole
"""
import contextlib
import io
import json
import os
import shutil
import signal
import subprocess
import sys
import time

os.environ.setdefault("SDL_VIDEODRIVER", "dummy")
os.environ.setdefault("PYGAME_HIDE_SUPPORT_PROMPT", "1")


def index_file():
    base = os.environ.get("XDG_DATA_HOME") or os.path.expanduser("~/.local/share")
    return os.path.join(base, "lumo_font_map", "font_map.json")


def rescan(seconds, font_file, number):
    import lumo_font

    fonts = os.path.join(os.environ.get("XDG_DATA_HOME") or os.path.expanduser("~/.local/share"), "fonts")
    os.makedirs(fonts, exist_ok=True)
    counts = {"loads": 0, "rescans": 0, "cache_errors": 0, "write_errors": 0}
    deadline = time.monotonic() + seconds
    copy = None
    while counts["loads"] == 0 or time.monotonic() < deadline:  # at least one load
        if copy:
            os.remove(copy)
        copy = os.path.join(fonts, f"worker{number}-{counts['loads']}.ttf")
        shutil.copy(font_file, copy)
        printed = io.StringIO()
        with contextlib.redirect_stdout(printed):
            index = lumo_font.load_or_update_font_map()
        assert isinstance(index["paths"], dict)
        lines = printed.getvalue()
        counts["loads"] += 1
        counts["rescans"] += "[SYSTEM] Scanning" in lines
        counts["cache_errors"] += "[DEBUG] Cache error" in lines
        counts["write_errors"] += "[ERROR] Failed to update" in lines
    return counts


def read(seconds):
    counts = {"parsed": 0, "missing": 0, "broken": 0}
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            with open(index_file(), encoding="utf-8") as file:
                data = json.load(file)
            assert set(data) == {"_timestamp", "paths", "names"}
            counts["parsed"] += 1
        except FileNotFoundError:
            counts["missing"] += 1
        except (ValueError, AssertionError):
            counts["broken"] += 1
    return counts


def is_whole():
    try:
        with open(index_file(), encoding="utf-8") as file:
            return set(json.load(file)) == {"_timestamp", "paths", "names"}
    except (OSError, ValueError):
        return False


def kill_writers(kills, font_file):
    directory = os.path.dirname(index_file())
    counts = {"kills": 0, "mid_write": 0, "whole_after": 0}
    # One writer runs to the end first, so that there is an index to damage.
    subprocess.run([sys.executable, __file__, "rescan", "0", font_file, "99"], stdout=subprocess.DEVNULL, check=True)
    for number in range(kills):
        before = set(os.listdir(directory)) if os.path.isdir(directory) else set()
        writer = subprocess.Popen([sys.executable, __file__, "rescan", "300", font_file, str(100 + number)],
                                  stdout=subprocess.DEVNULL)
        deadline = time.monotonic() + 5
        # Poll for the writer's temporary file: it exists only while the new index is being written.
        while time.monotonic() < deadline and writer.poll() is None:
            if os.path.isdir(directory) and any(name.endswith(".tmp") for name in set(os.listdir(directory)) - before):
                break
        writer.send_signal(signal.SIGKILL)
        writer.wait()
        counts["kills"] += 1
        left = {name for name in os.listdir(directory) if name.endswith(".tmp")} - before
        counts["mid_write"] += bool(left)
        counts["whole_after"] += is_whole()
    return counts


if __name__ == "__main__":
    mode = sys.argv[1]
    if mode == "kill":
        result = kill_writers(int(sys.argv[2]), sys.argv[3])
    elif mode == "rescan":
        result = rescan(float(sys.argv[2]), sys.argv[3], int(sys.argv[4]))
    else:
        result = read(float(sys.argv[2]))
    print(json.dumps(result), flush=True)
