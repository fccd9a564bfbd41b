"""Building the font index from the font directories: names, aliases, order,
progress lines, the scanning flag, and files that are not what they claim."""
import os

import pytest

import lumo_font
from support.fontgen import NameRecord, build_collection, build_font, build_ttfont
from support.unprivileged import can_drop_privileges, run_as_nobody, world_writable_directory


def test_family_with_only_a_bold_face_is_found_by_its_family_name(only_user_fonts):
    path = build_font(only_user_fonts / "solo.ttf", "Solo Sans Bold")
    result = lumo_font.build_font_map()
    assert result == {"paths": {"solo sans bold": [str(path), -1]}, "names": {"solo sans": "solo sans bold"}}
    assert list(result) == ["paths", "names"]


def test_regular_face_takes_the_family_name_in_a_larger_family(only_user_fonts):
    regular = build_font(only_user_fonts / "r.ttf", "Pair Sans Regular")
    bold = build_font(only_user_fonts / "b.ttf", "Pair Sans Bold")
    result = lumo_font.build_font_map()
    assert result["paths"] == {"pair sans regular": [str(regular), -1], "pair sans bold": [str(bold), -1]}
    assert result["names"] == {"pair sans": "pair sans regular"}


def test_regular_face_named_by_the_bare_family_gets_no_alias(only_user_fonts):
    build_font(only_user_fonts / "r.ttf", "Bare Sans")
    build_font(only_user_fonts / "b.ttf", "Bare Sans Bold")
    assert lumo_font.build_font_map()["names"] == {}


def test_later_copy_of_a_font_wins_and_counts_once(system_and_user_fonts, capsys):
    system, user = system_and_user_fonts
    build_font(system / "twin.ttf", "Twin Sans Bold")
    user_copy = build_font(user / "twin.ttf", "Twin Sans Bold")
    result = lumo_font.build_font_map()
    # Relative system path and absolute per-user path, joined as written.
    assert result["paths"] == {"twin sans bold": [str(user_copy), -1]}
    # Two faces in one family now: the one-face alias no longer applies.
    assert result["names"] == {}
    assert capsys.readouterr().out == (
        "[DEBUG] Scanning...: C:/Windows/Fonts\n"
        f"[DEBUG] Scanning...: {user}\n"
        "[SUCCESS] Scan Finished 1 Font faces!.\n")


def test_later_family_wins_a_shared_alias(system_and_user_fonts):
    system, user = system_and_user_fonts
    build_font(system / "a.ttf", "Alias Sans Bold")
    build_font(user / "b.ttf", "ALIAS SANS Italic")   # another family root: roots keep their case
    result = lumo_font.build_font_map()
    assert result["names"] == {"alias sans": "alias sans italic"}


def test_extensions_and_collections(only_user_fonts):
    upper = build_font(only_user_fonts / "UPPER.TTF", "Upper Sans")
    build_font(only_user_fonts / "skipped.woff", "Woff Sans")
    build_font(only_user_fonts / "skipped.otc", "Otc Sans")
    otf = build_font(only_user_fonts / "cff.otf", "Cff Sans", outline="cff")
    ttc = build_collection(only_user_fonts / "family.ttc", [{"full_name": "Coll Sans"},
                                                            {"full_name": "Coll Sans Bold"}])
    paths = lumo_font.build_font_map()["paths"]
    assert paths == {"upper sans": [str(upper), -1], "cff sans": [str(otf), -1],
                     "coll sans": [str(ttc), 0], "coll sans bold": [str(ttc), 1]}


def test_order_follows_the_directory_walk(only_user_fonts):
    names = []
    for depth, folder in enumerate(["", "b", "b/inner", "a"]):
        for index in range(3):
            full_name = f"Walk {depth} {index}"
            build_font(only_user_fonts / folder / f"f{depth}{index}.ttf", full_name)
    expected = []
    for root, _dirs, files in os.walk(only_user_fonts):
        for name in files:
            expected.append(os.path.join(root, name))
    paths = lumo_font.build_font_map()["paths"]
    assert [record[0] for record in paths.values()] == expected


def test_collection_with_a_broken_face_keeps_the_others(only_user_fonts):
    good = build_ttfont("Good Face")
    broken = build_ttfont("Broken Face", name_records=[NameRecord(b"\x00A\x00", 3, 1)])  # odd UTF-16
    third = build_ttfont("Third Face")
    ttc = build_collection(only_user_fonts / "mixed.ttc", [good, broken, third])
    assert lumo_font.build_font_map()["paths"] == {"good face": [str(ttc), 0], "third face": [str(ttc), 2]}


def test_collection_named_as_a_single_font_is_skipped(only_user_fonts):
    build_collection(only_user_fonts / "really_a_collection.ttf", [{"full_name": "Hidden Sans"}])
    assert lumo_font.build_font_map()["paths"] == {}


@pytest.mark.parametrize("records, expected_key", [
    ([NameRecord("   ", 3, 1)], ""),                                              # blank name: indexed as ""
    ([NameRecord("Mac First", 1, 0, 0), NameRecord("Win Second", 3, 1)], "mac first"),  # stored order wins
    ([NameRecord("Primeira Versão", 1, 0, 0)], "primeira versão"),
    ([NameRecord("ＭＳ ゴシック", 3, 2, 0x411)], "ｍｓ ゴシック"),                  # Shift-JIS record
    ([NameRecord("Family", 3, 1, name_id=1)], None),                              # no full-name record
    ([NameRecord("Fine", 3, 1), NameRecord(b"\xd8\x00", 3, 1)], None),            # a later record fails
    ([NameRecord(b"\x82", 3, 2, 0x411)], None),                                   # truncated Shift-JIS
])
def test_full_name_records(only_user_fonts, records, expected_key):
    path = build_font(only_user_fonts / "named.ttf", "Ignored", name_records=records)
    paths = lumo_font.build_font_map()["paths"]
    assert paths == ({} if expected_key is None else {expected_key: [str(path), -1]})


@pytest.mark.parametrize("contents", [b"", b"\x00\x01\x00\x00", b"OTTO" + b"\xff" * 40, b"garbage" * 100,
                                      b"ttcf\x00\x01\x00\x00\xff\xff\xff\xff"])
@pytest.mark.parametrize("extension", ["ttf", "otf", "ttc"])
def test_files_that_are_not_fonts_are_skipped(only_user_fonts, contents, extension):
    (only_user_fonts / f"bad.{extension}").write_bytes(contents)
    good = build_font(only_user_fonts / "good.ttf", "Good Sans")
    assert lumo_font.build_font_map()["paths"] == {"good sans": [str(good), -1]}


def test_truncated_copies_of_a_real_font_never_break_the_scan(only_user_fonts):
    data = build_font(only_user_fonts.parent / "whole.ttf", "Whole Sans").read_bytes()
    for length in range(0, len(data), max(1, len(data) // 60)):
        (only_user_fonts / f"cut{length}.ttf").write_bytes(data[:length])
    # A cut behind the name table leaves the name readable; any other cut is skipped.
    paths = lumo_font.build_font_map()["paths"]
    assert set(paths) <= {"whole sans"}


def test_directories_and_links_are_not_files(only_user_fonts):
    (only_user_fonts / "folder.ttf").mkdir()
    inside = build_font(only_user_fonts / "folder.ttf" / "inner.ttf", "Inner Sans")
    (only_user_fonts / "loop").symlink_to(only_user_fonts, target_is_directory=True)
    (only_user_fonts / "dangling.ttf").symlink_to(only_user_fonts / "missing.ttf")
    assert lumo_font.build_font_map()["paths"] == {"inner sans": [str(inside), -1]}


def test_file_name_that_is_not_utf8(only_user_fonts):
    raw_name = os.fsencode(only_user_fonts) + b"/caf\xe9.ttf"
    with open(raw_name, "wb") as handle:
        handle.write(build_font(only_user_fonts.parent / "src.ttf", "Latin One Sans").read_bytes())
    paths = lumo_font.build_font_map()["paths"]
    assert paths == {"latin one sans": [os.fsdecode(raw_name), -1]}


@pytest.mark.skipif(not can_drop_privileges(), reason="needs root to act as an unprivileged user")
def test_unreadable_subdirectory_is_skipped(tmp_path, monkeypatch):
    home = world_writable_directory(str(tmp_path))
    fonts = os.path.join(home, "Library", "Fonts")
    build_font(os.path.join(fonts, "open.ttf"), "Open Sans Test")
    build_font(os.path.join(fonts, "closed", "hidden.ttf"), "Hidden Sans Test")
    for folder in (home, os.path.join(home, "Library"), fonts):
        os.chmod(folder, 0o755)
    os.chmod(os.path.join(fonts, "open.ttf"), 0o644)
    os.chmod(os.path.join(fonts, "closed"), 0o700)
    monkeypatch.setenv("HOME", home)
    monkeypatch.setattr("sys.platform", "darwin")
    result, printed = run_as_nobody(lambda: (lumo_font.build_font_map(), lumo_font.get_fonts_timestamp()))
    paths, fingerprint = result
    assert list(paths["paths"]) == ["open sans test"]
    assert fingerprint.endswith("_1")


def test_unknown_platform_scans_nothing(monkeypatch, capsys):
    monkeypatch.setattr("sys.platform", "plan9")
    assert lumo_font.build_font_map() == {"paths": {}, "names": {}}
    assert capsys.readouterr().out == "[SUCCESS] Scan Finished 0 Font faces!.\n"


def test_count_is_of_distinct_lower_cased_names(only_user_fonts, capsys):
    build_font(only_user_fonts / "a.ttf", "Case Sans")
    build_font(only_user_fonts / "b.ttf", "CASE SANS")
    build_collection(only_user_fonts / "c.ttc", [{"full_name": "Case Sans"}, {"full_name": "Other Sans"}])
    lumo_font.build_font_map()
    assert capsys.readouterr().out.endswith("[SUCCESS] Scan Finished 2 Font faces!.\n")


def test_scanning_flag_is_set_only_while_scanning(only_user_fonts, monkeypatch):
    build_font(only_user_fonts / "a.ttf", "Flag Sans")
    seen = []
    monkeypatch.setattr("builtins.print", lambda *args, **kwargs: seen.append(lumo_font.is_scanning()))
    lumo_font.build_font_map()
    assert seen == [True, True]
    assert lumo_font.is_scanning() is False


def test_scanning_flag_is_cleared_when_the_scan_fails(only_user_fonts, monkeypatch):
    def failing_print(*args, **kwargs):
        raise KeyboardInterrupt
    monkeypatch.setattr("builtins.print", failing_print)
    with pytest.raises(KeyboardInterrupt):
        lumo_font.build_font_map()
    assert lumo_font.is_scanning() is False


def test_real_system_fonts_are_indexed():
    result = lumo_font.build_font_map()
    assert result["paths"]["dejavu sans"] == ["/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", -1]
    cjk = [key for key, (path, index) in result["paths"].items() if path.endswith("NotoSansCJK-Regular.ttc")]
    assert len(cjk) >= 5 and "noto sans cjk jp" in cjk
