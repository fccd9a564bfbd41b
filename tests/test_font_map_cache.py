"""The cached font index: where it lives, when it is trusted, when it is
rebuilt, what is printed, and that a reader never sees half a file."""
import json
import os
import subprocess
import sys
import textwrap

import pytest

import lumo_font
from support.fontgen import build_font
from support.unprivileged import can_drop_privileges, open_path_to, run_as_nobody, world_writable_directory

SCANNING = "[SYSTEM] Scanning and indexing system fonts... Please wait.\n"


@pytest.fixture
def cache_file(private_home):
    return private_home / "Library" / "Application Support" / "lumo_font_map" / "font_map.json"


@pytest.fixture
def indexed(only_user_fonts, cache_file):
    """A per-user font and a current cache file holding it."""
    path = build_font(only_user_fonts / "cached.ttf", "Cached Sans Bold")
    lumo_font.load_or_update_font_map()
    return path


def test_first_load_scans_and_writes_the_file(only_user_fonts, cache_file, capsys):
    path = build_font(only_user_fonts / "ü.ttf", "Über Sans")
    data = lumo_font.load_or_update_font_map()
    assert capsys.readouterr().out == (
        SCANNING + f"[DEBUG] Scanning...: {only_user_fonts}\n"
        "[SUCCESS] Scan Finished 1 Font faces!.\n"
        f"[SUCCESS] Font index updated at {cache_file}\n")
    assert data == {"_timestamp": lumo_font.get_fonts_timestamp(),
                    "paths": {"über sans": [str(path), -1]}, "names": {}}
    assert list(data) == ["_timestamp", "paths", "names"]
    text = cache_file.read_text(encoding="utf-8")
    assert text == json.dumps(data, indent=2, ensure_ascii=False)
    assert "Über" not in text and "über" in text and "\\u" not in text


def test_current_file_is_returned_without_a_scan(indexed, cache_file, capsys):
    capsys.readouterr()
    data = lumo_font.load_or_update_font_map()
    assert capsys.readouterr().out == ""
    assert data == json.loads(cache_file.read_text(encoding="utf-8"))


def test_current_file_is_returned_as_it_is(indexed, cache_file, capsys):
    fingerprint = lumo_font.get_fonts_timestamp()
    stored = {"_timestamp": fingerprint, "paths": {"x": ["/y.ttc", 3], "x bold": ["/yb.ttf", -1]},
              "names": {"x regular": "x"}, "extra": [1, 2.5, None, True]}
    cache_file.write_text(json.dumps(stored))
    capsys.readouterr()
    data = lumo_font.load_or_update_font_map()
    assert capsys.readouterr().out == ""
    assert data == stored


@pytest.mark.parametrize("paths, names, message", [
    ({"a": ["/a.ttf", -1], "z": "broken"}, {}, "index entry 'z' of \"paths\" is not [path, face index]: 'broken'"),
    ({"a": [123, -1]}, {}, "index entry 'a' of \"paths\" is not [path, face index]: [123, -1]"),
    ({"a": ["/a.ttf", 10**30]}, {}, "is not [path, face index]: ['/a.ttf', 1000000000000000000000000000000]"),
    ({"a": ["/a.ttf"]}, {}, "is not [path, face index]: ['/a.ttf']"),
    ({"a": ["/a.ttf", True]}, {}, "is not [path, face index]: ['/a.ttf', True]"),
    ({"a": ["/a\u0000.ttf", -1]}, {}, "is not [path, face index]"),
    ({"a": ["/a.ttf", -1]}, [], "\"names\" of the index is not an object: []"),
    ({"a": ["/a.ttf", -1]}, None, "\"names\" of the index is not an object: None"),
    ({"a": ["/a.ttf", -1]}, {"b": "missing"}, "index alias 'b' names no face of \"paths\": 'missing'"),
    ({"a": ["/a.ttf", -1]}, {"b": 7}, "index alias 'b' names no face of \"paths\": 7"),
], ids=["not-a-record", "path-not-text", "huge-index", "short-record", "bool-index", "nul-in-path", "names-list",
        "names-missing", "alias-to-nothing", "alias-not-text"])
def test_a_current_file_of_the_wrong_shape_is_rebuilt(indexed, cache_file, capsys, paths, names, message):
    stored = {"_timestamp": lumo_font.get_fonts_timestamp(), "paths": paths}
    if names is not None:
        stored["names"] = names
    cache_file.write_text(json.dumps(stored))
    capsys.readouterr()
    data = lumo_font.load_or_update_font_map()
    out = capsys.readouterr().out
    assert out.startswith("[DEBUG] Cache error or old format, Rescanning: ") and message in out.splitlines()[0]
    assert "cached sans bold" in data["paths"]
    # The rebuilt file is trusted again: the next load reads it without a word.
    assert lumo_font.load_or_update_font_map() == data and capsys.readouterr().out == ""
    font = lumo_font.LumoFont("Cached Sans", "Cached Sans", None, None)
    assert font.render("A", 20).get_width() > 1


def test_an_index_file_too_large_to_be_one_is_rebuilt_without_reading_it(indexed, cache_file, capsys):
    with open(cache_file, "r+b") as file:
        file.truncate(2 << 30)   # sparse: 2 GiB on paper, nothing on disk
    capsys.readouterr()
    data = lumo_font.load_or_update_font_map()
    out = capsys.readouterr().out
    assert out.startswith(f"[DEBUG] Cache error or old format, Rescanning: [Errno 27] File too large: '{cache_file}'")
    assert "cached sans bold" in data["paths"]
    assert cache_file.stat().st_size < 1 << 20


def test_a_font_path_that_is_not_utf8_reads_back_without_a_rescan(only_user_fonts, capsys):
    build_font(os.fsdecode(os.fsencode(only_user_fonts) + b"/caf\xe9.ttf"), "Latin One Sans")
    first = lumo_font.load_or_update_font_map()
    capsys.readouterr()
    second = lumo_font.load_or_update_font_map()
    assert capsys.readouterr().out == ""
    assert second == first
    assert second["paths"]["latin one sans"][0].endswith("/caf\udce9.ttf")


def test_adding_a_font_makes_the_next_load_scan(indexed, only_user_fonts, capsys):
    capsys.readouterr()
    build_font(only_user_fonts / "sub" / "new.ttf", "New Sans")
    data = lumo_font.load_or_update_font_map()
    assert capsys.readouterr().out.startswith(SCANNING)
    assert "new sans" in data["paths"]


@pytest.mark.parametrize("stored", [
    lambda ts: {"_timestamp": "stale", "paths": {"a": ["b", -1]}},
    lambda ts: {"_timestamp": ts, "paths": {"a": "old layout"}},
    lambda ts: {"_timestamp": ts, "paths": {}},
    lambda ts: {"_timestamp": ts},
    lambda ts: {"_timestamp": 5, "paths": {"a": ["b", -1]}},
])
def test_stale_or_old_files_are_rescanned_silently(indexed, cache_file, capsys, stored):
    cache_file.write_text(json.dumps(stored(lumo_font.get_fonts_timestamp())))
    capsys.readouterr()
    data = lumo_font.load_or_update_font_map()
    out = capsys.readouterr().out
    assert out.startswith(SCANNING) and "[DEBUG] Cache error" not in out
    assert "cached sans bold" in data["paths"]
    assert json.loads(cache_file.read_text(encoding="utf-8")) == data


@pytest.mark.parametrize("contents, message", [
    (b"", "Expecting value: line 1 column 1 (char 0)"),
    (b"not json", "Expecting value: line 1 column 1 (char 0)"),
    (b'{"_timestamp": "x", "paths": {"a": ["b", ', "Expecting value: line 1 column 42 (char 41)"),
    (b"[1, 2]", "'list' object has no attribute 'get'"),
    (b'{"paths": [1]}', "'list' object has no attribute 'values'"),
    (b'{"paths": null}', "'NoneType' object has no attribute 'values'"),
    (b"\xff\xfe{}", "'utf-8' codec can't decode byte 0xff in position 0: invalid start byte"),
    (b'\xef\xbb\xbf{}', "Unexpected UTF-8 BOM (decode using utf-8-sig): line 1 column 1 (char 0)"),
])
def test_unreadable_files_are_reported_and_rescanned(indexed, cache_file, capsys, contents, message):
    cache_file.write_bytes(contents)
    capsys.readouterr()
    data = lumo_font.load_or_update_font_map()
    out = capsys.readouterr().out
    assert out.startswith(f"[DEBUG] Cache error or old format, Rescanning: {message}\n{SCANNING}")
    assert json.loads(cache_file.read_text(encoding="utf-8")) == data


def test_cache_path_that_is_a_directory(indexed, cache_file, capsys):
    cache_file.unlink()
    cache_file.mkdir()
    capsys.readouterr()
    data = lumo_font.load_or_update_font_map()
    out = capsys.readouterr().out
    assert out.startswith(f"[DEBUG] Cache error or old format, Rescanning: [Errno 21] Is a directory: '{cache_file}'")
    assert f"[ERROR] Failed to update font_map.json: [Errno 21] Is a directory: '{cache_file}'" in out
    assert "cached sans bold" in data["paths"]


def test_a_map_without_faces_is_never_trusted(only_user_fonts, capsys):
    lumo_font.load_or_update_font_map()
    capsys.readouterr()
    assert lumo_font.load_or_update_font_map()["paths"] == {}
    assert capsys.readouterr().out.startswith(SCANNING)


@pytest.mark.parametrize("platform, variable, expected", [
    ("linux", "XDG_DATA_HOME", "{data}/lumo_font_map/font_map.json"),
    ("linux", None, "{home}/.local/share/lumo_font_map/font_map.json"),
    ("darwin", None, "{home}/Library/Application Support/lumo_font_map/font_map.json"),
    ("win32", "ProgramData", "{data}/lumo_font_map/font_map.json"),
    ("win32", None, "C:/ProgramData/lumo_font_map/font_map.json"),
    ("sunos5", None, "{home}/.local/share/lumo_font_map/font_map.json"),
])
@pytest.mark.parametrize("empty_counts_as_unset", [False, True])
def test_cache_location_per_platform(monkeypatch, tmp_path, private_home, capsys, platform, variable, expected,
                                     empty_counts_as_unset):
    monkeypatch.chdir(tmp_path)
    monkeypatch.setattr("sys.platform", platform)
    monkeypatch.delenv("XDG_DATA_HOME", raising=False)
    monkeypatch.delenv("ProgramData", raising=False)
    data_dir = tmp_path / "data"
    if variable and not empty_counts_as_unset:
        monkeypatch.setenv(variable, str(data_dir))
    elif variable:
        monkeypatch.setenv(variable, "")
        expected = {"XDG_DATA_HOME": "{home}/.local/share/lumo_font_map/font_map.json",
                    "ProgramData": "C:/ProgramData/lumo_font_map/font_map.json"}[variable]
    lumo_font.load_or_update_font_map()
    target = expected.format(data=data_dir, home=private_home)
    assert capsys.readouterr().out.endswith(f"[SUCCESS] Font index updated at {target}\n")
    assert os.path.isfile(target)


@pytest.mark.skipif(not can_drop_privileges(), reason="needs root to act as an unprivileged user")
def test_permission_problems(tmp_path, monkeypatch):
    home = world_writable_directory(str(tmp_path))
    locked = tmp_path / "locked"
    locked.mkdir(mode=0o755)
    os.chmod(locked, 0o755)
    monkeypatch.setenv("HOME", home)
    monkeypatch.setattr("sys.platform", "sunos5")   # the data-home rules of Linux, and no fonts to scan

    # The system location cannot be created: the per-user fallback is used, every time.
    monkeypatch.setenv("XDG_DATA_HOME", str(locked / "data"))
    warning = "[WARNING] No permission to write in system app data. Using local user directory.\n"
    fallback = os.path.join(home, ".lumo_font_map", "font_map.json")

    def twice():
        return [lumo_font.load_or_update_font_map() is not None for _ in range(2)]
    _, printed = run_as_nobody(twice)
    assert printed.count(warning) == 2
    assert f"[SUCCESS] Font index updated at {fallback}\n" in printed

    # An existing but unwritable location stays in use: each load scans and reports the failed write.
    (locked / "data" / "lumo_font_map").mkdir(parents=True)
    os.chmod(locked / "data" / "lumo_font_map", 0o755)
    _, printed = run_as_nobody(twice)
    assert warning not in printed
    target = locked / "data" / "lumo_font_map" / "font_map.json"
    assert printed.count(f"[ERROR] Failed to update font_map.json: [Errno 13] Permission denied: '{target}'") == 2


def test_write_failure_leaves_the_old_file_whole(indexed, cache_file, only_user_fonts, capsys):
    before = cache_file.read_bytes()
    build_font(only_user_fonts / "another.ttf", "Another Sans")
    if can_drop_privileges():
        open_path_to(cache_file)
        _, printed = run_as_nobody(lumo_font.load_or_update_font_map)
    else:
        os.chmod(cache_file.parent, 0o555)
        try:
            lumo_font.load_or_update_font_map()
        finally:
            os.chmod(cache_file.parent, 0o755)
        printed = capsys.readouterr().out
    assert f"[ERROR] Failed to update font_map.json: [Errno 13] Permission denied: '{cache_file}'" in printed
    assert cache_file.read_bytes() == before
    assert os.listdir(cache_file.parent) == ["font_map.json"]


READER = textwrap.dedent("""
    import json, sys, time
    path, deadline = sys.argv[1], time.time() + float(sys.argv[2])
    reads = 0
    while time.time() < deadline:
        try:
            with open(path, encoding="utf-8") as handle:
                text = handle.read()
        except FileNotFoundError:
            continue
        json.loads(text)  # a partial file would fail here
        reads += 1
    print(reads)
""")


def test_a_reader_never_sees_a_partial_file(indexed, cache_file, only_user_fonts):
    for index in range(30):
        build_font(only_user_fonts / f"extra{index}.ttf", f"Extra Sans {index}")
    reader = subprocess.Popen([sys.executable, "-c", READER, str(cache_file), "3"], stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, text=True)
    seconds = 1000.0
    while reader.poll() is None:
        seconds += 1
        os.utime(only_user_fonts, (seconds, seconds))   # a new fingerprint: every load rewrites the file
        lumo_font.load_or_update_font_map()
    out, err = reader.communicate()
    assert reader.returncode == 0, err
    assert int(out) > 10
