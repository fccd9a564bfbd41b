"""What an installation promises: either pygame distribution and never both,
one clear line when neither is there, one version everywhere."""
import importlib.metadata
import subprocess
import sys

import pytest

import lumo_font


def test_no_pygame_distribution_is_a_hard_requirement():
    requirements = importlib.metadata.requires("lumo_font")
    unconditional = [r for r in requirements if "extra ==" not in r]
    assert not any(r.lower().startswith("pygame") for r in unconditional), unconditional
    assert 'pygame-ce>=2.4; extra == "ce"' in requirements
    assert any(r.startswith("pygame>=") and 'extra == "pygame"' in r for r in requirements)


def test_the_version_is_the_same_everywhere():
    assert lumo_font.__version__ == importlib.metadata.version("lumo_font")
    assert lumo_font.get_engine_version() == f"v{lumo_font.__version__}-patch"
    metadata = importlib.metadata.metadata("lumo_font")
    assert metadata["License-Expression"] == "MIT" and metadata["Requires-Python"] == ">=3.10"


@pytest.mark.parametrize("blocked, message", [
    ("pygame", 'ImportError: lumo_font needs pygame: install pygame-ce (pip install "lumo_font[ce]") or pygame '
               '(pip install "lumo_font[pygame]")'),
    # A broken installation of pygame itself is not hidden behind that advice.
    ("pygame.freetype", "import of pygame.freetype halted"),
])
def test_import_without_pygame_says_how_to_get_it(blocked, message):
    code = f"import sys; sys.modules[{blocked!r}] = None; import lumo_font"
    result = subprocess.run([sys.executable, "-c", code], capture_output=True, text=True)
    assert result.returncode == 1
    assert message in result.stderr.rstrip().splitlines()[-1]
