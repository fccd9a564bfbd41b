"""The index file shared by processes: rescans racing each other, a writer
killed half-way, and a directory the engine may not write. A reader must only
ever see a whole file, and the engine must keep drawing whatever happens to
the file. (scripts/index_stress.sh runs the same workers for longer.)"""
import json
import subprocess
import sys
from pathlib import Path

import pytest

from lumo_font import LumoFont, load_or_update_font_map
from support.fontgen import build_font
from support.unprivileged import can_drop_privileges, open_path_to, run_as_nobody

WORKERS = Path(__file__).parent / "support" / "index_workers.py"
RACE_SECONDS = 10
KILLS = 10


@pytest.fixture
def index_file(private_home):
    return private_home / ".local" / "share" / "lumo_font_map" / "font_map.json"


@pytest.fixture
def font_file(tmp_path):
    return build_font(tmp_path / "sources" / "box.ttf", "Box Sans")


def start(*args):
    return subprocess.Popen([sys.executable, str(WORKERS), *map(str, args)], stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, text=True)


def counts_of(worker):
    out, err = worker.communicate(timeout=RACE_SECONDS + 120)
    assert worker.returncode == 0, err[-3000:]
    return json.loads(out.splitlines()[-1])


def assert_whole(index_file):
    with open(index_file, encoding="utf-8") as file:
        assert set(json.load(file)) == {"_timestamp", "paths", "names"}


def test_two_processes_rescanning_at_once_leave_only_whole_files(index_file, font_file, user_font_dir):
    rescanners = [start("rescan", RACE_SECONDS, font_file, number) for number in (1, 2)]
    reader = start("read", RACE_SECONDS)
    for counts in map(counts_of, rescanners):
        assert counts["rescans"] > 0
        assert counts["cache_errors"] == 0 and counts["write_errors"] == 0, counts
    read = counts_of(reader)
    assert read["parsed"] > 0 and read["broken"] == 0, read

    assert_whole(index_file)
    assert not list(index_file.parent.glob("*.tmp"))  # every writer cleaned up after itself


def test_writers_killed_mid_write_leave_a_whole_file(index_file, font_file, user_font_dir, capsys):
    counts = counts_of(start("kill", KILLS, font_file))
    assert counts["whole_after"] == KILLS, counts
    assert counts["mid_write"] > 0, counts  # some kills did land while a new index was being written
    # Their temporary files stay behind; the index itself is whole and current.
    index = load_or_update_font_map()
    assert "[DEBUG] Cache error" not in capsys.readouterr().out
    assert "box sans" in index["paths"]


@pytest.mark.skipif(not can_drop_privileges(), reason="needs root, to drop to an unprivileged user")
def test_a_read_only_index_directory_is_reported_and_the_engine_still_draws(index_file, font_file, tmp_path):
    index_file.parent.mkdir(parents=True)
    index_file.parent.chmod(0o555)
    open_path_to(index_file)
    open_path_to(font_file)

    def draw():
        font = LumoFont(str(font_file), str(font_file), str(tmp_path / "no-such-folder"), None)
        return font.render("Hello", 20).get_size()

    size, printed = run_as_nobody(draw)
    assert f"[ERROR] Failed to update font_map.json: [Errno 13] Permission denied: '{index_file}'" in printed
    assert size[0] > 1
    assert not index_file.exists()
