#!/usr/bin/env bash
# Runs a program under a real Wayland compositor that it starts and ends:
# Weston, drawing into a private X server. (Weston's headless backend has no
# seat: no window could ever be active there.) Fails, never skips, when the
# compositor does not come up, and when a window of the program is made a
# child of another.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=../../scripts/xvfb.sh
source "$here/../../scripts/xvfb.sh"

runtime="$(mktemp -d)"
chmod 700 "$runtime"
xvfb=""
weston=""
# Ends a server and the helpers it started (Weston starts its shell and its
# keyboard as clients of its own): politely, then for good.
stop() {
  local pid="$1"
  kill -TERM -- "-$pid" 2>/dev/null || kill -TERM "$pid" 2>/dev/null || return 0
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  echo "$2 did not end within 10 s" >&2
  kill -KILL -- "-$pid" 2>/dev/null || kill -KILL "$pid" 2>/dev/null || true
}
finish() {
  [ -n "$weston" ] && stop "$weston" Weston
  [ -n "$xvfb" ] && stop "$xvfb" Xvfb
  rm -rf "$runtime"
}
trap finish EXIT

XVFB_SCREEN=1600x1000x24 start_xvfb
export XDG_RUNTIME_DIR="$runtime"
setsid weston --backend=x11-backend.so --use-pixman --no-config --socket=korval-test --idle-time=0 \
  --width=1366 --height=768 </dev/null >"$runtime/weston.log" 2>&1 &
weston=$!
# Ready when a client gets its globals, as the program will.
for _ in $(seq 600); do
  if WAYLAND_DISPLAY=korval-test wayland-info 2>/dev/null | grep -q xdg_wm_base; then
    break
  fi
  if ! kill -0 "$weston" 2>/dev/null; then
    echo "Weston did not start:" >&2
    cat "$runtime/weston.log" >&2
    exit 1
  fi
  sleep 0.1
done
if ! WAYLAND_DISPLAY=korval-test wayland-info 2>/dev/null | grep -q xdg_wm_base; then
  echo "Weston does not answer after 60 s:" >&2
  cat "$runtime/weston.log" >&2
  exit 1
fi
# The client's side of the protocol is logged: what reaches the compositor
# is what counts, not Qt's idea of it.
status=0
WAYLAND_DEBUG=client WAYLAND_DISPLAY=korval-test QT_QPA_PLATFORM=wayland env -u DISPLAY "$@" \
  2>"$runtime/client.log" || status=$?
grep -v '^\[ *[0-9.]*\] ' "$runtime/client.log" >&2 || true
# The lamp dialog and the price list are peers of the main window, which
# the compositor would otherwise keep below them.
if grep -E 'xdg_toplevel@[0-9]+\.set_parent\(xdg_toplevel@' "$runtime/client.log" >&2; then
  echo "a window of the program was made a child of another" >&2
  status=1
fi
exit "$status"
