"""A damaged index file read back: hundreds of seeded mutations of a real
font_map.json (flipped bytes, cuts, stray JSON tokens, bad UTF-8, lone
surrogate escapes, huge numbers). The engine's reader must judge each one as
the host's json module does: a file json refuses is reported with json's own
message and rescanned; a file json accepts is taken as json reads it, or
rescanned without a word when it is stale."""
import json
import random

import pytest

import lumo_font

MUTATIONS = 1000
TOKENS = [b"NaN", b"Infinity", b"-Infinity", b"1e999", b"-0", b"01", b"1.", b".5", b"1e", b"true", b"nul",
          b"\\ud800", b"\\udc00", b"\\u00", b"\\", b'"', b"[", b"]", b"{", b"}", b",", b":", b" ", b"\t", b"\x00",
          b"\xff", b"\xed\xa0\x80", b"\xc3", b"\xc3\xa9", b"\xf0\x9f\x98\x80"]


def mutate(data, rng):
    data = bytearray(data)
    for _ in range(rng.randint(1, 3)):
        at = rng.randrange(len(data) + 1)
        kind = rng.randrange(4)
        if kind == 0 and at < len(data):
            data[at] = rng.randrange(256)
        elif kind == 1:
            data[at:at] = rng.choice(TOKENS)
        elif kind == 2:
            del data[at:at + rng.randint(1, 20)]
        else:
            del data[at:]
    return bytes(data)


def json_verdict(data):
    """None when the host's json reads `data`, else its error message."""
    try:
        json.loads(data.decode("utf-8"))
        return None
    except ValueError as error:  # UnicodeDecodeError included
        return str(error)


@pytest.fixture
def index_file(only_user_fonts, capsys):
    from support.fontgen import build_font
    for number in range(3):
        build_font(only_user_fonts / f"face{number}.ttf", f"Face {number} Sans")
    lumo_font.load_or_update_font_map()
    capsys.readouterr()
    return only_user_fonts.parent.parent / "Library" / "Application Support" / "lumo_font_map" / "font_map.json"


def test_every_damaged_index_file_is_judged_as_the_hosts_json_judges_it(index_file, capsys):
    intact = index_file.read_bytes()
    rng = random.Random(4242)
    refused = 0
    for _ in range(MUTATIONS):
        damaged = mutate(intact, rng)
        index_file.write_bytes(damaged)
        index = lumo_font.load_or_update_font_map()
        printed = capsys.readouterr().out
        error = json_verdict(damaged)
        if error is not None:
            refused += 1
            assert f"[DEBUG] Cache error or old format, Rescanning: {error}\n" in printed, damaged
        elif "[DEBUG] Cache error" in printed:  # json reads it, but the shape is not an index's
            assert "object has no attribute" in printed or "of the index" in printed or \
                "of \"paths\"" in printed, damaged
        if "[SYSTEM] Scanning" in printed:
            assert sorted(index["paths"]) == ["face 0 sans", "face 1 sans", "face 2 sans"]
        else:  # taken as it stands: exactly what json reads from it
            assert index == json.loads(damaged.decode("utf-8")), damaged
    assert refused > MUTATIONS // 2


@pytest.mark.parametrize("depth", [600, 100_000])
def test_deep_nesting_is_refused_and_rescanned_without_a_crash(index_file, capsys, depth):
    index_file.write_text('{"paths": ' + "[" * depth + "]" * depth + "}")
    index = lumo_font.load_or_update_font_map()
    out = capsys.readouterr().out
    # Either json's own refusal (too deep for the interpreter) or the shape check.
    assert "[DEBUG] Cache error or old format, Rescanning: " in out
    assert "recursion" in out or "'list' object has no attribute 'values'" in out
    assert len(index["paths"]) == 3
