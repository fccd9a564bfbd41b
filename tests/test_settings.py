"""The guarded module settings: defaults, validation of every assignment,
refused deletions and the exact warnings the host sees."""
import math
import os
import subprocess
import sys

import pytest

import lumo_font

DEFAULTS = {
    "MODERN_FONT": True,
    "SMOOTH_FONT": True,
    "ANTI_ALIAS": True,
    "EMOJI_OFFSET_Y": 0.15,
    "MAX_TEXT_CACHE": 1200,
    "TEXT_CACHE_CLEAN_COUNT": 100,
    "MAX_GLYPH_CACHE": 2500,
    "GLYPH_CACHE_CLEAN_COUNT": 100,
}
BOOLEAN_SETTINGS = ["MODERN_FONT", "SMOOTH_FONT", "ANTI_ALIAS"]
INTEGER_SETTINGS = ["MAX_TEXT_CACHE", "TEXT_CACHE_CLEAN_COUNT", "MAX_GLYPH_CACHE", "GLYPH_CACHE_CLEAN_COUNT"]


def type_warning(name, description):
    return f"[WARNING]: Invalid value for '{name}'. It must be {description}. Ignoring this assignment...\n"


def positive_warning(name):
    return f"[WARNING]: Invalid value for '{name}'. It must be greater than 0. Ignoring this assignment...\n"


def range_warning(name):
    return (f"[WARNING]: Invalid value for '{name}'. Value is outside of safe range (-2.0 to 2.0). "
            "Ignoring this assignment...\n")


def test_defaults_in_creation_order():
    names = [name for name in vars(lumo_font) if name in DEFAULTS]
    assert names == list(DEFAULTS)
    for name, value in DEFAULTS.items():
        assert getattr(lumo_font, name) == value
        assert type(getattr(lumo_font, name)) is type(value)


@pytest.mark.parametrize("name", BOOLEAN_SETTINGS)
@pytest.mark.parametrize("value", [1, 0, "True", None, 1.0])
def test_boolean_setting_refuses_anything_but_a_bool(capsys, name, value):
    setattr(lumo_font, name, value)
    assert capsys.readouterr().out == type_warning(name, "a Boolean value (True/False)")
    assert getattr(lumo_font, name) is True


@pytest.mark.parametrize("name", BOOLEAN_SETTINGS)
def test_boolean_setting_accepts_false_silently(capsys, name):
    setattr(lumo_font, name, False)
    assert capsys.readouterr().out == ""
    assert getattr(lumo_font, name) is False


@pytest.mark.parametrize("name", INTEGER_SETTINGS)
@pytest.mark.parametrize("value", [0, -5, False, -(10**40)])
def test_integer_setting_refuses_values_not_above_zero(capsys, name, value):
    before = getattr(lumo_font, name)
    setattr(lumo_font, name, value)
    assert capsys.readouterr().out == positive_warning(name)
    assert getattr(lumo_font, name) == before


@pytest.mark.parametrize("name", INTEGER_SETTINGS)
@pytest.mark.parametrize("value", [2.5, "10", None, 10.0])
def test_integer_setting_refuses_non_integers(capsys, name, value):
    setattr(lumo_font, name, value)
    assert capsys.readouterr().out == type_warning(name, "a positive Integer value")
    assert getattr(lumo_font, name) == DEFAULTS[name]


@pytest.mark.parametrize("value", [600, True, 10**30])
def test_integer_setting_stores_accepted_value_unchanged(capsys, value):
    lumo_font.MAX_TEXT_CACHE = value
    assert capsys.readouterr().out == ""
    assert lumo_font.MAX_TEXT_CACHE is value


@pytest.mark.parametrize("value", [2.0, -2, -2.0, 0, 1, True])
def test_emoji_offset_accepts_the_safe_range_unchanged(capsys, value):
    lumo_font.EMOJI_OFFSET_Y = value
    assert capsys.readouterr().out == ""
    assert lumo_font.EMOJI_OFFSET_Y is value


@pytest.mark.parametrize("value", [2.01, -2.5, 10**400, math.nan, math.inf])
def test_emoji_offset_refuses_values_outside_the_safe_range(capsys, value):
    lumo_font.EMOJI_OFFSET_Y = value
    assert capsys.readouterr().out == range_warning("EMOJI_OFFSET_Y")
    assert lumo_font.EMOJI_OFFSET_Y == 0.15


@pytest.mark.parametrize("value", ["x", None, [1], 1j])
def test_emoji_offset_refuses_non_numbers(capsys, value):
    lumo_font.EMOJI_OFFSET_Y = value
    assert capsys.readouterr().out == type_warning("EMOJI_OFFSET_Y", "a Float or Int value")
    assert lumo_font.EMOJI_OFFSET_Y == 0.15


@pytest.mark.parametrize("name", list(lumo_font.PROTECTED_VARS))
@pytest.mark.parametrize("action, change", [
    ("overwriting its value", lambda name: setattr(lumo_font, name, "replacement")),
    ("deleting its variable", lambda name: delattr(lumo_font, name)),
])
def test_protected_names_cannot_be_changed(capsys, name, action, change):
    before = vars(lumo_font).get(name, "absent")
    change(name)
    assert capsys.readouterr().out == (
        f"[WARNING]: The variable '{name}' is a protected local variable ( Read-Only ). "
        f"Ignoring the action of {action}...\n")
    assert vars(lumo_font).get(name, "absent") is before


@pytest.mark.parametrize("name", ["MAX_GLYPH_CACHE", "RICH_PALETTE", "no_such_name"])
def test_deleting_any_other_name_is_refused_without_error(capsys, name):
    before = vars(lumo_font).get(name, "absent")
    delattr(lumo_font, name)
    assert capsys.readouterr().out == (
        f"[WARNING]: The variable '{name}' is a Read-And-Write Only variable. "
        "Ignoring the action of deleting its variable...\n")
    assert vars(lumo_font).get(name, "absent") is before


def test_new_attributes_are_stored_silently(capsys):
    marker = object()
    lumo_font.host_added_attribute = marker
    try:
        assert capsys.readouterr().out == ""
        assert lumo_font.host_added_attribute is marker
    finally:
        vars(lumo_font).pop("host_added_attribute")


def test_warnings_go_through_print(monkeypatch):
    lines = []
    monkeypatch.setattr("builtins.print", lambda *args, **kwargs: lines.append(args))
    lumo_font.ANTI_ALIAS = 1
    assert lines == [(type_warning("ANTI_ALIAS", "a Boolean value (True/False)").rstrip("\n"),)]


def test_non_text_attribute_names_are_refused_like_any_module():
    with pytest.raises(TypeError):
        lumo_font.__setattr__(1, 2)


def test_module_type_is_the_guarded_module_subclass():
    guarded = type(lumo_font)
    assert guarded.__name__ == "_ProtectedEngine"
    assert issubclass(guarded, type(sys))
    assert set(vars(guarded)) >= {"__setattr__", "__delattr__"}


def test_validator_table():
    assert lumo_font._CONFIG_VALIDATORS == {
        "MODERN_FONT": (bool, "a Boolean value (True/False)"),
        "SMOOTH_FONT": (bool, "a Boolean value (True/False)"),
        "ANTI_ALIAS": (bool, "a Boolean value (True/False)"),
        "EMOJI_OFFSET_Y": ((int, float), "a Float or Int value"),
        "MAX_TEXT_CACHE": (int, "a positive Integer value"),
        "TEXT_CACHE_CLEAN_COUNT": (int, "a positive Integer value"),
        "MAX_GLYPH_CACHE": (int, "a positive Integer value"),
        "GLYPH_CACHE_CLEAN_COUNT": (int, "a positive Integer value"),
    }


def test_scanning_flag_and_version():
    assert lumo_font.is_scanning() is False
    assert lumo_font.is_scanning.__doc__ == "Read-Only API: Returns the font scanning status of the Engine"
    first, second = lumo_font.get_engine_version(), lumo_font.get_engine_version()
    assert first == second == "v1.2.2.5-patch"
    assert first is not second


def test_import_prints_nothing_and_scans_nothing(tmp_path):
    script = ("import sys, lumo_font, pygame.freetype\n"
              "assert pygame.freetype.get_init()\n"
              "assert not lumo_font.is_scanning()\n")
    env = {"HOME": str(tmp_path), "PATH": "/usr/bin:/bin", "SDL_VIDEODRIVER": "dummy"}
    result = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True, env=env,
                            cwd=tmp_path)
    assert result.returncode == 0, result.stderr
    assert result.stdout == ""
    assert not (tmp_path / ".local").exists()


def test_text_draws_after_the_game_stops_and_starts_pygame_again(tmp_path):
    # pygame.quit() stops pygame's FreeType module too; text drawn after it
    # (as a game's closing screen or a test suite does) must still draw.
    script = ("import pygame, lumo_font\n"
              "pygame.init()\n"
              "dejavu = '/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf'\n"
              "before = lumo_font.LumoFont(dejavu, dejavu, None, None).render('Game over', 30)\n"
              "pygame.quit()\n"
              "after = lumo_font.LumoFont(dejavu, dejavu, None, None).render('Game over', 30)\n"
              "assert pygame.image.tobytes(before, 'RGBA') == pygame.image.tobytes(after, 'RGBA')\n")
    env = dict(os.environ, HOME=str(tmp_path), SDL_VIDEODRIVER="dummy")  # a sanitizer runtime is kept preloaded
    result = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True, env=env, cwd=tmp_path)
    assert result.returncode == 0, result.stderr
