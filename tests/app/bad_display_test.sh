#!/usr/bin/env bash
# Starts KORVAL where no window can open: each attempt must end with exit
# code 2 and the program's own message naming what it tried, never an abort.
set -uo pipefail
korval="$1"
failures=0
check() {
  local expected="$1"; shift
  local output status
  output="$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" timeout 60 "$korval" 2>&1)"
  status=$?
  if [ "$status" -ne 2 ] || ! grep -qF "KORVAL cannot open its window: it tried $expected" <<<"$output"; then
    echo "FAIL with $*: exit $status"
    echo "$output" | sed 's/^/    /'
    failures=$((failures + 1))
  else
    echo "ok   with $*"
  fi
}
check "a graphical display, but neither DISPLAY nor WAYLAND_DISPLAY is set" DISPLAY=
check "the X display ':99'" DISPLAY=:99
check "the X display 'nosuchhost.invalid:0'" DISPLAY=nosuchhost.invalid:0
check "the window system 'bogus' (QT_QPA_PLATFORM)" QT_QPA_PLATFORM=bogus DISPLAY=:0
check "the X display ':98'" QT_QPA_PLATFORM=xcb DISPLAY=:98
exit $((failures > 0))
