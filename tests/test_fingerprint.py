"""The fingerprint of the font directories: what changes it and what does not."""
import os

import lumo_font
from support.fontgen import build_font


def expected_element(directory):
    count = sum(1 for _root, _dirs, files in os.walk(directory)
                for name in files if name.lower().endswith((".ttf", ".otf", ".ttc")))
    return f"{os.stat(directory).st_mtime!r}_{count}"


def set_mtime(path, seconds):
    os.utime(path, (seconds, seconds))


def test_one_element_per_existing_directory(system_and_user_fonts):
    system, user = system_and_user_fonts
    build_font(system / "a.ttf", "A")
    build_font(user / "sub" / "B.OTF", "B")
    (user / "notes.txt").write_text("not a font")
    set_mtime(system, 1733567890.25)
    assert lumo_font.get_fonts_timestamp() == f"1733567890.25_1|{expected_element(user)}"
    assert expected_element(user).endswith("_1")


def test_whole_seconds_keep_a_fractional_digit(only_user_fonts):
    set_mtime(only_user_fonts, 1700000000)
    assert lumo_font.get_fonts_timestamp() == "1700000000.0_0"


def test_nanosecond_times_read_back_exactly(only_user_fonts):
    os.utime(only_user_fonts, ns=(1733567890123456789, 1733567890123456789))
    assert lumo_font.get_fonts_timestamp() == expected_element(only_user_fonts)


def test_changes_that_matter(only_user_fonts):
    sub = only_user_fonts / "sub"
    build_font(sub / "a.ttf", "A")
    set_mtime(only_user_fonts, 1000.5)
    before = lumo_font.get_fonts_timestamp()

    build_font(sub / "b.ttf", "B")              # a font added deep down: the count changes
    set_mtime(only_user_fonts, 1000.5)
    after_add = lumo_font.get_fonts_timestamp()
    assert after_add != before

    (sub / "b.ttf").unlink()                    # removed again
    set_mtime(only_user_fonts, 1000.5)
    assert lumo_font.get_fonts_timestamp() == before

    build_font(sub / "a.ttf", "Replaced")       # replaced in place, non-font added below: no change
    (sub / "readme.txt").write_text("x")
    assert lumo_font.get_fonts_timestamp() == before

    (only_user_fonts / "readme.txt").write_text("x")   # anything added at the top touches its time
    set_mtime(only_user_fonts, 2000.5)
    assert lumo_font.get_fonts_timestamp() != before


def test_creating_and_removing_a_directory(system_and_user_fonts):
    system, user = system_and_user_fonts
    both = lumo_font.get_fonts_timestamp()
    assert both.count("|") == 1
    os.rmdir(user)
    assert lumo_font.get_fonts_timestamp() == expected_element(system)


def test_no_directory_gives_empty_text(monkeypatch):
    monkeypatch.setattr("sys.platform", "darwin")
    assert lumo_font.get_fonts_timestamp() == ""
    monkeypatch.setattr("sys.platform", "sunos5")
    assert lumo_font.get_fonts_timestamp() == ""
