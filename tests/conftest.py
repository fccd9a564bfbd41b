"""Shared set-up: no real display, a private home for every test, and a
factory of synthetic fonts."""
import os

# Before anything imports pygame: no window system and no greeting.
os.environ.setdefault("SDL_VIDEODRIVER", "dummy")
os.environ.setdefault("SDL_AUDIODRIVER", "dummy")
os.environ.setdefault("PYGAME_HIDE_SUPPORT_PROMPT", "1")

import pytest

import lumo_font
from support import fontgen

SETTING_NAMES = tuple(lumo_font._CONFIG_VALIDATORS)


@pytest.fixture(autouse=True)
def private_home(tmp_path, monkeypatch):
    """A fresh home directory: the font index cache and the per-user font
    directory of the test live there and nowhere else."""
    home = tmp_path / "home"
    home.mkdir()
    monkeypatch.setenv("HOME", str(home))
    monkeypatch.setenv("XDG_DATA_HOME", str(home / ".local" / "share"))
    return home


@pytest.fixture(autouse=True)
def restore_settings():
    """Puts the engine settings back after a test that changed them."""
    saved = {name: getattr(lumo_font, name) for name in SETTING_NAMES}
    yield
    # Written into the namespace directly: restoring must neither pass the
    # guard's checks nor print its warnings.
    vars(lumo_font).update(saved)


@pytest.fixture
def user_font_dir(private_home):
    """The per-user font directory that the font index scans (~/.local/share/fonts)."""
    path = private_home / ".local" / "share" / "fonts"
    path.mkdir(parents=True, exist_ok=True)
    return path


@pytest.fixture
def only_user_fonts(monkeypatch, private_home):
    """Index only a private font directory: the engine is told it runs on a Mac,
    whose system font directory does not exist here. Returns ~/Library/Fonts."""
    monkeypatch.setattr("sys.platform", "darwin")
    path = private_home / "Library" / "Fonts"
    path.mkdir(parents=True)
    return path


@pytest.fixture
def system_and_user_fonts(monkeypatch, private_home, tmp_path):
    """Two private font directories scanned in order, system-wide then per-user:
    the engine is told it runs on Windows, whose system directory is then a
    relative path below the test's working directory. Returns both paths."""
    monkeypatch.setattr("sys.platform", "win32")
    monkeypatch.chdir(tmp_path)
    system = tmp_path / "C:" / "Windows" / "Fonts"
    user = private_home / "AppData" / "Local" / "Microsoft" / "Windows" / "Fonts"
    system.mkdir(parents=True)
    user.mkdir(parents=True)
    return system, user


@pytest.fixture
def make_font(tmp_path):
    """Builds a synthetic single-font file; a relative path lands in the test's folder.

    make_font("a.ttf", "Test Sans Bold", chars="AB", name_records=[...])"""
    def make(path="font.ttf", full_name="Test Sans", **options):
        return fontgen.build_font(tmp_path / path, full_name, **options)
    return make


@pytest.fixture
def make_collection(tmp_path):
    """Builds a synthetic .ttc from a list of TTFonts or `build_ttfont` option dicts."""
    def make(path, faces):
        return fontgen.build_collection(tmp_path / path, faces)
    return make
