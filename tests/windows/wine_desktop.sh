# Sourced by the Windows checks, each given the Windows build's folder: a
# fresh Wine prefix of the check's own, an X server (the Wine print
# service's, KORVAL_WINE_ENV, when the check prints; its own otherwise), the
# titles of the program's windows as its tables have them (texts.sh, made by
# the build), and steps: each says what it checks, and a failure names the
# step it failed in.
set -eEuo pipefail
build="$(cd "$1" && pwd)"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# shellcheck source=/dev/null
source "$build/tests/windows/texts.sh"
# shellcheck source=/dev/null
source "$build/about.sh"
installer="$build/korval-$KORVAL_VERSION-win64.exe"
package="$build/korval-$KORVAL_VERSION-win64.msi"
key='Software\Microsoft\Windows\CurrentVersion\Uninstall\KORVAL'
program='C:\Program Files\KORVAL\bin\korval.exe'

step() {
  current="$*"
  echo "- $current"
}
# A failure says its step, the screen as it was kept beside the screenshots.
fail() {
  echo "FAILED: ${current:-setting up}: $*" >&2
  import -silent -window root "$build/windows-screenshots/failed-$(basename "$0" .sh).png" 2>/dev/null || true
  exit 1
}
trap 'echo "FAILED: ${current:-setting up} (line $LINENO: $BASH_COMMAND)" >&2' ERR

xvfb=
app=
cleanup() {
  [ -z "$app" ] || kill "$app" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
if [ -n "${KORVAL_WINE_ENV:-}" ]; then
  # shellcheck source=/dev/null
  source "$KORVAL_WINE_ENV"
  export DISPLAY="$KORVAL_WINE_DISPLAY"
else
  # shellcheck source=../../scripts/xvfb.sh
  source "$root/scripts/xvfb.sh"
  start_xvfb
fi

step "a fresh Wine prefix"
export WINEPREFIX="$build/$(basename "$0" .sh)-prefix"
wine=/usr/lib/wine/wine64
wineserver() { /usr/lib/wine/wineserver "$@"; }
# shellcheck source=../../cmake/wine-env.sh
source "$root/cmake/wine-env.sh"
rm -rf "$WINEPREFIX"
"$wine" wineboot -i >/dev/null 2>&1
wineserver -w
wine_fonts "$wine"
folder="$WINEPREFIX/drive_c/Program Files/KORVAL"
mkdir -p "$build/windows-screenshots"

# A value of an entry in Apps & features: in HKLM or HKCU ($1), of the
# installer's copy or ($2) of the one named, the value $2 (or $3).
entry() {
  local name="${3:-$2}" sub="${3:+${key%KORVAL}$2}"
  "$wine" reg query "$1\\${sub:-$key}" /v "$name" 2>/dev/null | tr -d '\r' | sed -n "s/.*$name *REG_[A-Z]* *//p"
}

# The id of a shown window titled exactly $1, waited for up to a minute (a
# busy machine).
window_named() {
  timeout 60 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1
}

# A second window titled $1 (a question over the window $2 of the same
# title), waited for up to a minute: xdotool cannot leave one out.
another_window() {
  timeout 60 bash -c "until xdotool search --onlyvisible --name '^$1\$' | grep -vxF '$2'; do sleep 0.2; done" \
    2>/dev/null | head -n 1
}

# The window's own content (no frame: Wine draws none without a window
# manager), kept in $build/windows-screenshots once it has stopped changing.
shot() {
  local before="" now
  for _ in $(seq 50); do
    now="$(import -silent -window "$1" ppm:- 2>/dev/null | md5sum)"
    [ "$now" = "$before" ] && break
    before="$now"
    sleep 0.2
  done
  import -silent -window "$1" "$build/windows-screenshots/$2.png"
}

# Waits up to a minute until the window $1 is no longer shown.
gone() {
  timeout 60 bash -c "while xwininfo -id $1 2>/dev/null | grep -q IsViewable; do sleep 0.2; done"
}

# Closes the window $1 by Alt+F4, as a user does (destroying its X window
# would leave Windows' own open).
closed() {
  xdotool key --window "$1" alt+F4 2>/dev/null
  gone "$1"
}

# Keys $2... to the window $1. Sent to the window: Wine drops keys that
# come from the keyboard before it has made a window its foreground.
press() {
  xdotool key --delay 50 --window "$1" "${@:2}" 2>/dev/null
}

# Keys $2... to the window $1, then waits up to a minute until its content
# has changed.
keys_changing() {
  local window="$1" before
  shift
  before="$(import -silent -window "$window" ppm:- 2>/dev/null | md5sum)"
  press "$window" "$@"
  timeout 60 bash -c "until [ \"\$(import -silent -window $window ppm:- 2>/dev/null | md5sum)\" != '$before' ]; do
    sleep 0.2; done"
}

# Waits up to a minute for the process $1 to end, and gives its exit code.
ended() {
  timeout 60 tail --pid="$1" -f /dev/null || return 124
  wait "$1"
}

# KORVAL started from its installed copy, as a Start menu entry starts it.
start_korval() {
  (cd "$folder/bin" && exec "$wine" "$program") >"$build/windows-screenshots/korval-$1.log" 2>&1 &
  app=$!
}
