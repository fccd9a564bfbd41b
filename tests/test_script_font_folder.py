"""lumo_font.script_font_folder(): the folder of regular script and symbol
fonts that a game passes as its fallback folder, kept beside the font index,
and what the README's set-up draws with it."""
import functools
import os
import unicodedata

import pygame
import pytest
from fontTools.ttLib import TTFont

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
    # Numbered by how widely the script is written; Naskh adds nothing to the Sans Arabic.
    assert folder_entries(folder) == {
        "000-NotoSansArabic-Regular.ttf": str(fonts["arabic"]),
        "001-NotoSerifThai-Regular.ttf": str(fonts["thai serif"]),
        "002-NotoSansHebrew-Regular.ttf": str(fonts["hebrew"]),
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
    assert entries == {"000-NotoNaskhArabic-Regular.ttf": str(fonts["naskh"]),
                       "001-NotoSerifThai-Regular.ttf": str(fonts["thai serif"])}


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


EMOJI = f"{NOTO}/NotoColorEmoji.ttf"


def readme_setup():
    """The README's set-up: its fonts and the script font folder."""
    font = lumo_font.LumoFont("Noto Sans", "Noto Sans CJK SC", lumo_font.script_font_folder(), EMOJI)
    font._ensure_init()
    return font


@functools.lru_cache(maxsize=None)
def coverage(path, face_index=-1):
    """The code points of a face, read with fontTools (not the engine)."""
    with TTFont(path, fontNumber=max(face_index, 0), lazy=True) as font:
        return frozenset(font.getBestCmap() or ())


def record_coverage(record):
    return coverage(*record) if isinstance(record, list) else coverage(record)


def linked_fonts(folder):
    """The folder's fonts in the order the fallback search tries them."""
    return [os.path.join(folder, name) for name in sorted(os.listdir(folder))]


def has_ink(surface):
    return pygame.mask.from_surface(surface).count() > 0


@needs_noto
def test_installed_noto_fonts(private_home):
    folder = lumo_font.script_font_folder()
    assert folder == str(private_home / ".local" / "share" / "lumo_font_map" / "script_fonts")
    entries = folder_entries(folder)
    files = [target for _, target in sorted(entries.items())]
    for name in ["NotoSansArabic-Regular.ttf", "NotoSansHebrew-Regular.ttf", "NotoSansThai-Regular.ttf",
                 "NotoSansDevanagari-Regular.ttf", "NotoSansGurmukhi-Regular.ttf", "NotoSansGujarati-Regular.ttf",
                 "NotoSansOriya-Regular.ttf", "NotoSansKannada-Regular.ttf", "NotoSansMalayalam-Regular.ttf",
                 "NotoSansTelugu-Regular.ttf", "NotoSansSinhala-Regular.ttf", "NotoSerifTibetan-Regular.ttf",
                 # Scripts and symbol sets a fixed list of present-day scripts left out.
                 "NotoSansSymbols-Regular.ttf", "NotoSansSymbols2-Regular.ttf", "NotoSansMath-Regular.ttf",
                 "NotoMusic-Regular.ttf", "NotoSansRunic-Regular.ttf", "NotoSansOgham-Regular.ttf",
                 "NotoSansTagalog-Regular.ttf", "NotoSansHanunoo-Regular.ttf", "NotoSansGothic-Regular.ttf",
                 "NotoSansDeseret-Regular.ttf", "NotoSansShavian-Regular.ttf", "NotoSansOsmanya-Regular.ttf",
                 "NotoSansEgyptianHieroglyphs-Regular.ttf", "NotoSansCuneiform-Regular.ttf"]:
        assert f"{NOTO}/{name}" in files, name
    assert all(os.path.isfile(target) and "Bold" not in target for target in files)
    # Second designs that draw nothing the first does not; main text fonts; the colour emoji font.
    assert not {f"{NOTO}/{name}" for name in [
        "NotoNaskhArabic-Regular.ttf", "NotoKufiArabic-Regular.ttf", "NotoSerifHebrew-Regular.ttf",
        "NotoRashiHebrew-Regular.ttf", "NotoSerifThai-Regular.ttf", "NotoSerifDevanagari-Regular.ttf",
        "NotoSansTifinaghAdrar-Regular.ttf", "NotoSans-Regular.ttf", "NotoSerif-Regular.ttf",
        "NotoColorEmoji.ttf"]} & set(files)
    # Symbol fonts first; then scripts by how widely they are written.
    position = {os.path.basename(target): place for place, target in enumerate(files)}
    assert max(position[name] for name in ["NotoSansSymbols-Regular.ttf", "NotoSansSymbols2-Regular.ttf",
                                           "NotoSansMath-Regular.ttf", "NotoMusic-Regular.ttf"]) < \
        position["NotoSansArabic-Regular.ttf"]
    assert position["NotoSansDevanagari-Regular.ttf"] < position["NotoSansBengali-Regular.ttf"] < \
        position["NotoSansTamil-Regular.ttf"] < position["NotoSansGrantha-Regular.ttf"]
    assert lumo_font.script_font_folder() == folder and folder_entries(folder) == entries


@needs_noto
def test_installed_noto_fonts_draw_arabic_hebrew_and_thai():
    font = readme_setup()
    records = {record["char"]: record for record in font.get_debug_info(f"Hi {ARABIC}{HEBREW}{THAI}{CJK}")}
    assert {ch: (records[ch]["font"][4:], records[ch]["has_glyph"]) for ch in ARABIC + HEBREW + THAI} == {
        ARABIC: ("NotoSansArabic-Regular.ttf", True),
        HEBREW: ("NotoSansHebrew-Regular.ttf", True),
        THAI: ("NotoSansThai-Regular.ttf", True),
    }
    assert has_ink(font.render(f"{ARABIC}{HEBREW}{THAI}", 32))


# Categories to pick a font's own character from: letters, then digits,
# symbols and punctuation, then marks; never spaces, controls or private use.
PICK_ORDER = ["L", "N", "S", "P", "M"]


def own_character(code_points):
    """A character to draw from `code_points`, or None."""
    drawable = [code for code in code_points if unicodedata.category(chr(code))[0] in PICK_ORDER
                and unicodedata.category(chr(code)) != "Co"]
    return chr(min(drawable, key=lambda code: (PICK_ORDER.index(unicodedata.category(chr(code))[0]), code))) \
        if drawable else None


@needs_noto
def test_every_linked_font_draws_a_character_the_fonts_before_it_lack():
    font = readme_setup()
    paths = font._font_map["paths"]
    earlier = record_coverage(paths["noto sans regular"]) | record_coverage(paths["noto sans cjk sc"])
    # An emoji of the emoji font would be drawn by it.
    emoji = coverage(EMOJI)
    picked = {}
    for path in font._intl_font_paths:
        covered = coverage(path)
        picked[os.path.basename(path)] = own_character(covered - earlier - emoji)
        earlier |= covered
    assert len(picked) > 140 and None not in picked.values(), [name for name, ch in picked.items() if ch is None]

    records = {record["char"]: record for record in font.get_debug_info("".join(picked.values()))}
    drawn_by = {name: (records[ch]["font"], records[ch]["has_glyph"]) for name, ch in picked.items()}
    assert drawn_by == {name: (name, True) for name in picked}
    no_ink = [name for name, ch in picked.items() if not has_ink(font.render(ch, 32))]
    assert no_ink == []


@needs_noto
def test_the_danda_is_drawn_by_the_devanagari_font():
    records = readme_setup().get_debug_info("\u0964\u0965")
    assert [(record["font"][4:], record["has_glyph"]) for record in records] == \
        [("NotoSansDevanagari-Regular.ttf", True)] * 2


EVERYDAY_SYMBOLS = ("← → ↑ ↓ ↔ ⇒ ✓ ✔ ✗ ✘ ⌀ ⌘ ⏎ ⠿ ⣿ ★ ☆ ✦ ♠ ♣ ♥ ♦ ♪ ♫ ♭ ♯ 𝄞 ∑ ∞ ≠ ≤ ≥ √ ∫ ∂ ± × ÷ "
                    "① ② ⑩ ❶ € £ ¥ ₹ ₩ ₽ ₿ ¢ ☐ ☑ ☒ ⚀ ⚅ ♔ ♞ ☀ ☁ ☂ ⌛ ⏰ ⚡ ⚠")


@needs_noto
def test_everyday_symbols_draw_without_a_box():
    font = readme_setup()
    boxes = [record["char"] for record in font.get_debug_info(EVERYDAY_SYMBOLS)
             if record["char"] != " " and not record["has_glyph"]]
    assert boxes == []
    assert has_ink(font.render(EVERYDAY_SYMBOLS, 24))


def installed_regular_fonts(index):
    """The single-font files of regular faces the index has, but colour fonts."""
    style_words = tuple(suffix for suffix in lumo_font.FONT_SUFFIXES if suffix.strip(" -") != "regular")
    return {path for name, (path, face_index) in index["paths"].items()
            if face_index == -1 and path.lower().endswith((".ttf", ".otf")) and not name.endswith(style_words)
            and path != EMOJI}


@needs_noto
def test_every_character_an_installed_regular_font_covers_is_reachable():
    font = readme_setup()
    installed = frozenset().union(*(coverage(path) for path in installed_regular_fonts(font._font_map)))
    paths = font._font_map["paths"]
    reached = record_coverage(paths["noto sans regular"]) | record_coverage(paths["noto sans cjk sc"]) | \
        frozenset().union(*(coverage(path) for path in font._intl_font_paths))
    unreached = sorted(code for code in installed - reached if unicodedata.category(chr(code)) not in ("Co", "Cn"))
    assert [f"U+{code:04X}" for code in unreached][:20] == []
