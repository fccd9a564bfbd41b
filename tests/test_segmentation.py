"""How a line is cut into runs and ordered for drawing."""
import pytest

import lumo_font
from render_fixtures import ACUTE, ALEF, ALIF, BET, ZWJ, box_font, box_fonts  # noqa: F401  (fixtures)

RED = lumo_font.RICH_PALETTE["1"]
CALL = (10, 20, 30)


def texts(runs):
    return [run[0] for run in runs]


def test_fonts_and_groups(box_font, box_fonts):
    runs = box_font._split_runs("Ab " + ALEF)
    assert runs == [("Ab", box_fonts["primary"], (255, 255, 255), 7, "regular"),
                    (" ", box_fonts["fallback"], (255, 255, 255), 0, "regular"),
                    (ALEF, box_fonts["fallback"], (255, 255, 255), 1, "regular")]


def test_colour_tags(box_font):
    runs = box_font._split_runs("ab^1cd^rEF^0g^9", CALL)
    assert [(run[0], run[2]) for run in runs] == [("ab", CALL), ("cd", RED), ("EF", CALL), ("g", (255, 255, 255))]


@pytest.mark.parametrize("text, drawn", [
    ("x^", ["x^"]), ("^z1", ["^z1"]), ("a}b", ["a}b"]), ("a<b", ["a<b"]),
])
def test_incomplete_tags_are_drawn_literally(box_font, text, drawn):
    assert texts(box_font._split_runs(text)) == drawn


def test_face_tags(box_font):
    runs = box_font._split_runs("a<BOLD={b}>c</ Italic ={d}>")
    assert [(run[0], run[4]) for run in runs] == [("a", "regular"), ("b", "bold"), ("c", "regular"),
                                                  ("d", "italic")]
    runs = box_font._split_runs("<={e}>")
    assert [(run[0], run[4]) for run in runs] == [("e", "")]


def test_face_close_returns_to_the_call_face_without_nesting(box_font):
    runs = box_font._split_runs("<bold={a<italic={b}>c", face="Light")
    assert [(run[0], run[4]) for run in runs] == [("a", "bold"), ("b", "italic"), ("c", "light")]


@pytest.mark.parametrize("gap, is_tag", [(28, True), (29, False)])
def test_face_tag_reach(box_font, gap, is_tag):
    word = "w" * gap
    runs = box_font._split_runs("<" + word + "={x}>")
    assert (texts(runs) == ["x"]) is is_tag


def test_marks_join_the_preceding_character(box_font, box_fonts):
    assert texts(box_font._split_runs("e" + ACUTE + "x")) == ["e" + ACUTE + "x"]
    # at the start, or after a space, a mark gets its own lookup
    assert [run[1] for run in box_font._split_runs(ACUTE + "x")][0] == box_fonts["fallback"]
    assert texts(box_font._split_runs("a " + ACUTE)) == ["a", " ", ACUTE]


def test_mark_after_a_colour_tag_keeps_font_but_takes_the_new_colour(box_font, box_fonts):
    runs = box_font._split_runs("e^1" + ACUTE)
    assert [(run[0], run[1], run[2]) for run in runs] == [("e", box_fonts["primary"], (255, 255, 255)),
                                                          (ACUTE, box_fonts["primary"], RED)]


def test_invisible_characters_vanish_and_the_joiner_stays(box_font):
    assert texts(box_font._split_runs("a\tb\u200bc\u202ed\u2066e\u061cf")) == ["abcdef"]
    assert texts(box_font._split_runs("a" + ZWJ + "b")) == ["a" + ZWJ + "b"]


@pytest.mark.parametrize("text, expected", [
    ("ab " + ALEF, ["ab", " ", ALEF]),                               # LTR, N, RTL: kept
    (ALEF + " " + BET, [BET, " ", ALEF]),                            # RTL, N, RTL: reversed
    (" " + ALEF + BET + " ", [" ", ALEF + BET, " "]),                # edge spaces stay put
    (ALEF + " " + ALIF + " x", [ALIF, " ", ALEF, " ", "x"]),         # Hebrew and Arabic form one block
])
def test_direction(box_font, text, expected):
    assert texts(box_font._split_runs(text)) == expected


def test_palette_is_read_when_the_tag_is_met(box_font, monkeypatch):
    monkeypatch.setitem(lumo_font.RICH_PALETTE, "b", (1, 2, 3))
    assert [run[2] for run in box_font._split_runs("^bx")] == [(1, 2, 3)]
    monkeypatch.setitem(lumo_font.RICH_PALETTE, "c", [1, 2, 3])
    with pytest.raises(TypeError, match="Expected tuple, got list"):
        box_font._split_runs("^cx")
