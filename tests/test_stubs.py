"""The type stubs shipped with the package match what the stub generator
makes of the installed engine, so editors complete the real signatures."""
import pathlib
import subprocess

import pytest

pytest.importorskip("nanobind")
ROOT = pathlib.Path(__file__).resolve().parents[1]


def test_committed_stubs_are_current(tmp_path):
    fresh = tmp_path / "lumo_font.pyi"
    subprocess.run(["bash", str(ROOT / "scripts" / "generate_stubs.sh"), str(fresh)], check=True)
    committed = ROOT / "python" / "lumo_font" / "__init__.pyi"
    assert fresh.read_text(encoding="utf-8") == committed.read_text(encoding="utf-8"), (
        "the engine's interface changed: run scripts/generate_stubs.sh")
    assert (ROOT / "python" / "lumo_font" / "py.typed").exists()
