#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang (build/fuzz) and runs each
# for the given number of seconds (default 60), starting from the seeds in
# fuzz/corpus/<target>/. Prints the executions of every target; exits non-zero
# when any target crashed, leaked, timed out or failed a check. Inputs that
# did are kept in build/fuzz/artifacts/<target>/.
#   bash scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
shift || true
if ! command -v clang++ >/dev/null; then
  echo "fuzz.sh: clang++ is missing (apt-get install clang libclang-rt-14-dev)" >&2
  exit 2
fi

build=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DLUMO_FUZZERS=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPython_EXECUTABLE="$(command -v python3)" >/dev/null
cmake --build "$build" -j2 >/dev/null

targets=("$@")
if ((${#targets[@]} == 0)); then
  for source in fuzz/fuzz_*.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi

# Every sanitizer finding ends the run with the input that caused it.
export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"

failed=()
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  artifacts="$build/artifacts/$target"
  log="$build/logs/$target.log"
  mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
  options=(-max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 -print_final_stats=1
           -artifact_prefix="$artifacts/")
  # Shaping cost grows with the text: long runs add nothing but slowness.
  [ "$target" = fuzz_run_layout ] && options+=(-max_len=512)
  status=0
  "$build/fuzz/$target" "${options[@]}" "$corpus" "fuzz/corpus/$target" >"$log" 2>&1 || status=$?
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  if ((status == 0)); then
    printf '%-22s %12s executions, no crash (corpus %s inputs)\n' "$target" "${executions:-?}" \
      "$(find "$corpus" -type f | wc -l)"
  else
    printf '%-22s %12s executions, FAILED (status %d), see %s\n' "$target" "${executions:-?}" "$status" "$log"
    grep -m 5 -E 'ERROR|fuzz check failed|runtime error|Test unit written' "$log" || tail -n 20 "$log"
    failed+=("$target")
  fi
done

if ((${#failed[@]})); then
  echo "fuzz.sh: ${#failed[@]} target(s) failed: ${failed[*]}" >&2
  exit 1
fi
