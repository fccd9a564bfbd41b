"""Emoji classification: fixed ranges over the emoji table, and memoisation."""
import emoji
import pytest

import lumo_font


@pytest.mark.parametrize("ch, expected", [
    ("\u2600", True), ("\u263a", True), ("\u2660", True), ("\u2667", True), ("\u2604", True),
    ("\u24b6", False), ("\u24ea", False), ("\u2654", False), ("\u265f", False),
    ("\u200d", True), ("\ufe0f", True),
    ("A", False), ("1", False), ("\U0001F600", True), ("\u05d0", False),
])
def test_classification(ch, expected):
    assert lumo_font.is_emoji(ch) is expected


@pytest.mark.parametrize("ch", ["\u2605", "\u2653"])
def test_characters_between_the_ranges_follow_the_table(ch):
    assert lumo_font.is_emoji(ch) is (ch in emoji.EMOJI_DATA)


def test_fixed_ranges_override_the_table(monkeypatch):
    monkeypatch.setattr(emoji, "EMOJI_DATA", {"\u2654": {}})
    lumo_font._EMOJI_CACHE.pop("\u2654", None)
    assert lumo_font.is_emoji("\u2654") is False   # listed, but a chess symbol is text


def test_answers_are_memoised(monkeypatch):
    ch = "\U0001F9EA"
    lumo_font._EMOJI_CACHE.pop(ch, None)
    assert lumo_font.is_emoji(ch) is True
    assert lumo_font._EMOJI_CACHE[ch] is True
    monkeypatch.setattr(emoji, "EMOJI_DATA", {})
    assert lumo_font.is_emoji(ch) is True    # the table is not consulted again


@pytest.mark.parametrize("value", ["ab", "", 5])
def test_anything_but_one_character_is_refused(value):
    with pytest.raises(TypeError):
        lumo_font.is_emoji(value)
    assert value not in lumo_font._EMOJI_CACHE
