#!/usr/bin/env bash
# Runs the C++ unit tests and the Python test suite against an engine built
# with AddressSanitizer and UndefinedBehaviorSanitizer (gcc). The extension
# goes into a private virtual environment (build/asan-venv), never into the
# system's python3. Extra arguments go to pytest.
#   bash scripts/asan_tests.sh [-k something]
set -euo pipefail
cd "$(dirname "$0")/.."

sanitize="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g"
# Undefined behaviour stops the test that caused it, with a stack.
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"

echo "== C++ unit tests with sanitizers (build/native-asan)"
cmake -S . -B build/native-asan -DLUMO_NATIVE_TESTS=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="$sanitize" -DPython_EXECUTABLE="$(command -v python3)" >/dev/null
cmake --build build/native-asan -j1 >/dev/null
ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" ctest --test-dir build/native-asan --output-on-failure

echo "== Python test suite with a sanitized extension (build/asan-venv)"
venv=build/asan-venv
[ -x "$venv/bin/python" ] || python3 -m venv --system-site-packages "$venv"
pip=("$venv/bin/python" -m pip install -q --disable-pip-version-check)
mapfile -t test_requirements < <(python3 -c "import tomllib; print('\n'.join(
    tomllib.load(open('pyproject.toml', 'rb'))['project']['optional-dependencies']['test']))")
"${pip[@]}" "scikit-build-core>=0.11" "${test_requirements[@]}"
"${pip[@]}" --no-build-isolation -Cbuild-dir=build/asan -Ccmake.build-type=RelWithDebInfo \
  -Ccmake.define.CMAKE_CXX_FLAGS="$sanitize" .

# The interpreter itself is not instrumented, so the runtime is preloaded,
# with the C++ runtime beside it: the sanitizer's exception hooks must find
# libstdc++ at start-up, before the extension loads it. CPython leaks by
# design at exit, so leak checking is off here.
preload="$(gcc -print-file-name=libasan.so) $(gcc -print-file-name=libstdc++.so.6)"
# Left out: a resident-memory measurement (the sanitizer's quarantine holds
# freed memory), and a child started with a clean environment, which cannot
# preload the runtime. The suite's own memory and memory-cap tests skip themselves.
LD_PRELOAD="$preload" ASAN_OPTIONS="detect_leaks=0:abort_on_error=1" \
  "$venv/bin/python" -m pytest -q -p no:cacheprovider \
  --deselect tests/test_font_object.py::test_making_and_dropping_objects_leaks_nothing \
  --deselect tests/test_settings.py::test_import_prints_nothing_and_scans_nothing "$@"
