"""Every example of the README runs as printed: its Python blocks in order, in
one namespace (a later block uses what an earlier one made); the lumo_font
command lines of its shell blocks; and a `text` block right after a shell
block is what that block's last command prints."""
import os
import pathlib
import re
import shlex
import subprocess
import sys

import pytest

ROOT = pathlib.Path(__file__).resolve().parent.parent
FENCE = re.compile(r"^```(\w*)\n(.*?)^```\n", re.DOTALL | re.MULTILINE)
SET_UP_COMMANDS = ("bash", "pip", "python3 -m pip", "python3 -m pytest", "python3 bench/", "python3 scripts/")


def code_blocks(path):
    """(language, code, line number) of every fenced block of a Markdown file."""
    text = path.read_text(encoding="utf-8")
    return [(match.group(1), match.group(2), text.count("\n", 0, match.start()) + 1)
            for match in FENCE.finditer(text)]


def command_lines(code):
    """The commands of a shell block, continuation lines joined, comments dropped."""
    joined = code.replace("\\\n", " ")
    return [words for words in (shlex.split(line, comments=True) for line in joined.splitlines()) if words]


def is_engine_command(words):
    return words[:3] == ["python3", "-m", "lumo_font"] or words[:1] == ["lumo-font"]


def run_command(words, cwd):
    arguments = words[3:] if words[0] == "python3" else words[1:]
    environment = dict(os.environ, SDL_VIDEODRIVER="dummy", PYGAME_HIDE_SUPPORT_PROMPT="1")
    return subprocess.run([sys.executable, "-m", "lumo_font", *arguments], cwd=cwd, env=environment,
                          capture_output=True, text=True, timeout=120)


def test_readme_examples_run_as_printed(tmp_path, monkeypatch):
    monkeypatch.chdir(tmp_path)
    namespace = {"__name__": "readme"}
    blocks = code_blocks(ROOT / "README.md")
    assert any(language == "python" for language, _, _ in blocks)
    for index, (language, code, line) in enumerate(blocks):
        if language == "python":
            try:
                exec(compile(code, f"README.md:{line}", "exec"), namespace)
            except Exception as error:
                pytest.fail(f"the Python block at README.md line {line} fails: {error!r}")
        elif language == "sh":
            last = None
            for words in command_lines(code):
                if is_engine_command(words):
                    last = words
                    result = run_command(words, tmp_path)
                    assert result.returncode == 0, f"README.md line {line}: {shlex.join(words)}\n{result.stderr}"
                elif words[0] == "bash":
                    assert (ROOT / words[1]).exists(), f"README.md line {line} names a missing script {words[1]}"
                else:
                    assert shlex.join(words).startswith(SET_UP_COMMANDS), f"README.md line {line}: {words}"
            following = blocks[index + 1] if index + 1 < len(blocks) else None
            if following and following[0] == "text" and last:
                # Run again: the first run may have built the font index and said so.
                shown = run_command(last, tmp_path).stdout
                assert shown == following[1], f"README.md line {following[2]} is not what {shlex.join(last)} prints"
