"""Every example of the README and of the documentation site runs as printed:
each page's Python blocks in order, in one namespace (a later block uses what
an earlier one made), with the dummy video driver and event loops that end;
the lumo_font command lines of its shell blocks; and a `text` block right
after a block is what that block printed. The pictures the site shows are
drawn by the code beside them, and the README's committed picture is what
that code draws now."""
import os
import pathlib
import re
import shlex
import subprocess
import sys

import pygame
import pytest

ROOT = pathlib.Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "scripts"))
import docs_examples  # noqa: E402

PAGES = [ROOT / "CONTRIBUTING.md", *docs_examples.pages()]
LANGUAGES = {"python", "sh", "text"}
# Shell lines that set up or build rather than use the engine: checked to name what exists, not run.
SET_UP_COMMANDS = ("pip install", "python3 -m pip", "python3 -m pytest")
NAMED_FILES = ("bash", "python3")


@pytest.fixture()
def font_index(private_home):
    """The index and the script font folder exist before a page runs, as on a reader's machine after the
    first call, so that output blocks show what a page prints, not the first scan's progress lines."""
    import contextlib
    import io
    import lumo_font
    with contextlib.redirect_stdout(io.StringIO()):
        lumo_font.load_or_update_font_map()
        lumo_font.script_font_folder()


def page_id(page):
    return str(page.relative_to(ROOT))


def is_engine_command(words):
    return words[:3] == ["python3", "-m", "lumo_font"] or words[:1] == ["lumo-font"]


def run_command(words, cwd):
    arguments = words[3:] if words[0] == "python3" else words[1:]
    environment = dict(os.environ, SDL_VIDEODRIVER="dummy", PYGAME_HIDE_SUPPORT_PROMPT="1")
    return subprocess.run([sys.executable, "-m", "lumo_font", *arguments], cwd=cwd, env=environment,
                          capture_output=True, text=True, timeout=120)


def run_shell_block(block, folder):
    """Runs the engine commands of a shell block; returns what its last one prints."""
    last = None
    for words in docs_examples.command_lines(block.code):
        line = shlex.join(words)
        if is_engine_command(words):
            last = words
            result = run_command(words, folder)
            assert result.returncode == 0, f"{block.where}: {line}\n{result.stderr}"
        elif line.startswith(SET_UP_COMMANDS):
            continue
        elif words[0] in NAMED_FILES and len(words) > 1:
            assert (ROOT / words[1]).exists(), f"{block.where} names a missing file {words[1]}"
        else:
            pytest.fail(f"{block.where}: a command the examples test does not know: {line}")
    # Run again: the first run may have built the font index and said so.
    return run_command(last, folder).stdout if last else None


@pytest.mark.parametrize("page", PAGES, ids=page_id)
def test_examples_run_as_printed(page, tmp_path, font_index):
    blocks = docs_examples.blocks_of(page)
    namespace = {"__name__": "__docs__"}
    printed = None
    with docs_examples.example_environment(tmp_path):
        for block in blocks:
            assert block.language in LANGUAGES, f"{block.where}: a ```{block.language} block is not run"
            if block.language == "python":
                try:
                    printed = docs_examples.run_python(block, namespace)
                except Exception as error:
                    pytest.fail(f"the Python block at {block.where} fails: {error!r}")
                if block.picture:
                    assert docs_examples.save_picture(block, namespace, tmp_path)
            elif block.language == "sh":
                printed = run_shell_block(block, tmp_path)
            elif printed is not None:
                assert block.code == printed, f"{block.where} is not what the block before it prints"
            else:
                pytest.fail(f"{block.where}: a text block follows no block that prints")
    pygame.quit()


@pytest.mark.parametrize("page", PAGES, ids=page_id)
def test_every_block_is_collected(page):
    """An indented or unclosed fence would escape the examples test."""
    text = page.read_text(encoding="utf-8")
    fences = len(re.findall(r"^\s*```", text, re.MULTILINE))
    assert fences == 2 * len(docs_examples.blocks_of(page)), f"{page_id(page)} has a fence the collector misses"


def test_links_of_the_readme_resolve():
    """A code host shows the README from the repository: its links and pictures must be files there."""
    for page in (ROOT / "README.md", ROOT / "CONTRIBUTING.md"):
        for target in re.findall(r"\]\(([^)#]+)(?:#[^)]*)?\)", page.read_text(encoding="utf-8")):
            if "://" not in target:
                assert (page.parent / target).exists(), f"{page_id(page)} links to a missing {target}"


def committed_pictures():
    """(page, path) of the pictures the site draws that are also committed (the README's)."""
    return [(page, block.picture[0]) for page in docs_examples.pages() for block in docs_examples.blocks_of(page)
            if block.picture and (docs_examples.DOCS / block.picture[0]).exists()]


def test_the_readme_picture_is_drawn_by_the_site():
    readme = (ROOT / "README.md").read_text(encoding="utf-8")
    pictures = re.findall(r"!\[[^]]*\]\(docs/([^)]+)\)", readme)
    assert pictures and set(pictures) <= {path for _, path in committed_pictures()}


@pytest.mark.parametrize("page, path", committed_pictures(), ids=lambda value: str(value).split("/")[-1])
def test_committed_pictures_are_what_their_code_draws(page, path, tmp_path):
    fresh_file = tmp_path / "fresh.png"
    fresh_file.write_bytes(docs_examples.draw_pictures(page)[path])
    fresh = pygame.image.load(str(fresh_file))
    committed = pygame.image.load(str(docs_examples.DOCS / path))
    message = f"docs/{path} is stale: bash scripts/docs.sh, then copy build/site/{path} over it"
    assert fresh.get_size() == committed.get_size(), message
    # Either pygame distribution draws it; blending may differ by a level here and there.
    differing = sum(1 for x in range(0, fresh.get_width(), 2) for y in range(0, fresh.get_height(), 2)
                    if max(abs(a - b) for a, b in zip(fresh.get_at((x, y)), committed.get_at((x, y)))) > 24)
    assert differing <= fresh.get_width() * fresh.get_height() // 400, message
