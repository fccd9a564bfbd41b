#!/usr/bin/env bash
# Sets everything up, then runs the C++ unit tests of the native core, the
# Python test suite and builds the documentation site. Extra arguments go to pytest. On CI (CI set), or when
# asked through the environment, it then also runs:
#   LUMO_FUZZ_SECONDS=N   every fuzz target N seconds (30 on CI)
#   LUMO_MATRIX=1         the suite on every supported Python, under pygame and pygame-ce
#   LUMO_WHEEL=1          a self-contained wheel per supported interpreter, each installed and tried with the system's
#                         FreeType, HarfBuzz, FriBidi and libpng hidden
#   LUMO_WINDOWS=1        the core and its C++ tests cross-built for Windows, run under wine
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

# The C++ tests are built in the folder the engine was built in, on the core library compiled there.
build_dir="$(bash scripts/engine_build_dir.sh)"
cmake -S . -B "$build_dir" -DLUMO_NATIVE_TESTS=ON >/dev/null
cmake --build "$build_dir" --target lumo_native_tests -j 2
ctest --test-dir "$build_dir" --output-on-failure -j 2

if [ -n "${CI:-}" ] || [ -n "${LUMO_FUZZ_SECONDS:-}" ]; then
  bash scripts/fuzz.sh "${LUMO_FUZZ_SECONDS:-30}"
fi

# The bundled library sources, when the wheel is built later: the build tests use them too.
if [ -n "${CI:-}" ] || [ -n "${LUMO_WHEEL:-}" ]; then
  bash scripts/fetch_bundled_sources.sh
fi

python3 -m pytest "$@"

# The documentation site, built as a reader would: every warning and broken link fails (a few seconds).
LUMO_SET_UP=1 bash scripts/docs.sh

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
