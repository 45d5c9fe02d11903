#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs every test:
#   1. shellcheck over the scripts and the Wine tests' shell files (warnings fail the run),
#   2. native unit tests (GoogleTest under CTest),
#   3. the fuzz targets for a bounded time (FUZZ_SECONDS each, default 15),
#   4. the end-to-end tests of the real binaries under Wine on a private Xvfb.
set -uo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo" || exit 1

"$repo/scripts/setup.sh" || exit 1

failed=0
step() { echo; echo "==== $*"; }

step "shell scripts"
# Warnings and errors only: the style notes are a matter of taste, a warning is usually a bug
# (an unquoted path with a space, a failed cd that carries on). Skipped where shellcheck is
# not installed, so a machine without it still builds and tests.
if command -v shellcheck >/dev/null 2>&1; then
  mapfile -t shell_scripts < <(find "$repo/scripts" "$repo/tests/wine" -name '*.sh' | sort)
  shellcheck -S warning "${shell_scripts[@]}" || failed=1
else
  echo "shellcheck not installed; skipped"
fi

step "native build"
cmake -S "$repo" -B "$repo/build/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 1
cmake --build "$repo/build/native" -j2 || exit 1

step "native tests"
ctest --test-dir "$repo/build/native" --output-on-failure -j2 || failed=1

step "fuzz targets"
FUZZ_SECONDS="${FUZZ_SECONDS:-15}" "$repo/scripts/fuzz.sh" || failed=1

step "windows build"
cmake -S "$repo" -B "$repo/build/win" -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null || exit 1
cmake --build "$repo/build/win" -j2 || exit 1
echo "portable folder: $repo/build/win/Zelvio"

step "wine tests"
ctest --test-dir "$repo/build/win" --output-on-failure || failed=1

echo
if [ "$failed" -ne 0 ]; then
  echo "==== some tests FAILED"
  exit 1
fi
echo "==== all tests passed"
