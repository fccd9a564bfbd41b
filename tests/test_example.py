"""The example game runs headless and draws its lines."""
import os
import pathlib
import subprocess
import sys

import pygame

EXAMPLE = pathlib.Path(__file__).resolve().parents[1] / "examples" / "scoreboard.py"


def test_scoreboard_runs_and_saves_a_screenshot(tmp_path):
    shot = tmp_path / "shot.png"
    env = dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy")
    result = subprocess.run([sys.executable, str(EXAMPLE), "--frames", "20", "--screenshot", str(shot)],
                            capture_output=True, text=True, env=env, timeout=120)
    assert result.returncode == 0, result.stderr
    image = pygame.image.load(str(shot))
    assert image.get_size() == (900, 260)
    background = image.get_at((890, 250))[:3]
    text_pixels = sum(1 for x in range(0, 900, 3) for y in range(0, 260, 3) if image.get_at((x, y))[:3] != background)
    assert text_pixels > 300
