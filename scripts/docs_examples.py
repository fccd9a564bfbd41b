"""The code blocks of the documentation's Markdown pages (the README and docs/),
and how they are run: the docs build draws the site's pictures with them and
the test suite runs every one of them.

A page's Python blocks run in order in one namespace, so a later block uses
what an earlier one made. A Python block right after the line

    <!-- picture pictures/NAME.png from VARIABLE -->

draws a picture: once it has run, the pygame Surface in VARIABLE is saved as
pictures/NAME.png of the site (a path inside docs/). Event loops end by
themselves: pygame.event.get() adds a QUIT event from its third call on."""
import contextlib
import io
import os
import pathlib
import re
import shlex
import tempfile

ROOT = pathlib.Path(__file__).resolve().parent.parent
DOCS = ROOT / "docs"
FENCE = re.compile(r"^```(\w*)[^\n]*\n(.*?)^```[ \t]*$", re.DOTALL | re.MULTILINE)
PICTURE = re.compile(r"<!-- picture (\S+\.png) from (\w+) -->\n\Z")
EVENT_LOOP_FRAMES = 3


class Block:
    """One fenced block: its language, code, first line and, for a picture, (path, variable)."""

    def __init__(self, page, language, code, line, picture):
        self.page, self.language, self.code, self.line, self.picture = page, language, code, line, picture

    @property
    def where(self):
        page = self.page.resolve()
        return f"{page.relative_to(ROOT) if page.is_relative_to(ROOT) else page}:{self.line}"


def pages():
    """Every Markdown page whose examples run: the README and the pages of docs/."""
    return [ROOT / "README.md", *sorted(DOCS.rglob("*.md"))]


def blocks_of(page):
    text = page.read_text(encoding="utf-8")
    found = []
    for match in FENCE.finditer(text):
        marker = PICTURE.search(text, 0, match.start())
        line = text.count("\n", 0, match.start()) + 1
        found.append(Block(page, match.group(1), match.group(2), line,
                           marker.groups() if marker and marker.end() == match.start() else None))
    return found


def command_lines(code):
    """The commands of a shell block, continuation lines joined, comments dropped."""
    joined = code.replace("\\\n", " ")
    return [words for words in (shlex.split(line, comments=True) for line in joined.splitlines()) if words]


@contextlib.contextmanager
def bounded_event_loops(frames=EVENT_LOOP_FRAMES):
    """pygame.event.get() that also returns a QUIT event from its `frames`-th call on."""
    import pygame
    real_get = pygame.event.get
    calls = 0

    def get(*args, **kwargs):
        nonlocal calls
        calls += 1
        events = list(real_get(*args, **kwargs))
        if calls >= frames:
            events.append(pygame.event.Event(pygame.QUIT))
        return events

    pygame.event.get = get
    try:
        yield
    finally:
        pygame.event.get = real_get


@contextlib.contextmanager
def example_environment(folder):
    """Headless pygame, the examples' working folder, and event loops that end."""
    os.environ.setdefault("SDL_VIDEODRIVER", "dummy")
    os.environ.setdefault("SDL_AUDIODRIVER", "dummy")
    os.environ.setdefault("PYGAME_HIDE_SUPPORT_PROMPT", "1")
    previous = os.getcwd()
    os.chdir(folder)
    try:
        with bounded_event_loops():
            yield
    finally:
        os.chdir(previous)


def run_python(block, namespace):
    """Runs a Python block in the page's namespace; returns what it printed."""
    output = io.StringIO()
    with contextlib.redirect_stdout(output):
        exec(compile(block.code, block.where, "exec"), namespace)
    return output.getvalue()


def save_picture(block, namespace, folder):
    """The PNG bytes of the Surface a picture block leaves in its variable."""
    import pygame
    path, variable = block.picture
    surface = namespace.get(variable)
    if not isinstance(surface, pygame.Surface):
        raise ValueError(f"{block.where}: the picture block leaves no Surface in {variable!r}")
    file = pathlib.Path(folder) / pathlib.Path(path).name
    pygame.image.save(surface, str(file))
    return file.read_bytes()


def draw_pictures(page):
    """{path inside docs/: PNG bytes} of every picture of a page, its Python blocks run in order."""
    blocks = [block for block in blocks_of(page) if block.language == "python"]
    if not any(block.picture for block in blocks):
        return {}
    pictures = {}
    namespace = {"__name__": "__docs__"}
    with tempfile.TemporaryDirectory() as folder, example_environment(folder):
        for block in blocks:
            run_python(block, namespace)
            if block.picture:
                pictures[block.picture[0]] = save_picture(block, namespace, folder)
    return pictures
