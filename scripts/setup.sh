#!/usr/bin/env bash
# Prepares a fresh Debian machine for lumo_font: the system libraries and
# fonts it draws with, the Python packages, and the engine built and installed
# into python3. Safe to run again: it installs only what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

debian_packages=(
  g++ pkg-config libfreetype-dev libharfbuzz-dev libfribidi-dev libharfbuzz-bin libgtest-dev
  fonts-dejavu-core fonts-noto-core fonts-noto-cjk fonts-symbola fonts-noto-color-emoji fonts-inter-variable
  unicode-data
  python3-gi gir1.2-pango-1.0  # Pango, for Debian's python3: the tests compare carets and hits with it
)
# The fuzz targets need clang and its fuzzing runtime: only CI and fuzzing runs ask for them.
if [ -n "${CI:-}" ] || [ -n "${LUMO_FUZZ_SECONDS:-}" ]; then
  debian_packages+=(clang libclang-rt-dev)
fi
# CI builds the same sources for several interpreters and for the wheels.
if [ -n "${CI:-}" ]; then
  debian_packages+=(ccache)
fi
bash scripts/install_debian_packages.sh "${debian_packages[@]}"

pip=(python3 -m pip install -q --disable-pip-version-check --root-user-action=ignore)
command -v cmake >/dev/null || "${pip[@]}" cmake
# pygame and pygame-ce install the same `pygame` package: keep the one that is
# there, and install LUMO_PYGAME (pygame-ce unless told "pygame") when neither is.
pygame_extra=""
if ! python3 -c "import importlib.util, sys; sys.exit(importlib.util.find_spec('pygame') is None)"; then
  case "${LUMO_PYGAME:-pygame-ce}" in
    pygame) pygame_extra=",pygame" ;;
    pygame-ce) pygame_extra=",ce" ;;
    *) echo "setup.sh: LUMO_PYGAME must be pygame or pygame-ce" >&2; exit 2 ;;
  esac
fi
# Line, grapheme and word breaking come from the system's libunibreak when it
# is 6.0 or newer (Debian 12's is older), otherwise from its sources, fetched once.
if ! pkg-config --atleast-version=6.0 libunibreak 2>/dev/null; then
  bash scripts/fetch_bundled_sources.sh libunibreak
fi
# Nothing to build when the installed engine was built from this very tree.
state_file=build/installed-from
state="$(python3 scripts/source_state.py)"
if [ -n "$state" ] && [ -f "$state_file" ] && [ "$(cat "$state_file")" = "$state" ]; then
  echo "lumo_font is installed from this tree: nothing to build"
  mapfile -t requirements < <(python3 scripts/project_requirements.py dependencies test)
  "${pip[@]}" "${requirements[@]}"
  exit 0
fi
echo "Building and installing lumo_font..."
build_options=()
# Repeated builds (the test matrix, wheels per interpreter) compile the same sources: ccache, when there, does it once.
if command -v ccache >/dev/null; then
  build_options+=(-Ccmake.define.CMAKE_C_COMPILER_LAUNCHER=ccache -Ccmake.define.CMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# Built in a folder of its own, without an isolated build environment, so that the folder stays usable:
# scripts/test.sh builds the C++ tests in it on the core library compiled here, instead of compiling it again.
mapfile -t build_requirements < <(python3 scripts/project_requirements.py build)
"${pip[@]}" "${build_requirements[@]}"
command -v ninja >/dev/null || "${pip[@]}" ninja
"${pip[@]}" --no-build-isolation -Cbuild-dir="$(bash scripts/engine_build_dir.sh)" "${build_options[@]}" \
  ".[test${pygame_extra}]"
mkdir -p build
python3 scripts/source_state.py >"$state_file"
