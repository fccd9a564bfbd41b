"""Every rendering of the golden corpus is what it was before the speed work:
the same sizes, run advances and pixels (recorded in golden/render_corpus.json
by the engine before its caches and native composition existed)."""
import json
import pathlib
import sys

import pytest

GOLDEN = pathlib.Path(__file__).parent / "golden"
sys.path.insert(0, str(GOLDEN))

import render_corpus  # noqa: E402


def test_corpus_renders_as_recorded():
    expected = json.loads((GOLDEN / "render_corpus.json").read_text(encoding="utf-8"))
    if render_corpus.font_signature() != expected["fonts"]:
        pytest.skip("the installed fonts differ from those the corpus was recorded with")
    actual = render_corpus.render_corpus()["renderings"]
    wanted = render_corpus.expected_renderings(expected)
    assert actual.keys() == wanted.keys()
    changed = [key for key in actual if actual[key] != wanted[key]]
    assert changed == []
