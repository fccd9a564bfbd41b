"""The dialogue box example, driven frame by frame: typed out at 30
characters per second without a pixel changing place, ending on exactly the
block render_block() draws, one word waving, skipped by a key press; and a
screenshot run of the program itself."""
import importlib.util
import os
import pathlib
import subprocess
import sys

import numpy as np
import pygame
import pytest

from test_dialogue_text import covered, rgba

ROOT = pathlib.Path(__file__).resolve().parents[1]
EXAMPLE = ROOT / "examples" / "dialogue_box.py"
FRAME = 1 / 60


def load_example():
    spec = importlib.util.spec_from_file_location("dialogue_box_example", EXAMPLE)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


example = load_example()


@pytest.fixture(scope="module")
def font():
    return example.make_font()


def box_of(font, wave_height=4.0):
    return example.DialogueBox(font, (0, 0, 840, 140), wave_height=wave_height)


def text_area(box, surface):
    """The colours of `surface` under the box's text (screens have no alpha, and
    pygame reads none back from them)."""
    x, y = box.text_origin()
    width, height = box.layout.size
    return rgba(surface)[y:y + height, x:x + width, :3]


def frame_of(box):
    screen = pygame.Surface(box.rect.size)
    screen.fill(example.BACKGROUND)
    box.draw(screen)
    return screen


def test_typing_never_moves_a_pixel_and_ends_on_the_block(font):
    box = box_of(font, wave_height=0)
    frames, shown = [], []
    while not box.finished():
        box.update(FRAME)
        frames.append(text_area(box, frame_of(box)))
        shown.append(box.shown)
    assert len(frames) == pytest.approx(len(box.clusters) * 2, abs=2), "30 clusters a second at 60 frames a second"
    last = frames[-1]
    text, word = example.LINES[0]
    expected = pygame.Surface(box.rect.size)
    expected.fill(example.BACKGROUND)
    pygame.draw.rect(expected, example.PANEL, box.rect, border_radius=10)
    expected.blit(font.render_block(text, box.size, example.TEXT, wraplength=box.rect.width - 40), box.text_origin())
    assert (last == text_area(box, expected)).all()
    panel = np.broadcast_to(np.array(example.PANEL, np.uint8), last.shape)
    rects = [cluster.rect for cluster in box.clusters]
    for frame, count in zip(frames, shown):
        # Every pixel is the panel or the last frame's, but where a cluster still hidden shares it.
        changed = (frame != last).any(-1) & (frame != panel).any(-1)
        assert not (changed & ~covered(last.shape, rects[count:])).any()
        assert not ((frame != panel).any(-1) & ~covered(last.shape, rects[:count])).any()


def test_a_key_press_shows_the_rest_then_the_next_line(font):
    box = box_of(font)
    box.update(1.0)
    assert box.shown == 30 and not box.finished()
    box.handle(pygame.event.Event(pygame.KEYDOWN, key=pygame.K_SPACE, mod=0, unicode=" "))
    assert box.finished() and box.reveal() == len(example.LINES[0][0])
    box.handle(pygame.event.Event(pygame.MOUSEBUTTONDOWN, pos=(5, 5), button=1))
    assert box.text == example.LINES[1][0] and box.shown == 0


def test_the_marked_word_waves_and_nothing_else_moves(font):
    box = box_of(font)
    text, word = example.LINES[0]
    assert "".join(text[box.clusters[i].start:box.clusters[i].end] for i in sorted(box.waving)) == word
    box.skip()
    still = box_of(font, wave_height=0)
    still.skip()
    waving_area = covered(box.layout.size[::-1], [box.clusters[i].rect for i in box.waving], grow=5)
    moved = 0
    for _ in range(20):
        box.update(FRAME)
        still.update(FRAME)
        differs = (text_area(box, frame_of(box)) != text_area(still, frame_of(still))).any(-1)
        assert not (differs & ~waving_area).any()
        moved += differs.any()
    assert moved >= 15


def test_the_program_runs_and_types_its_line(tmp_path):
    shot = tmp_path / "shot.png"
    env = dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy")
    result = subprocess.run([sys.executable, str(EXAMPLE), "--frames", "30", "--screenshot", str(shot)],
                            capture_output=True, text=True, env=env, timeout=120)
    assert result.returncode == 0, result.stderr
    image = rgba(pygame.image.load(str(shot)))
    assert image.shape[:2] == (320, 900)
    lit = (image[..., :3] > 200).all(-1)
    # Half a second in: the first 15 characters, on the first line of the box only.
    assert lit[150:200, :300].any() and not lit[150:200, 450:860].any()


def test_the_readme_picture_can_be_drawn_again(tmp_path):
    output = tmp_path / "dialogue.png"
    env = dict(os.environ, SDL_VIDEODRIVER="dummy")
    result = subprocess.run([sys.executable, str(ROOT / "docs" / "dialogue.py"), str(output)],
                            capture_output=True, text=True, env=env, timeout=120)
    assert result.returncode == 0, result.stderr
    picture = rgba(pygame.image.load(str(output)))
    kept = rgba(pygame.image.load(str(ROOT / "docs" / "dialogue.png")))
    assert picture.shape == kept.shape
    # A strip of frames, each showing more of the line than the one above it.
    panels = np.array_split(picture[:, 170:], 7, axis=0)
    inked = [int(((panel[..., :3] > 150).all(-1)).sum()) for panel in panels]
    assert inked == sorted(inked) and inked[0] < inked[-1] // 4
