"""Host code that runs in the middle of a call: objects whose __eq__, __del__
or __index__ replace the font object's caches or state, settings changed by
another thread while a line is drawn. The engine must neither crash nor keep
pixels under the wrong settings."""
import os
import pathlib
import subprocess
import sys
import threading

import pytest

import lumo_font

SCRIPT = pathlib.Path(__file__).parent / "support" / "hostile_host_code.py"
DEJAVU = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
SYMBOLA = "/usr/share/fonts/truetype/ancient-scripts/Symbola_hint.ttf"


@pytest.mark.parametrize("seed", range(4))
def test_host_code_that_replaces_caches_mid_call_never_crashes(seed):
    env = dict(os.environ, SDL_VIDEODRIVER="dummy")
    result = subprocess.run([sys.executable, str(SCRIPT), str(seed), "300"], capture_output=True, text=True,
                            env=env, timeout=300)
    assert result.returncode == 0, result.stderr[-3000:]
    assert result.stdout.strip().endswith("survived")
    assert "leaked" not in result.stderr


def test_a_replaced_cache_in_a_colour_items_del_is_no_use_after_free():
    font = lumo_font.LumoFont(DEJAVU, DEJAVU, None, None)

    class Red(int):
        def __del__(self):
            font._text_cache = {}

    font.render("victim", 20, (Red(255), 0, 0))
    for number in range(300):
        font.render(f"line {number}", 20)
    vars(lumo_font)["MAX_TEXT_CACHE"] = 2
    line = font.render("trigger", 20)
    assert line.get_width() > 10 and line.get_at((0, 0)) is not None


def test_emoji_lines_are_cached_under_the_settings_they_were_drawn_with():
    # pygame's font engine lets other threads run while it draws an emoji run;
    # a setting changed meanwhile must not reach the pixels of this call.
    font = lumo_font.LumoFont(DEJAVU, DEJAVU, None, SYMBOLA)
    settings = [(True, 0.15), (False, 0.15), (True, -0.5), (True, 1.0)]
    stop = threading.Event()

    def flip_settings():
        turn = 0
        while not stop.is_set():
            smooth, offset = settings[turn % len(settings)]
            lumo_font.SMOOTH_FONT, lumo_font.EMOJI_OFFSET_Y = smooth, offset
            turn += 1

    flipper = threading.Thread(target=flip_settings)
    interval = sys.getswitchinterval()
    sys.setswitchinterval(1e-6)
    flipper.start()
    try:
        # Each new size makes a pygame font, which lets the other thread run.
        for number in range(400):
            font.render(f"{number} 😀", 10 + number % 60)
    finally:
        stop.set()
        flipper.join()
        sys.setswitchinterval(interval)
    wrong = 0
    for key, line in list(font._text_cache.items()):
        text, size, _color, _modern, smooth, offset, _face = key
        vars(lumo_font).update(SMOOTH_FONT=smooth, EMOJI_OFFSET_Y=offset)
        fresh = lumo_font.LumoFont(DEJAVU, DEJAVU, None, SYMBOLA).render(text, size)
        wrong += fresh.get_size() != line.get_size() or any(
            fresh.get_at((x, y)) != line.get_at((x, y)) for x in range(line.get_width()) for y in range(line.get_height()))
    assert wrong == 0
