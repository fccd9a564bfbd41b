#!/usr/bin/env bash
# Proves a built wheel is self-contained: installs it with pygame-ce into a fresh
# virtual environment, hides the system's FreeType, HarfBuzz, FriBidi and libpng
# in a private mount namespace, then draws the sample line and a colour emoji and
# runs a rendering subset of the test suite against the installed wheel.
#
#   scripts/wheel_smoke.sh WHEEL [PYTHON]   (PYTHON defaults to the one of the wheel's tag)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)

# Test files that draw real text through FreeType and HarfBuzz, a few seconds in all.
smoke_tests=(
  test_render_golden.py test_composition_golden.py test_render_entry.py test_shaped_runs.py
  test_synthetic_style.py test_emoji.py test_hostile_fonts.py test_freetype_binding.py
)

colour_emoji_font=/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf

fail() { echo "wheel_smoke.sh: $*" >&2; exit 1; }

# Runs inside the private mount namespace: hide, prove hidden, then exercise.
# The system's zlib stays: the interpreter's zlib module and pygame-ce's own
# libpng link it. Whether the engine does is asked of the extension itself.
run_hidden() {
  local python="$1/bin/python" scratch=$2
  while read -r library; do
    mount --bind /dev/null "$library"
  done < <(find /lib /usr/lib /usr/local/lib -type f \( -name 'libfreetype.so*' -o -name 'libharfbuzz*.so*' -o -name 'libfribidi*.so*' -o -name 'libpng16*.so*' \) 2>/dev/null)
  "$python" - <<'EOF' || fail "the system's FreeType, HarfBuzz, FriBidi or libpng can still be loaded"
import ctypes
for name in ("libfreetype.so.6", "libharfbuzz.so.0", "libfribidi.so.0", "libpng16.so.16"):
    try:
        ctypes.CDLL(name)
    except OSError:
        continue
    raise SystemExit(f"{name} is still loadable")
EOF

  cd "$scratch"
  export HOME="$scratch/home" XDG_DATA_HOME="$scratch/home/.local/share" PYTHONNOUSERSITE=1
  unset PYTHONPATH
  mkdir -p "$HOME"
  # Only the installed wheel may answer `import lumo_font`, never python/ of the work tree.
  "$python" - <<'EOF' || fail "the installed wheel does not load"
import sys
try:
    import lumo_font
except ImportError as error:
    sys.exit(f"import lumo_font: {error}")
if not lumo_font.__file__.startswith(sys.prefix):
    sys.exit(f"lumo_font comes from {lumo_font.__file__}, not from the installed wheel")
EOF
  local extension linked
  extension=$("$python" -c 'import lumo_font._native as native; print(native.__file__)')
  linked=$(ldd "$extension")
  if grep -Eq 'libfreetype|libharfbuzz|libfribidi|libunibreak|libpng|libz\.|not found' <<<"$linked"; then
    fail "the extension links a system library it should carry itself:"$'\n'"$linked"
  fi

  "$python" -m lumo_font || fail "python -m lumo_font failed"
  "$python" - <<'EOF' || fail "sample.png is missing or blank"
import os
os.environ["SDL_VIDEODRIVER"] = "dummy"
os.environ["PYGAME_HIDE_SUPPORT_PROMPT"] = "1"
import pygame
sample = pygame.image.load("sample.png")
width, height = sample.get_size()
pixels = pygame.image.tobytes(sample, "RGB")
colours = {pixels[i:i + 3] for i in range(0, len(pixels), 3)}
print(f"sample.png: {width} x {height} pixels, {len(colours)} colours")
assert width > 300 and height > 20 and len(colours) > 20
EOF
  # A colour emoji from a folder font whose glyphs are PNG bitmaps: the
  # FreeType inside the wheel must get through them at any size.
  if [ -f "$colour_emoji_font" ]; then
    mkdir -p emoji_folder && ln -sf "$colour_emoji_font" emoji_folder/
    "$python" - <<'EOF' || fail "drawing a colour emoji from a PNG-bitmap font failed"
import os
os.environ["SDL_VIDEODRIVER"] = "dummy"
os.environ["PYGAME_HIDE_SUPPORT_PROMPT"] = "1"
import lumo_font
font = lumo_font.LumoFont("Noto Sans", "Noto Sans", "emoji_folder", None)
[emoji] = [entry for entry in font.get_debug_info("a\U0001F600") if entry["char"] == "\U0001F600"]
assert (emoji["font"], emoji["font_source"]) == ("NotoColorEmoji.ttf", "INTL"), emoji
for size in (12, 32, 109, 160):
    surface = font.render("a\U0001F600b", size, (255, 255, 255))
    assert surface.get_width() > 0 and surface.get_height() > 0, size
print("colour emoji: drawn from NotoColorEmoji.ttf at 4 sizes")
EOF
  else
    echo "wheel_smoke.sh: $colour_emoji_font is not installed; no colour emoji drawn"
  fi
  # pygame's system-font lookup runs fc-list, which needs the hidden FreeType: its warning is expected.
  "$python" -m pytest -q -p no:cacheprovider --rootdir "$repo" -c "$repo/pyproject.toml" -W ignore::UserWarning:pygame.sysfont \
    "${smoke_tests[@]/#/$repo/tests/}" || fail "the smoke tests failed"
}

if [ "${1:-}" = "--hidden" ]; then
  shift
  run_hidden "$@"
  exit 0
fi

[ $# -ge 1 ] && [ -f "$1" ] || fail "usage: wheel_smoke.sh WHEEL [PYTHON]"
wheel=$(realpath "$1")

python=${2:-}
if [ -z "$python" ]; then
  # cp312 in the file name asks for Python 3.12: on PATH or in pyenv.
  version=$(basename "$wheel" | grep -oE -- '-cp3[0-9]+-' | head -n 1 | sed -E 's/-cp3([0-9]+)-/3.\1/')
  [ -n "$version" ] || fail "no CPython tag in $(basename "$wheel")"
  for candidate in "python$version" "$HOME"/.pyenv/versions/"$version".*/bin/python"$version"; do
    if "$candidate" -c "import sys; assert '%d.%d' % sys.version_info[:2] == '$version'" 2>/dev/null; then
      python=$candidate
      break
    fi
  done
  [ -n "$python" ] || fail "no Python $version found for $(basename "$wheel")"
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
echo "== Smoke test of $(basename "$wheel") with $("$python" -c 'import sys; print(sys.executable)')"
"$python" -m venv "$scratch/venv"
pip=("$scratch/venv/bin/python" -m pip install -q --disable-pip-version-check)
"${pip[@]}" pygame-ce
"${pip[@]}" "$wheel" pytest fonttools

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(--map-root-user)
unshare "${as_root[@]}" --mount --propagation private bash "$repo/scripts/wheel_smoke.sh" --hidden "$scratch/venv" "$scratch"
echo "wheel_smoke.sh: $(basename "$wheel") works without the system's FreeType, HarfBuzz, FriBidi and libpng"
