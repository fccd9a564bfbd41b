"""The pictures a documentation page draws (scripts/docs_examples.py), as
pygame Surfaces, for tests that check what they show."""
import io
import pathlib
import sys

import pygame

ROOT = pathlib.Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "scripts"))
import docs_examples  # noqa: E402


def drawn_picture(page, path):
    """The Surface the code of docs/`page` draws as `path` (such as "pictures/text-input.png")."""
    pictures = docs_examples.draw_pictures(ROOT / "docs" / page)
    return pygame.image.load(io.BytesIO(pictures[path]), "picture.png")
