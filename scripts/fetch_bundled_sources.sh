#!/usr/bin/env bash
# Fetches the sources of the libraries a bundled build compiles into the engine
# (see cmake/dependencies.cmake) from Debian's source packages into third_party/,
# through the archives this machine's apt already uses (scripts/apt_sources.py
# reads them from apt's source lists). Quiet and quick when they are already
# there; installs dpkg-dev with root (or sudo) if it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

# One line per library: folder under third_party/, Debian source package, then
# what of the unpacked tree the build needs (paths or globs), licence files included.
bundled_libraries=(
  "freetype  freetype   include src LICENSE.TXT docs/FTL.TXT docs/GPLv2.TXT"
  "harfbuzz  harfbuzz   src COPYING"
  "fribidi   fribidi    lib meson.build COPYING"
  "libpng    libpng1.6  png*.h png.c pngerror.c pngget.c pngmem.c pngread.c pngrio.c pngrtran.c pngrutil.c pngset.c pngtrans.c scripts/pnglibconf.h.prebuilt LICENSE"
  "zlib      zlib       zlib.h zconf.h zutil.[ch] gzguts.h inf*.[ch] adler32.c crc32.[ch] LICENSE"
)
# FriBidi's source package comes with its Unicode tables (lib/*.tab.i) already
# generated; the build reads its version from the top-level meson.build.
# libpng and zlib are kept to their PNG reader and inflate: FreeType only
# decodes the PNG strikes of colour fonts. libpng's configuration header comes
# prebuilt with it, and zlib builds from its plain sources.

# Left out of the kept folders to keep third_party/ (and an sdist) small.
pruned_paths=(tools test tests fuzzing docs demos ft2demos ft2docs 'test-*.cc' '*.py' '*.md' 'Makefile*' meson.build '*.rc')

third_party=third_party
stamp_name=.debian-source

# libunibreak (line breaking for wrapped text; grapheme and word boundaries
# for carets and selections) is built from its sources unless the system has
# release 6.0 or newer: Debian 12's 1.1 predates the emoji and later Unicode
# rules (6.0 brought Unicode 15.1's Indic conjuncts as one grapheme), and its
# sources have left the archive's pool.
# The upstream tarball of Debian 13's package is taken from the pool of the
# archive apt uses for this release (the pool is shared by every release),
# checked by its hash.
unibreak_version=6.1
unibreak_pool_path="pool/main/libu/libunibreak/libunibreak_${unibreak_version}.orig.tar.gz"
unibreak_sha256=890674996168ef5ba143d80d49ab8b61594a4eb70198dcac76caf6e1bd264a41
unibreak_kept=(linebreak.c linebreak.h linebreakdata.c linebreakdef.c linebreakdef.h unibreakbase.c unibreakbase.h
               unibreakdef.c unibreakdef.h emojidef.c emojidef.h emojidata.c eastasianwidthdef.c eastasianwidthdef.h
               eastasianwidthdata.c graphemebreak.c graphemebreak.h graphemebreakdata.c graphemebreakdef.h
               indicconjunctbreakdata.c indicconjunctbreakdef.h wordbreak.c wordbreak.h wordbreakdata.c
               wordbreakdef.h)

# The release's code name (bookworm): apt's entries for it name the archive.
debian_release() {
  local release
  release=$( (. /etc/os-release && echo "${VERSION_CODENAME:-}") 2>/dev/null || true)
  [ -n "$release" ] || { echo "fetch_bundled_sources.sh: /etc/os-release names no release code name" >&2; return 1; }
  echo "$release"
}

fetch_libunibreak() {
  local target="$third_party/libunibreak"
  # Fetched again when a file the build now needs is missing from an earlier fetch.
  local kept complete=1
  for kept in "${unibreak_kept[@]}"; do [ -f "$target/src/$kept" ] || complete=0; done
  [ -f "$target/$stamp_name" ] && [ "$complete" = 1 ] && return 0
  echo "Fetching libunibreak $unibreak_version's sources into $target"
  local release archive work
  release=$(debian_release)
  archive=$(python3 scripts/apt_sources.py archive "$release")
  work=$(mktemp -d)
  python3 - "$archive/$unibreak_pool_path" "$work/libunibreak.tar.gz" "$unibreak_sha256" <<'PY'
import hashlib, sys, urllib.request
url, path, expected = sys.argv[1:]
data = urllib.request.urlopen(url, timeout=120).read()
if hashlib.sha256(data).hexdigest() != expected:
    sys.exit(f"fetch_bundled_sources.sh: {url} does not have the expected SHA-256")
open(path, "wb").write(data)
PY
  tar -xzf "$work/libunibreak.tar.gz" -C "$work"
  local unpacked
  unpacked=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'libunibreak*' | head -n 1)
  rm -rf "$target"
  mkdir -p "$target/src"
  (cd "$unpacked/src" && cp -a "${unibreak_kept[@]}" "$OLDPWD/$target/src/")
  cp -a "$unpacked/LICENCE" "$target/"
  echo "libunibreak $unibreak_version (upstream tarball of Debian's package)" >"$target/$stamp_name"
  rm -rf "$work"
}

# `fetch_bundled_sources.sh libunibreak` fetches that library alone.
if [ "${1:-}" = libunibreak ]; then
  fetch_libunibreak
  exit 0
fi
fetch_libunibreak

missing=()
for line in "${bundled_libraries[@]}"; do
  read -r folder _ <<<"$line"
  [ -f "$third_party/$folder/$stamp_name" ] || missing+=("$line")
done
((${#missing[@]})) || exit 0

release=$(debian_release)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
command -v dpkg-source >/dev/null || DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq dpkg-dev >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 777 "$work"  # apt's download user writes there too

# `apt-get source` needs deb-src entries, and Debian images ship with none: a
# private apt configuration gets one for each deb entry apt uses, with its own
# package lists, so that the machine's apt set-up is left as it was.
private_apt="$work/apt"
mkdir -p "$private_apt/sources.list.d" "$private_apt/lists/partial" "$private_apt/cache"
python3 scripts/apt_sources.py deb-src >"$private_apt/sources.list.d/deb-src.sources"
chmod -R a+rwX "$private_apt"
apt_options=(-o "Dir::Etc::SourceList=$private_apt/sources.list" -o "Dir::Etc::SourceParts=$private_apt/sources.list.d"
             -o "Dir::State::Lists=$private_apt/lists" -o "Dir::Cache=$private_apt/cache")
# An archive without sources (or out of reach) does not stop the others.
apt-get "${apt_options[@]}" update -qq || echo "  apt-get update reported the problems above; going on"

for line in "${missing[@]}"; do
  read -r folder package kept <<<"$line"
  echo "Fetching Debian source package $package into $third_party/$folder"
  # Not every mirror carries the security archive's sources: then the newest
  # in the release itself, whose point releases take in the security fixes later.
  if ! (cd "$work" && apt-get "${apt_options[@]}" source -qq --only-source "$package" >"$work/$package.log" 2>&1); then
    echo "  the newest $package cannot be downloaded; taking $release's"
    (cd "$work" && apt-get "${apt_options[@]}" source -qq --only-source "$package/$release" \
      >>"$work/$package.log" 2>&1) ||
      { cat "$work/$package.log" >&2; echo "fetch_bundled_sources.sh: apt-get source $package failed" >&2; exit 1; }
  fi
  unpacked=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name "$package-*" | head -n 1)
  version=$(cd "$unpacked" && dpkg-parsechangelog -S Version)

  target="$PWD/$third_party/$folder"
  rm -rf "$target"
  mkdir -p "$target"
  # The kept paths are expanded inside the unpacked tree, globs included.
  (cd "$unpacked" && cp -a --parents $kept "$target/")
  for pattern in "${pruned_paths[@]}"; do
    find "$target" -mindepth 2 -name "$pattern" -prune -exec rm -rf {} +
  done
  echo "$package $version" >"$target/$stamp_name"
  rm -rf "$unpacked"
done
