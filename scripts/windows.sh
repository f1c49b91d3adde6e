#!/usr/bin/env bash
# KORVAL for 64-bit Windows, built and tested on Linux:
#  - Qt cross-built once with MinGW-w64 into a cache, from Debian's own
#    source of the Qt the Linux build uses (scripts/windows-qt.sh);
#  - the program and its tests cross-built against it into build-windows/;
#  - its tests run under Wine through CTest (arguments go to CTest): the
#    engine, window and report tests on Qt's offscreen platform as on Linux,
#    the print tests through Wine's printers, and the Windows checks
#    (tests/windows): the installer, portable ZIP and MSI package made, the
#    installer's and the package's situations, the installed program driven,
#    printed from and photographed.
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
(cd "$build" && ctest --output-on-failure --parallel 2 "$@" && ls -l korval-*-win64.*)
