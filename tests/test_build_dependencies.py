"""How a source build finds FreeType, HarfBuzz and FriBidi: LUMO_BUNDLED_LIBS
takes the system's copies or the bundled sources in third_party/, and a missing
piece stops the configure step with one message that names it and says what to do."""
import os
import pathlib
import shutil
import subprocess
import sys

import pytest

REPO = pathlib.Path(__file__).resolve().parent.parent
FETCH_HINT = "run scripts/fetch_bundled_sources.sh first"
SYSTEM_MODULES = ("freetype2", "harfbuzz", "fribidi")
BUNDLED_MARKERS = {"freetype": "src/base/ftbase.c", "harfbuzz": "src/harfbuzz.cc", "fribidi": "lib/fribidi.c",
                   "libpng": "png.c", "zlib": "inflate.c"}
BUNDLED = "bundled FreeType (with libpng and zlib), HarfBuzz and FriBidi from third_party/"
BUNDLED_FETCHED = all((REPO / "third_party" / name / marker).exists() for name, marker in BUNDLED_MARKERS.items())

pytestmark = pytest.mark.skipif(shutil.which("cmake") is None, reason="needs cmake")


def system_has(*modules):
    return shutil.which("pkg-config") is not None and subprocess.run(
        ["pkg-config", "--exists", *modules]).returncode == 0


def configure(source, build, *options, hidden_modules=()):
    """Configures the C++ core alone, with pkg-config seeing every system .pc
    file but those of hidden_modules; returns the exit code and all output, unwrapped."""
    env = dict(os.environ)
    if hidden_modules:
        env["PKG_CONFIG_LIBDIR"] = str(pkg_config_files_without(build.parent / "pkg-config", hidden_modules))
        env.pop("PKG_CONFIG_PATH", None)
    command = ["cmake", "-S", str(source), "-B", str(build), "-DLUMO_PYTHON_MODULE=OFF",
               f"-DPython_EXECUTABLE={sys.executable}", *options]
    result = subprocess.run(command, capture_output=True, text=True, env=env)
    return result.returncode, " ".join((result.stdout + result.stderr).split())


def pkg_config_files_without(folder, hidden_modules):
    """A copy of the .pc files pkg-config would search, less the hidden ones."""
    folder.mkdir(exist_ok=True)
    if shutil.which("pkg-config") is None:
        return folder
    default_path = subprocess.run(["pkg-config", "--variable", "pc_path", "pkg-config"],
                                  capture_output=True, text=True).stdout.strip()
    for directory in [*os.environ.get("PKG_CONFIG_PATH", "").split(":"), *default_path.split(":")]:
        for pc_file in pathlib.Path(directory).glob("*.pc") if directory else ():
            if pc_file.stem not in hidden_modules and not (folder / pc_file.name).exists():
                shutil.copy(pc_file, folder)
    return folder


@pytest.fixture
def fresh_clone(tmp_path):
    """The build files of the work tree without third_party/, as a fresh clone has them."""
    source = tmp_path / "source"
    source.mkdir()
    shutil.copy(REPO / "CMakeLists.txt", source)
    for folder in ("cmake", "scripts", "src"):
        shutil.copytree(REPO / folder, source / folder)
    return source


@pytest.mark.parametrize("options, hidden_modules, message", [
    ((), SYSTEM_MODULES, "pkg-config found no freetype2, harfbuzz or fribidi, and the bundled sources of "
                         f"FreeType, HarfBuzz, FriBidi, libpng and zlib are not in third_party/: {FETCH_HINT}"),
    (("-DLUMO_BUNDLED_LIBS=ON",), (), "LUMO_BUNDLED_LIBS=ON needs the bundled sources of FreeType, HarfBuzz, "
                                      f"FriBidi, libpng and zlib, which are not in third_party/: {FETCH_HINT}"),
    (("-DLUMO_BUNDLED_LIBS=OFF",), SYSTEM_MODULES,
     "pkg-config found no freetype2, harfbuzz or fribidi (Debian: apt-get install pkg-config libfreetype-dev "
     "libharfbuzz-dev libfribidi-dev)."),
    (("-DLUMO_BUNDLED_LIBS=maybe",), (), "LUMO_BUNDLED_LIBS is 'maybe'; it must be AUTO, ON or OFF."),
], ids=["auto-with-nothing", "on-without-sources", "off-without-system", "unknown-mode"])
def test_missing_libraries_stop_with_what_to_do(fresh_clone, tmp_path, options, hidden_modules, message):
    code, output = configure(fresh_clone, tmp_path / "build", *options, hidden_modules=hidden_modules)
    assert code != 0
    assert message in output


@pytest.mark.skipif(not system_has("freetype2", "harfbuzz"), reason="pkg-config finds no system freetype2 and harfbuzz")
def test_a_system_without_fribidi_is_named_alone(fresh_clone, tmp_path):
    code, output = configure(fresh_clone, tmp_path / "build", "-DLUMO_BUNDLED_LIBS=OFF", hidden_modules=("fribidi",))
    assert code != 0
    assert "needs the system's FreeType, HarfBuzz and FriBidi, but pkg-config found no fribidi (Debian:" in output


@pytest.mark.skipif(not BUNDLED_FETCHED, reason="the bundled sources are not fetched")
@pytest.mark.parametrize("fetched, missing", [
    (("freetype", "harfbuzz"), "FriBidi, libpng and zlib"),
    (("freetype", "harfbuzz", "fribidi"), "libpng and zlib"),
], ids=["before-fribidi", "before-libpng"])
@pytest.mark.parametrize("options, hidden_modules, message", [
    (("-DLUMO_BUNDLED_LIBS=ON",), (), "LUMO_BUNDLED_LIBS=ON needs the bundled sources of {missing}, which"),
    ((), SYSTEM_MODULES, "pkg-config found no freetype2, harfbuzz or fribidi, and the bundled sources of {missing}"),
], ids=["on", "auto-without-system"])
def test_a_checkout_fetched_earlier_is_told_to_fetch_again(fresh_clone, tmp_path, fetched, missing, options,
                                                           hidden_modules, message):
    for name in fetched:
        (fresh_clone / "third_party").mkdir(exist_ok=True)
        (fresh_clone / "third_party" / name).symlink_to(REPO / "third_party" / name)
    code, output = configure(fresh_clone, tmp_path / "build", *options, hidden_modules=hidden_modules)
    assert code != 0
    assert f"{message.format(missing=missing)} are not in third_party/: {FETCH_HINT}" in output


def test_auto_prefers_the_system_libraries(tmp_path):
    if not system_has(*SYSTEM_MODULES):
        pytest.skip("pkg-config finds no system freetype2, harfbuzz and fribidi here")
    code, output = configure(REPO, tmp_path / "build")
    assert code == 0, output
    assert "the system's FreeType, HarfBuzz and FriBidi (freetype2 " in output


@pytest.mark.skipif(not BUNDLED_FETCHED, reason="the bundled sources are not fetched")
@pytest.mark.parametrize("options, hidden_modules, reason", [
    (("-DLUMO_BUNDLED_LIBS=ON",), (), ""),
    ((), SYSTEM_MODULES, " (pkg-config found no freetype2, harfbuzz or fribidi)"),
    pytest.param((), ("fribidi",), " (pkg-config found no fribidi)", marks=pytest.mark.skipif(
        not system_has("freetype2", "harfbuzz"), reason="pkg-config finds no system freetype2 and harfbuzz")),
], ids=["on", "auto-without-system", "auto-without-system-fribidi"])
def test_bundled_sources_are_used_when_asked_or_needed(tmp_path, options, hidden_modules, reason):
    code, output = configure(REPO, tmp_path / "build", *options, hidden_modules=hidden_modules)
    assert code == 0, output
    assert f"{BUNDLED}{reason}" in output
    config = (tmp_path / "build" / "fribidi" / "fribidi-config.h").read_text()
    assert '#define FRIBIDI_VERSION "1.' in config and "#define FRIBIDI_SIZEOF_INT 4" in config
    # libpng is configured as a reader that FreeType's PNG strikes can use, and nothing more.
    png_config = (tmp_path / "build" / "libpng" / "pnglibconf.h").read_text()
    for option in ("READ", "READ_EXPAND", "READ_FILLER", "READ_USER_TRANSFORM", "READ_INTERLACING", "SETJMP"):
        assert f"\n#define PNG_{option}_SUPPORTED\n" in png_config, option
    assert "#define PNG_WRITE" not in png_config and "/*#undef PNG_WRITE_SUPPORTED*/" in png_config


def test_libunibreak_fetched_without_grapheme_and_word_breaking_is_fetched_again(fresh_clone, tmp_path):
    if not system_has(*SYSTEM_MODULES):
        pytest.skip("pkg-config finds no system freetype2, harfbuzz and fribidi here")
    if system_has("libunibreak >= 6.0"):
        pytest.skip("the system's libunibreak is used here")
    # What an earlier fetch kept: line breaking only.
    earlier = fresh_clone / "third_party" / "libunibreak"
    (earlier / "src").mkdir(parents=True)
    (earlier / "src" / "linebreak.c").write_text("")
    (earlier / ".debian-source").write_text("libunibreak 6.1\n")
    code, output = configure(fresh_clone, tmp_path / "build")
    assert code != 0
    assert ("sources (with grapheme and word breaking) are not in third_party/libunibreak: run "
            "scripts/fetch_bundled_sources.sh libunibreak first") in output
