"""How a source build finds FreeType and HarfBuzz: LUMO_BUNDLED_LIBS takes the
system's copies or the bundled sources in third_party/, and a missing piece
stops the configure step with one message that says what to do."""
import os
import pathlib
import shutil
import subprocess
import sys

import pytest

REPO = pathlib.Path(__file__).resolve().parent.parent
FETCH_HINT = "run scripts/fetch_bundled_sources.sh first"

pytestmark = pytest.mark.skipif(shutil.which("cmake") is None, reason="needs cmake")


def configure(source, build, *options, pkg_config=True):
    """Configures the C++ core alone; returns the exit code and all output, unwrapped."""
    env = dict(os.environ)
    if not pkg_config:
        env["PKG_CONFIG_LIBDIR"] = str(build / "no-pkg-config-files")
        env.pop("PKG_CONFIG_PATH", None)
    command = ["cmake", "-S", str(source), "-B", str(build), "-DLUMO_PYTHON_MODULE=OFF",
               f"-DPython_EXECUTABLE={sys.executable}", *options]
    result = subprocess.run(command, capture_output=True, text=True, env=env)
    return result.returncode, " ".join((result.stdout + result.stderr).split())


@pytest.fixture
def fresh_clone(tmp_path):
    """The build files of the work tree without third_party/, as a fresh clone has them."""
    source = tmp_path / "source"
    source.mkdir()
    shutil.copy(REPO / "CMakeLists.txt", source)
    for folder in ("cmake", "scripts", "src"):
        shutil.copytree(REPO / folder, source / folder)
    return source


@pytest.mark.parametrize("options, pkg_config, message", [
    ((), False, f"pkg-config found no system freetype2 and harfbuzz, and the bundled sources are not in third_party/: {FETCH_HINT}"),
    (("-DLUMO_BUNDLED_LIBS=ON",), True, f"LUMO_BUNDLED_LIBS=ON needs the bundled sources, which are not in third_party/: {FETCH_HINT}"),
    (("-DLUMO_BUNDLED_LIBS=OFF",), False, "apt-get install pkg-config libfreetype-dev libharfbuzz-dev"),
    (("-DLUMO_BUNDLED_LIBS=maybe",), True, "LUMO_BUNDLED_LIBS is 'maybe'; it must be AUTO, ON or OFF."),
], ids=["auto-with-nothing", "on-without-sources", "off-without-system", "unknown-mode"])
def test_missing_libraries_stop_with_what_to_do(fresh_clone, tmp_path, options, pkg_config, message):
    code, output = configure(fresh_clone, tmp_path / "build", *options, pkg_config=pkg_config)
    assert code != 0
    assert message in output


def test_auto_prefers_the_system_libraries(tmp_path):
    code, output = configure(REPO, tmp_path / "build")
    if "the system's FreeType, HarfBuzz and FriBidi" not in output and "bundled FreeType" in output:
        pytest.skip("pkg-config finds no system freetype2 and harfbuzz here")
    assert code == 0, output
    assert "the system's FreeType, HarfBuzz and FriBidi" in output


@pytest.mark.skipif(not (REPO / "third_party" / "harfbuzz" / "src" / "harfbuzz.cc").exists(),
                    reason="the bundled sources are not fetched")
@pytest.mark.parametrize("options, pkg_config", [(("-DLUMO_BUNDLED_LIBS=ON",), True), ((), False)],
                         ids=["on", "auto-without-system"])
def test_bundled_sources_are_used_when_asked_or_needed(tmp_path, options, pkg_config):
    code, output = configure(REPO, tmp_path / "build", *options, pkg_config=pkg_config)
    assert code == 0, output
    assert "bundled FreeType and HarfBuzz from third_party/" in output
