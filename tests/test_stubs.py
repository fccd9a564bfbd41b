"""The type stubs shipped with the package match what the stub generator
makes of the installed engine, so editors complete the real signatures, and
help() reads the same documentation as the stubs and the API reference."""
import ast
import operator
import pathlib
import subprocess

import pytest

import lumo_font

ROOT = pathlib.Path(__file__).resolve().parents[1]
STUBS = ROOT / "python" / "lumo_font" / "__init__.pyi"


def test_committed_stubs_are_current(tmp_path):
    pytest.importorskip("nanobind")
    fresh = tmp_path / "lumo_font.pyi"
    subprocess.run(["bash", str(ROOT / "scripts" / "generate_stubs.sh"), str(fresh)], check=True)
    assert fresh.read_text(encoding="utf-8") == STUBS.read_text(encoding="utf-8"), (
        "the engine's interface changed: run scripts/generate_stubs.sh")
    assert (ROOT / "python" / "lumo_font" / "py.typed").exists()


def documented_stubs():
    """(dotted name, docstring) of every function, class and method of the stubs that has a docstring."""
    definitions = (ast.FunctionDef, ast.ClassDef)
    documented = []
    for node in ast.parse(STUBS.read_text(encoding="utf-8")).body:
        if not isinstance(node, definitions):
            continue
        named = [(node.name, node)]
        if isinstance(node, ast.ClassDef):
            named += [(f"{node.name}.{member.name}", member) for member in node.body if isinstance(member, definitions)]
        documented += [(name, ast.get_docstring(entry)) for name, entry in named if ast.get_docstring(entry)]
    return documented


def runtime_docstring(obj):
    """__doc__ as help() shows it under the signature: without the signature line nanobind puts first."""
    doc = obj.__doc__
    if type(obj).__name__ in ("nb_func", "nb_method"):
        doc = doc.split("\n\n", 1)[1]
    return doc


# The type's __init__ is CPython's slot: the constructor's keywords are described in the stubs only.
HELP_ENTRIES = [entry for entry in documented_stubs() if entry[0] != "LumoFont.__init__"]


@pytest.mark.parametrize("name, docstring", HELP_ENTRIES, ids=[name for name, _ in HELP_ENTRIES])
def test_help_reads_the_stub_docstrings(name, docstring):
    """One text: a docstring written in scripts/stub_patterns.txt is the one the engine carries."""
    assert runtime_docstring(operator.attrgetter(name)(lumo_font)) == docstring
