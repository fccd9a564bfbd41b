#!/usr/bin/env bash
# Builds the documentation site into build/site (open build/site/index.html
# from disk): the guides, the gallery (its pictures drawn by the code beside
# them), the API reference from the type stubs, and the developer pages.
# Any warning or broken link fails the build. Extra arguments go to mkdocs.
#   bash scripts/docs.sh
set -euo pipefail
cd "$(dirname "$0")/.."

# The engine draws the pictures: set up (nothing is built when nothing changed; scripts/test.sh has just
# done it), then the docs tools.
[ -n "${LUMO_SET_UP:-}" ] || bash scripts/setup.sh
mapfile -t requirements < <(python3 scripts/project_requirements.py docs)
python3 -m pip install -q --disable-pip-version-check --root-user-action=ignore "${requirements[@]}"

NO_MKDOCS_2_WARNING=1 SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy PYGAME_HIDE_SUPPORT_PROMPT=1 \
  python3 -m mkdocs build --strict --clean "$@"
echo "The site is in build/site: open build/site/index.html"
