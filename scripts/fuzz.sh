#!/usr/bin/env bash
# Builds every libFuzzer target (tests/fuzz/fuzz_*.cpp) with clang and runs each
# for a bounded time. Exits non-zero when a target fails to build, crashes,
# leaks, times out or trips a sanitizer.
#
#   scripts/fuzz.sh                      20 s per target (a quick check)
#   FUZZ_SECONDS=600 scripts/fuzz.sh     10 minutes per target (a longer run)
#   scripts/fuzz.sh fuzz_ini             only the named targets
#
# The corpus grows under build/fuzz/corpus/<target> and is reused by the next
# run. If tests/fuzz/seeds/<target> exists it is read as extra seed input, and
# tests/fuzz/<target>.dict, when present, gives libFuzzer the words of the format.
# A crashing input lands in build/fuzz/artifacts/<target>/; replay it with
#   build/fuzz/tests/fuzz/<target> build/fuzz/artifacts/<target>/crash-...
# Logs: build/fuzz/logs/<target>.log.
set -uo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$repo/build/fuzz"
seconds="${FUZZ_SECONDS:-20}"

# UBSan only reports by default; a report must fail the run.
export UBSAN_OPTIONS="halt_on_error=1:abort_on_error=1:print_stacktrace=1"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for src in "$repo"/tests/fuzz/fuzz_*.cpp; do
    [ -e "$src" ] || continue
    name="$(basename "$src" .cpp)"
    targets+=("$name")
  done
fi
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz: no targets under tests/fuzz"
  exit 1
fi

mkdir -p "$build/logs"
if ! CC=clang CXX=clang++ cmake -S "$repo" -B "$build" -DZELVIO_FUZZ=ON >"$build/logs/configure.log" 2>&1; then
  echo "fuzz: configure failed, see $build/logs/configure.log"
  exit 1
fi

passed=0
failed=0

run_target() {
  local name="$1"
  local log="$build/logs/$name.log"
  local corpus="$build/corpus/$name"
  local artifacts="$build/artifacts/$name/"
  local seeds="$repo/tests/fuzz/seeds/$name"
  local dict="$repo/tests/fuzz/$name.dict"

  if ! cmake --build "$build" -j2 --target "$name" >"$build/logs/$name.build.log" 2>&1; then
    echo "FAIL $name: build failed, see $build/logs/$name.build.log"
    return 1
  fi

  mkdir -p "$corpus" "$artifacts"
  local dirs=("$corpus")
  [ -d "$seeds" ] && dirs+=("$seeds")
  local options=()
  [ -f "$dict" ] && options+=("-dict=$dict")

  "$build/tests/fuzz/$name" "${options[@]}" "${dirs[@]}" \
    -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
    -artifact_prefix="$artifacts" -print_final_stats=1 >"$log" 2>&1
  local rc=$?

  local runs
  runs="$(grep -o 'Done [0-9]* runs' "$log" | tail -1 | grep -o '[0-9]*')"
  if [ $rc -ne 0 ]; then
    echo "FAIL $name: exit $rc, see $log (inputs in $artifacts)"
    return 1
  fi
  echo "PASS $name: ${runs:-?} runs in ${seconds} s, corpus $(ls "$corpus" | wc -l) files"
  return 0
}

for name in "${targets[@]}"; do
  if run_target "$name"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
  fi
done

echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
