"""The README's quick start, pasted into a file and run as it stands, draws
its Arabic, Hebrew and CJK characters with real glyphs, not boxes."""
import ast
import json
import os
import pathlib
import re
import subprocess
import sys

import pygame

README = pathlib.Path(__file__).resolve().parents[1] / "README.md"

# Run after the quick start: the line's surface and the engine's account of
# every character of it.
REPORT = '''
import json as _json, sys as _sys
pygame.image.save(line, _sys.argv[1])
_records = font.get_debug_info(LINE_TEXT)
print(_json.dumps([{key: record[key] for key in ("char", "font", "font_source", "has_glyph")}
                   for record in _records if not record["is_tag"]]))
'''


# Before it: its event loop gets a QUIT event on its third frame, as a window's close button would send.
PRELUDE = f'''
import sys as _sys
_sys.path.insert(0, {str(README.parent / "scripts")!r})
import docs_examples as _examples
_loops = _examples.bounded_event_loops()
_loops.__enter__()
'''


def quick_start_code():
    section = README.read_text(encoding="utf-8").split("## Quick start", 1)[1]
    return re.search(r"```python\n(.*?)```", section, re.S).group(1)


def first_rendered_text(code):
    """The text of the first font.render(...) call of the code."""
    for node in ast.walk(ast.parse(code)):
        if isinstance(node, ast.Call) and getattr(node.func, "attr", None) == "render":
            return ast.literal_eval(node.args[0])
    raise AssertionError("the quick start renders nothing")


def in_block(ch, first, last):
    return first <= ord(ch) <= last


SCRIPTS = {"Arabic": (0x0600, 0x06FF), "Hebrew": (0x0590, 0x05FF), "CJK": (0x4E00, 0x9FFF)}


def test_quick_start_runs_verbatim_and_draws_every_script(tmp_path):
    code = quick_start_code()
    text = first_rendered_text(code)
    script = tmp_path / "quick_start.py"
    script.write_text(PRELUDE + code + f"LINE_TEXT = {text!r}\n" + REPORT, encoding="utf-8")
    env = dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy")   # the home is the test's own
    result = subprocess.run([sys.executable, str(script), str(tmp_path / "line.png")], capture_output=True,
                            text=True, env=env, cwd=tmp_path, timeout=120)
    assert result.returncode == 0, result.stderr

    # Its families are all installed: no stand-in is announced and every font loads.
    assert "[WARNING]" not in result.stdout and "Error loading" not in result.stdout
    records = json.loads(result.stdout.splitlines()[-1])
    for name, (first, last) in SCRIPTS.items():
        drawn = [record for record in records if in_block(record["char"], first, last)]
        assert drawn, f"the quick start's line has no {name} character"
        boxes = [record for record in drawn if not record["has_glyph"]]
        assert boxes == [], f"{name} drawn as boxes"
    # The script font folder's links carry their place in it: "006-NotoSansArabic-Regular.ttf".
    arabic_fonts = {record["font"].partition("-")[2] for record in records
                    if in_block(record["char"], *SCRIPTS["Arabic"])}
    hebrew_fonts = {record["font"].partition("-")[2] for record in records
                    if in_block(record["char"], *SCRIPTS["Hebrew"])}
    assert arabic_fonts == {"NotoSansArabic-Regular.ttf"} and hebrew_fonts == {"NotoSansHebrew-Regular.ttf"}

    line = pygame.image.load(str(tmp_path / "line.png"))
    inked_columns = {x for x in range(line.get_width()) for y in range(line.get_height()) if line.get_at((x, y)).a}
    assert len(inked_columns) > line.get_width() // 2
