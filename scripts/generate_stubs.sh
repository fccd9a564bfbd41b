#!/usr/bin/env bash
# Regenerates the type stubs of the installed lumo_font package with nanobind's
# stub generator into python/lumo_font/__init__.pyi (a test compares them).
# Usage: scripts/generate_stubs.sh [OUTPUT]
set -euo pipefail
cd "$(dirname "$0")/.."
output="${1:-python/lumo_font/__init__.pyi}"
SDL_VIDEODRIVER=dummy PYGAME_HIDE_SUPPORT_PROMPT=1 \
  python3 -m nanobind.stubgen -q -m lumo_font -p scripts/stub_patterns.txt -o "$output"
# render() returns a pygame Surface: the stub names the module it comes from.
python3 - "$output" <<'PY'
import sys
path = sys.argv[1]
text = open(path, encoding="utf-8").read()
docstring_end = text.index('"""', 3) + 3
if "\nimport pygame\n" not in text:
    text = text[:docstring_end] + "\n\nimport pygame\n" + text[docstring_end:]
open(path, "w", encoding="utf-8").write(text)
PY
