"""lumo_font.script_font_folder(): the folder of regular script fonts that a
game passes as its fallback folder, kept beside the font index."""
import os

import pytest

import lumo_font
from support.fontgen import build_collection, build_font
from support.unprivileged import can_drop_privileges, run_as_nobody, world_writable_directory

ARABIC, HEBREW, THAI, CJK = "\u0645", "\u05e9", "\u0e01", "\u4f60"
NOTO = "/usr/share/fonts/truetype/noto"


def folder_entries(folder):
    """{entry name: link target} of the folder."""
    return {name: os.readlink(os.path.join(folder, name)) for name in os.listdir(folder)}


@pytest.fixture
def private_script_fonts(only_user_fonts):
    """A private font directory with regular, bold, second-choice and collection faces."""
    fonts = {
        "arabic": build_font(only_user_fonts / "NotoSansArabic-Regular.ttf", "Noto Sans Arabic Regular", chars=ARABIC),
        "arabic bold": build_font(only_user_fonts / "NotoSansArabic-Bold.ttf", "Noto Sans Arabic Bold", chars=ARABIC),
        "naskh": build_font(only_user_fonts / "NotoNaskhArabic-Regular.ttf", "Noto Naskh Arabic Regular", chars=ARABIC),
        "hebrew": build_font(only_user_fonts / "NotoSansHebrew-Regular.ttf", "Noto Sans Hebrew Regular", chars=HEBREW),
        "thai serif": build_font(only_user_fonts / "NotoSerifThai-Regular.ttf", "Noto Serif Thai Regular", chars=THAI),
        "lao collection": build_collection(only_user_fonts / "Lao.ttc", [{"full_name": "Noto Sans Lao Regular"}]),
        "khmer bold": build_font(only_user_fonts / "NotoSansKhmer-Bold.ttf", "Noto Sans Khmer Bold"),
    }
    return fonts


def test_private_fonts_give_one_regular_file_per_script(private_script_fonts, private_home):
    fonts = private_script_fonts
    folder = lumo_font.script_font_folder()
    # Beside the font index of the platform (here a Mac's).
    assert folder == str(private_home / "Library" / "Application Support" / "lumo_font_map" / "script_fonts")
    assert folder_entries(folder) == {
        "NotoSansArabic-Regular.ttf": str(fonts["arabic"]),
        "NotoSansHebrew-Regular.ttf": str(fonts["hebrew"]),
        "NotoSerifThai-Regular.ttf": str(fonts["thai serif"]),
    }


def test_refresh_is_idempotent_and_follows_removed_fonts(private_script_fonts):
    fonts = private_script_fonts
    folder = lumo_font.script_font_folder()
    links = {name: os.lstat(os.path.join(folder, name)).st_ino for name in os.listdir(folder)}
    assert lumo_font.script_font_folder() == folder
    assert {name: os.lstat(os.path.join(folder, name)).st_ino for name in os.listdir(folder)} == links

    fonts["hebrew"].unlink()
    fonts["arabic"].unlink()   # the second choice for Arabic takes its place
    entries = folder_entries(lumo_font.script_font_folder())
    assert entries == {"NotoNaskhArabic-Regular.ttf": str(fonts["naskh"]),
                       "NotoSerifThai-Regular.ttf": str(fonts["thai serif"])}


def test_something_in_the_folders_place_is_an_os_error(only_user_fonts, private_home):
    index_dir = private_home / "Library" / "Application Support" / "lumo_font_map"
    index_dir.mkdir(parents=True)
    (index_dir / "script_fonts").write_text("not a folder")
    with pytest.raises(FileExistsError) as raised:
        lumo_font.script_font_folder()
    assert raised.value.filename == str(index_dir / "script_fonts")


@pytest.mark.parametrize("index, error", [
    (["not", "a", "dict"], "Expected dict, got list"),
    ({"paths": ["not", "a", "dict"]}, "Expected dict, got list"),
    ({"paths": {"noto sans arabic regular": [42, -1]}}, "Expected str, got int"),
    ({"paths": {"noto sans arabic regular": ["/f/a.ttf", "first"]}}, "integer"),
])
def test_a_broken_index_from_the_loader_is_a_type_error(monkeypatch, index, error):
    monkeypatch.setattr(lumo_font, "load_or_update_font_map", lambda: index)
    with pytest.raises(TypeError, match=error):
        lumo_font.script_font_folder()


@pytest.mark.skipif(not can_drop_privileges(), reason="needs root to act as an unprivileged user")
def test_per_user_fallback_location(tmp_path, monkeypatch):
    home = world_writable_directory(str(tmp_path))
    monkeypatch.setenv("HOME", home)
    monkeypatch.setenv("XDG_DATA_HOME", str(tmp_path / "locked" / "data"))   # nobody may create it
    (tmp_path / "locked").mkdir(mode=0o755)
    monkeypatch.setattr("sys.platform", "sunos5")   # the data-home rules of Linux, and no fonts to scan
    folder, printed = run_as_nobody(lumo_font.script_font_folder)
    assert folder == os.path.join(home, ".lumo_font_map", "script_fonts")
    assert printed.count("[WARNING] No permission to write in system app data.") == 1


# The real fonts that the set-up installs.
needs_noto = pytest.mark.skipif(not os.path.exists(f"{NOTO}/NotoSansArabic-Regular.ttf"),
                                reason="Noto fonts not installed")


@needs_noto
def test_installed_noto_fonts(private_home):
    folder = lumo_font.script_font_folder()
    assert folder == str(private_home / ".local" / "share" / "lumo_font_map" / "script_fonts")
    entries = folder_entries(folder)
    for name in ["NotoSansArabic-Regular.ttf", "NotoSansHebrew-Regular.ttf", "NotoSansThai-Regular.ttf",
                 "NotoSansDevanagari-Regular.ttf", "NotoSansGurmukhi-Regular.ttf", "NotoSansGujarati-Regular.ttf",
                 "NotoSansOriya-Regular.ttf", "NotoSansKannada-Regular.ttf", "NotoSansMalayalam-Regular.ttf",
                 "NotoSansTelugu-Regular.ttf", "NotoSansSinhala-Regular.ttf", "NotoSerifTibetan-Regular.ttf"]:
        assert entries.get(name) == f"{NOTO}/{name}"
    assert all(name.endswith("-Regular.ttf") and os.path.isfile(target) for name, target in entries.items())
    # Second designs of a covered script, whose bold faces a folder of every Noto file would have listed.
    assert not {"NotoNaskhArabic-Regular.ttf", "NotoKufiArabic-Regular.ttf", "NotoSerifHebrew-Regular.ttf",
                "NotoRashiHebrew-Regular.ttf", "NotoSerifThai-Regular.ttf", "NotoLoopedThai-Regular.ttf",
                "NotoSerifDevanagari-Regular.ttf"} & set(entries)
    assert lumo_font.script_font_folder() == folder and folder_entries(folder) == entries


@needs_noto
def test_installed_noto_fonts_draw_arabic_hebrew_and_thai():
    font = lumo_font.LumoFont("Noto Sans", "Noto Sans CJK SC", lumo_font.script_font_folder(), None)
    records = {record["char"]: record for record in font.get_debug_info(f"Hi {ARABIC}{HEBREW}{THAI}{CJK}")}
    assert {ch: (records[ch]["font"], records[ch]["has_glyph"]) for ch in ARABIC + HEBREW + THAI} == {
        ARABIC: ("NotoSansArabic-Regular.ttf", True),
        HEBREW: ("NotoSansHebrew-Regular.ttf", True),
        THAI: ("NotoSansThai-Regular.ttf", True),
    }
    line = font.render(f"{ARABIC}{HEBREW}{THAI}", 32)
    assert any(line.get_at((x, y)).a for x in range(line.get_width()) for y in range(line.get_height()))
