#!/usr/bin/env bash
# KORVAL for 64-bit Windows, built and tested on Linux:
#  - Qt cross-built once with MinGW-w64 into a cache, from Debian's own
#    source of the Qt the Linux build uses (scripts/windows-qt.sh);
#  - the program and its tests cross-built against it into build-windows/;
#  - the engine, window and report tests run under Wine through CTest, on
#    Qt's offscreen platform as on Linux (arguments go to CTest);
#  - the installer and the portable ZIP made by CPack;
#  - the installer run silently into a fresh Wine prefix and the installed
#    program driven, printed from and photographed
#    (scripts/windows-installed.sh).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-windows"
bash "$root/scripts/install-deps.sh" --windows
# shellcheck source=windows-qt.sh
source "$root/scripts/windows-qt.sh"
qt="$(qt_for_windows "$root")"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DKORVAL_WITH_CUPS=OFF >/dev/null
cmake --build "$build" --parallel 2
(cd "$build" && ctest --output-on-failure --parallel 2 "$@")
(cd "$build" && cpack >/dev/null && ls -l korval-*-win64.*)
bash "$root/scripts/windows-installed.sh" "$build"
