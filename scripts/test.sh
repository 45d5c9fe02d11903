#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs every test:
#   1. native unit tests (GoogleTest under CTest),
#   2. the fuzz targets for a bounded time (FUZZ_SECONDS each, default 15),
#   3. the end-to-end tests of the real binaries under Wine on a private Xvfb.
set -uo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo"

"$repo/scripts/setup.sh" || exit 1

failed=0
step() { echo; echo "==== $*"; }

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
