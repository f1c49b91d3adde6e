#!/usr/bin/env bash
# Cross-builds the engine and its tests for 64-bit Windows with MinGW-w64 and
# runs them under Wine, headless: the rounding, the single-precision factors,
# the search and the number texts must come out there as they do on Linux.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-windows-engine"
bash "$root/scripts/install-deps.sh" --windows
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -DKORVAL_ENGINE_ONLY=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target engine_tests
# The tests run under Wine through the build's own runner (wine-run.sh): a
# prefix in the build folder, no display, MinGW's runtime on the path.
cd "$build"
ctest --output-on-failure "$@"
