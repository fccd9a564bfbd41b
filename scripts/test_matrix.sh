#!/usr/bin/env bash
# Runs the test suite on every supported CPython this machine has (3.10 to
# 3.13, or those named in LUMO_PYTHONS), once under pygame-ce and once under
# pygame, each in a private virtual environment under build/matrix/. For each
# pair it proves what a user installing into their own environment gets: the
# pygame distribution is installed first, then lumo_font from source; pip must
# then list that distribution alone and find no conflict, and
# `python -m lumo_font` must render the sample. Extra arguments go to pytest.
#   bash scripts/test_matrix.sh [PYTEST ARGS...]
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"

versions=(${LUMO_PYTHONS:-3.10 3.11 3.12 3.13})
distributions=(pygame-ce pygame)

# The interpreter of a version, when the machine has it.
find_python() {
  LUMO_PYTHONS="$1" bash scripts/supported_pythons.sh | head -n 1
}

# What the suite needs, as the project's test extra lists it.
mapfile -t test_requirements < <(python3 -c "import tomllib; print('\n'.join(
    tomllib.load(open('pyproject.toml', 'rb'))['project']['optional-dependencies']['test']))")

summary=()
failed=0
for version in "${versions[@]}"; do
  python="$(find_python "$version")"
  if [ -z "$python" ]; then
    summary+=("Python $version: not on this machine, skipped")
    continue
  fi
  venv="build/matrix/py$version"
  [ -x "$venv/bin/python" ] || "$python" -m venv "$venv"
  pip=("$venv/bin/python" -m pip -q --disable-pip-version-check)
  pip_report=("$venv/bin/python" -m pip --disable-pip-version-check)  # list and check print nothing when quiet
  "${pip[@]}" install -U pip >/dev/null
  "${pip[@]}" install "scikit-build-core>=0.11" "${test_requirements[@]}"

  for distribution in "${distributions[@]}"; do
    label="Python $version + $distribution"
    echo "== $label"
    "${pip[@]}" uninstall -y pygame pygame-ce lumo_font >/dev/null 2>&1 || true
    "${pip[@]}" install "$distribution"
    # With build isolation off, the build reuses this interpreter's build tree.
    "${pip[@]}" install --no-build-isolation -Cbuild-dir="build/matrix/build-py$version" .
    installed="$("${pip_report[@]}" list --format=freeze 2>/dev/null | grep -i -E '^pygame(-ce)?==' | cut -d= -f1 | tr '\n' ' ')"
    if [ "$installed" != "$distribution " ]; then
      summary+=("$label: FAILED (pip lists: $installed)")
      failed=1
      continue
    fi
    if ! "${pip_report[@]}" check >/dev/null 2>&1; then
      summary+=("$label: FAILED (pip check)")
      failed=1
      continue
    fi
    sample_dir="$(mktemp -d)"
    if ! (cd "$sample_dir" && "$root/$venv/bin/python" -m lumo_font >/dev/null && [ -s sample.png ]); then
      summary+=("$label: FAILED (python -m lumo_font)")
      failed=1
      rm -rf "$sample_dir"
      continue
    fi
    rm -rf "$sample_dir"
    if result="$("$venv/bin/python" -m pytest -q -p no:cacheprovider "$@" 2>&1)"; then
      summary+=("$label: $(echo "$result" | tail -n 1)")
    else
      echo "$result" | tail -n 40
      summary+=("$label: FAILED $(echo "$result" | tail -n 1)")
      failed=1
    fi
  done
done

echo "== Interpreters and pygame distributions"
printf '%s\n' "${summary[@]}"
exit "$failed"
