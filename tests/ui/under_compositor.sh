#!/usr/bin/env bash
# Runs a program under a real Wayland compositor that it starts and ends:
# Weston, GNOME's mutter or KDE's KWin (the first argument), each drawing its
# desktop as a window of a private X server. Input comes through the
# compositor as a user's does: the program may drive the X server's pointer
# over that window (KORVAL_TEST_X_DISPLAY, KORVAL_TEST_X_WINDOW, with
# xdotool), and the compositor hands it on as it decides.
# Fails, never skips, when the compositor does not come up, and when a window
# of the program is made a child of another.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=../../scripts/xvfb.sh
source "$here/../../scripts/xvfb.sh"
compositor="$1"
shift

runtime="$(mktemp -d)"
chmod 700 "$runtime"
xvfb=""
server=""
# Ends a server and the helpers it started (a compositor's shell, its
# keyboard, its session bus): politely, then for good.
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
  [ -n "$server" ] && stop "$server" "$compositor"
  [ -n "$xvfb" ] && stop "$xvfb" Xvfb
  rm -rf "$runtime"
}
trap finish EXIT

width=1366
height=768
socket=korval-test
XVFB_SCREEN=1600x1000x24 start_xvfb
export XDG_RUNTIME_DIR="$runtime"
# The compositors' own settings and caches stay in the run's folder.
export XDG_CONFIG_HOME="$runtime/config" XDG_CACHE_HOME="$runtime/cache"
case "$compositor" in
  weston)
    binary=weston
    # Weston's headless backend has no seat: no window could be active there.
    command=(weston --backend=x11-backend.so --use-pixman --no-config --socket="$socket" --idle-time=0
      --width="$width" --height="$height")
    ;;
  mutter)
    binary=mutter
    # Nested, as GNOME's compositor runs inside another session; its
    # headless mode takes no pointer from outside.
    command=(env MUTTER_DEBUG_DUMMY_MODE_SPECS="${width}x${height}" dbus-run-session --
      mutter --nested --wayland --no-x11 --wayland-display="$socket")
    ;;
  kwin)
    binary=/usr/bin/kwin_wayland
    # The installed binary carries a file capability that a container
    # refuses to grant ("Operation not permitted"); a copy has none.
    [ -x "$binary" ] && cp "$binary" "$runtime/kwin_wayland"
    command=(dbus-run-session -- "$runtime/kwin_wayland" --x11-display "$DISPLAY" --socket "$socket"
      --width "$width" --height "$height")
    ;;
  *)
    echo "unknown compositor '$compositor' (weston, mutter or kwin)" >&2
    exit 2
    ;;
esac
if ! command -v "$binary" >/dev/null; then
  echo "$compositor ($binary) is not installed: bash scripts/install-deps.sh installs it" >&2
  exit 1
fi
setsid "${command[@]}" </dev/null >"$runtime/compositor.log" 2>&1 &
server=$!

# Ready when a client gets its globals, as the program will, and its desktop
# is on the X server.
window=""
for _ in $(seq 600); do
  if WAYLAND_DISPLAY="$socket" wayland-info 2>/dev/null | grep -q xdg_wm_base; then
    window="$(xwininfo -root -children | awk -v size="${width}x${height}" '$0 ~ " " size "\\+" {print $1; exit}')"
    [ -n "$window" ] && break
  fi
  if ! kill -0 "$server" 2>/dev/null; then
    echo "$compositor did not start:" >&2
    cat "$runtime/compositor.log" >&2
    exit 1
  fi
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "$compositor does not answer after 60 s:" >&2
  cat "$runtime/compositor.log" >&2
  exit 1
fi

# A new mutter sends no pointer motion to a client until its desktop has
# seen a button: one click on the desktop's empty corner first.
DISPLAY="$DISPLAY" xdotool mousemove --window "$window" $((width - 2)) $((height - 2)) click 1

# The client's side of the protocol is logged: what reaches the compositor
# is what counts, not Qt's idea of it.
status=0
KORVAL_TEST_X_DISPLAY="$DISPLAY" KORVAL_TEST_X_WINDOW="$window" KORVAL_TEST_COMPOSITOR="$compositor" \
  WAYLAND_DEBUG=client WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland env -u DISPLAY "$@" \
  2>"$runtime/client.log" || status=$?
grep -v '^\[ *[0-9.]*\] ' "$runtime/client.log" >&2 || true
# The lamp dialog and the price list are peers of the main window, which
# the compositor would otherwise keep below them.
if grep -E 'xdg_toplevel@[0-9]+\.set_parent\(xdg_toplevel@' "$runtime/client.log" >&2; then
  echo "a window of the program was made a child of another" >&2
  status=1
fi
if [ "$status" -ne 0 ]; then
  echo "--- $compositor's log" >&2
  tail -n 40 "$runtime/compositor.log" >&2
fi
exit "$status"
