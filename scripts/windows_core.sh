#!/usr/bin/env bash
# Proves the Python-free core on Windows from this Linux machine: cross-builds
# FreeType, HarfBuzz, FriBidi, libunibreak (with libpng and zlib) from the
# bundled sources, the core and its C++ unit tests with mingw-w64, and runs
# the tests as a Windows executable under wine.
#   bash scripts/windows_core.sh [GTEST_FILTER]
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install_debian_packages.sh g++-mingw-w64-x86-64-posix wine64 libgtest-dev
bash scripts/fetch_bundled_sources.sh

build=build/windows
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DLUMO_BUNDLED_LIBS=ON -DLUMO_PYTHON_MODULE=OFF -DLUMO_NATIVE_TESTS=ON -DLUMO_GTEST_SOURCE_DIR=/usr/src/googletest \
  -DPython_EXECUTABLE="$(command -v python3)" >/dev/null
cmake --build "$build" -j 2 --target lumo_native_tests

# A private wine prefix, made once; wine's own messages stay out of the output.
export WINEPREFIX="$PWD/$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
# The first start sets the prefix up and may complain about parts of Windows it lacks.
"$wine" "$build/lumo_native_tests.exe" --gtest_brief=1 ${1:+--gtest_filter="$1"} 2> >(grep -v -e '^wine: ' >&2)
