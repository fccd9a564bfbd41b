#!/usr/bin/env bash
# Prints the folder scripts/setup.sh builds python3's engine in (one per
# interpreter version); scripts/test.sh builds the C++ tests there too, on the
# core library compiled for the extension.
set -euo pipefail
echo "build/python$(python3 -c 'import sys; print("%d.%d" % sys.version_info[:2])')"
