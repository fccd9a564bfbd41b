#!/usr/bin/env bash
# Prints, one per line, the interpreter of every supported CPython version
# (3.10 to 3.13, or those named in LUMO_PYTHONS) that this machine has:
# pyenv's own, else one on PATH that really is that version.
#   bash scripts/supported_pythons.sh
set -euo pipefail

for version in ${LUMO_PYTHONS:-3.10 3.11 3.12 3.13}; do
  for candidate in "$HOME"/.pyenv/versions/"$version".*/bin/python"$version" "$(command -v "python$version" || true)"; do
    [ -x "$candidate" ] || continue
    if "$candidate" -c "import sys; sys.exit(sys.version_info[:2] != tuple(map(int, '$version'.split('.'))))" 2>/dev/null; then
      echo "$candidate"
      break
    fi
  done
done
