"""The text field example, driven by synthetic pygame events: typing, input
method composition, deleting by grapheme, moving on screen, selecting with the
keyboard and the mouse, and a screenshot run of the program itself."""
import importlib.util
import os
import pathlib
import subprocess
import sys

import pygame
import pytest

from test_render_crosscheck import script_dir  # noqa: F401  (fixture)
from test_text_layout import layout_font  # noqa: F401  (fixture)

ROOT = pathlib.Path(__file__).resolve().parents[1]
EXAMPLE = ROOT / "examples" / "text_input.py"


def load_example():
    spec = importlib.util.spec_from_file_location("text_input_example", EXAMPLE)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


example = load_example()


class FakeClock:
    def __init__(self):
        self.now = 10_000

    def __call__(self):
        return self.now


@pytest.fixture
def clock():
    return FakeClock()


@pytest.fixture
def field(layout_font, clock):
    return example.TextField(layout_font, (0, 0, 600, 60), size=24, clock=clock)


def typed(text):
    return pygame.event.Event(pygame.TEXTINPUT, text=text)


def key(name, mod=0):
    return pygame.event.Event(pygame.KEYDOWN, key=getattr(pygame, name), mod=mod, unicode="")


def mouse(kind, pos, button=1):
    if kind == pygame.MOUSEMOTION:
        return pygame.event.Event(kind, pos=pos, rel=(0, 0), buttons=(1, 0, 0))
    return pygame.event.Event(kind, pos=pos, button=button)


def feed(field, *events):
    for event in events:
        field.handle(event)


def screen_x(field, index, other=False):
    """The screen column of a caret of the field."""
    return field.origin()[0] + field.layout().caret(index, other=other).x


def test_typing_and_deleting_whole_graphemes(field):
    feed(field, typed("ab"), typed("e\u0301"), typed("👨\u200d👩\u200d👧"), typed("क्षि"))
    assert field.text == "abe\u0301👨\u200d👩\u200d👧क्षि" and field.caret == len(field.text)
    feed(field, key("K_BACKSPACE"))
    assert field.text == "abe\u0301👨\u200d👩\u200d👧"
    feed(field, key("K_BACKSPACE"))
    assert field.text == "abe\u0301"
    feed(field, key("K_HOME"), key("K_DELETE"), key("K_END"), key("K_BACKSPACE"))
    assert (field.text, field.caret) == ("b", 1)


def test_composition_is_shown_in_place_until_committed(field):
    feed(field, typed("ab"), key("K_LEFT"))
    feed(field, pygame.event.Event(pygame.TEXTEDITING, text="にほ", start=2, length=0))
    assert field.text == "ab" and field.shown_text() == "aにほb"
    feed(field, typed("日本"))
    assert (field.text, field.caret, field.composition) == ("a日本b", 3, "")


def test_arrows_move_on_screen_across_a_change_of_direction(field):
    # "abc אבג": the Hebrew word is drawn reversed, so the caret walks it right to left in the text.
    feed(field, typed("abc אבג"), key("K_HOME"))
    visited = [field.caret]
    for _ in range(len(field.text) + 2):
        feed(field, key("K_RIGHT"))
        visited.append(field.caret)
    assert visited[:4] == [0, 1, 2, 3]
    assert sorted(set(visited)) == list(range(len(field.text) + 1))
    xs = [screen_x(field, index) for index in visited]
    assert xs == sorted(xs), "the caret never moves left when Right is pressed"


def test_shift_arrows_select_and_typing_replaces_the_selection(field):
    feed(field, typed("hello world"), key("K_HOME"))
    for _ in range(5):
        feed(field, key("K_RIGHT", pygame.KMOD_LSHIFT))
    assert field.selection() == (0, 5)
    feed(field, typed("howdy"))
    assert (field.text, field.caret) == ("howdy world", 5)
    feed(field, key("K_END", pygame.KMOD_SHIFT), key("K_BACKSPACE"))
    assert field.text == "howdy"


def test_click_drag_and_double_click(field, clock):
    feed(field, typed("Hello שלום world"))
    y = field.rect.centery
    # A click just left of the caret after "Hello" puts the caret there.
    feed(field, mouse(pygame.MOUSEBUTTONDOWN, (screen_x(field, 5) - 1, y)), mouse(pygame.MOUSEBUTTONUP, (0, y)))
    assert field.selection() == (5, 5)
    # A drag from there over "Hello" selects it.
    clock.now += 1000
    feed(field, mouse(pygame.MOUSEBUTTONDOWN, (screen_x(field, 0) + 1, y)),
         mouse(pygame.MOUSEMOTION, (screen_x(field, 5) - 1, y)), mouse(pygame.MOUSEBUTTONUP, (0, y)))
    assert field.selection() == (0, 5) and field.caret == 5
    # A double click on the Hebrew word selects it, whichever half is hit.
    clock.now += 1000
    middle = (screen_x(field, 7) + screen_x(field, 8)) // 2
    for _ in range(2):
        clock.now += 100
        feed(field, mouse(pygame.MOUSEBUTTONDOWN, (middle, y)), mouse(pygame.MOUSEBUTTONUP, (middle, y)))
    assert field.selection() == (6, 10)
    feed(field, typed("עולם"))
    assert field.text == "Hello עולם world"


def test_the_program_runs_and_draws_its_field(tmp_path):
    shot = tmp_path / "shot.png"
    env = dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy")
    result = subprocess.run([sys.executable, str(EXAMPLE), "--frames", "5", "--screenshot", str(shot)],
                            capture_output=True, text=True, env=env, timeout=120)
    assert result.returncode == 0, result.stderr
    image = pygame.image.load(str(shot))
    assert image.get_size() == (900, 200)
    selected = sum(1 for x in range(30, 870, 2) if image.get_at((x, 90))[:3] == example.SELECTION)
    assert selected > 50, "the selection shown at start is drawn"


def test_the_guide_picture_shows_a_selection_in_two_stretches():
    from support.doc_pictures import drawn_picture
    picture = drawn_picture("guides/text-input.md", "pictures/text-input.png")
    # The selection crosses the change of direction: two separate stretches of its colour, seen on its
    # first row (above the letters drawn over it).
    selected = [[picture.get_at((x, y))[:3] == (70, 110, 190) for x in range(picture.get_width())]
                for y in range(picture.get_height())]
    row = next(row for row in selected if any(row))
    assert sum(1 for x in range(1, len(row)) if row[x] and not row[x - 1]) == 2
