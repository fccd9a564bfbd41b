#!/usr/bin/env bash
# Sets everything up, then runs the C++ unit tests of the native core and the
# Python test suite. Extra arguments go to pytest. On CI (CI set), or when
# asked through the environment, it then also runs:
#   LUMO_FUZZ_SECONDS=N   every fuzz target N seconds (30 on CI)
#   LUMO_MATRIX=1         the suite on every supported Python, under pygame and pygame-ce
#   LUMO_WHEEL=1          a self-contained wheel per supported interpreter, each installed and tried with the system's
#                         FreeType, HarfBuzz, FriBidi and libpng hidden
#   LUMO_WINDOWS=1        the core and its C++ tests cross-built for Windows, run under wine
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

cmake -S . -B build/native -DLUMO_NATIVE_TESTS=ON -DCMAKE_BUILD_TYPE=Release -DPython_EXECUTABLE="$(command -v python3)" >/dev/null
cmake --build build/native -j 2
ctest --test-dir build/native --output-on-failure

if [ -n "${CI:-}" ] || [ -n "${LUMO_FUZZ_SECONDS:-}" ]; then
  bash scripts/fuzz.sh "${LUMO_FUZZ_SECONDS:-30}"
fi

# The bundled library sources, when the wheel is built later: the build tests use them too.
if [ -n "${CI:-}" ] || [ -n "${LUMO_WHEEL:-}" ]; then
  bash scripts/fetch_bundled_sources.sh
fi

python3 -m pytest "$@"

if [ -n "${CI:-}" ] || [ -n "${LUMO_WINDOWS:-}" ]; then
  bash scripts/windows_core.sh
fi

if [ -n "${CI:-}" ] || [ -n "${LUMO_MATRIX:-}" ]; then
  bash scripts/test_matrix.sh "$@"
fi

if [ -n "${CI:-}" ] || [ -n "${LUMO_WHEEL:-}" ]; then
  # A wheel for every supported interpreter the machine has, each tried in a fresh environment.
  bash scripts/build_wheel.sh
  while read -r python; do
    tag="$("$python" -c 'import sys; print(f"cp{sys.version_info[0]}{sys.version_info[1]}")')"
    bash scripts/wheel_smoke.sh "$(ls -t dist/lumo_font-*-"$tag"-*.whl | head -n 1)" "$python"
  done < <(bash scripts/supported_pythons.sh)
fi
