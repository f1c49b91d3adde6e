# Sourced by the Windows checks, given the Windows build's folder: a fresh
# Wine prefix of the check's own, an X server (the Wine print service's,
# KORVAL_WINE_ENV, or its own), the program's window titles (texts.sh, which
# the build takes from the program's tables), and steps a failure names.
set -eEuo pipefail
build="$(cd "$1" && pwd)"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$build/tests/windows/texts.sh"
source "$build/about.sh"
installer="$build/korval-$KORVAL_VERSION-win64.exe"
package="$build/korval-$KORVAL_VERSION-win64.msi"
key='Software\Microsoft\Windows\CurrentVersion\Uninstall\KORVAL'
shots="$build/windows-screenshots"
mkdir -p "$shots"

step() { current="$*" && echo "- $current"; }
# A failure names its step; the screen as it was is kept beside the screenshots.
fail() {
  echo "FAILED: ${current:-setting up}: $*" >&2
  import -silent -window root "$shots/failed-$(basename "$0" .sh).png" 2>/dev/null || true
  exit 1
}
trap 'echo "FAILED: ${current:-setting up} (line $LINENO: $BASH_COMMAND)" >&2' ERR
xvfb= app=
trap 'trap - ERR; set +e; kill $app 2>/dev/null; wineserver -k; kill $xvfb 2>/dev/null' EXIT
if [ -n "${KORVAL_WINE_ENV:-}" ]; then
  source "$KORVAL_WINE_ENV"
  export DISPLAY="$KORVAL_WINE_DISPLAY"
else
  source "$root/scripts/xvfb.sh"
  start_xvfb
fi

step "a fresh Wine prefix"
export WINEPREFIX="$build/$(basename "$0" .sh)-prefix"
wine=/usr/lib/wine/wine64
wineserver() { /usr/lib/wine/wineserver "$@" 2>/dev/null; }
source "$root/cmake/wine-env.sh"
rm -rf "$WINEPREFIX"
"$wine" wineboot -i >/dev/null 2>&1 && wineserver -w
wine_prefix "$wine"
folder="$WINEPREFIX/drive_c/Program Files/KORVAL"

# The value $3 of the registry key $2 in the hive $1.
value() { "$wine" reg query "$1\\$2" /v "$3" 2>/dev/null | tr -d '\r' | sed -n "s/.*$3 *REG_[A-Z]* *//p"; }
# The value $2 of the installer's entry in Apps & features, in the hive $1.
entry() { value "$1" "$key" "$2"; }

# The id of a shown window titled exactly $1, within a minute (a busy
# machine); with $2, of one other than the window $2 (a question over a
# window of the same title), which xdotool cannot leave out by itself.
window_named() {
  if [ -z "${2:-}" ]; then
    timeout 60 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1
  else
    timeout 60 bash -c "until xdotool search --onlyvisible --name '^$1\$' | grep -vxF $2; do sleep 0.2; done" \
      2>/dev/null | head -n 1
  fi
}

# The window's own content (Wine draws no frame without a window manager),
# kept once it has stopped changing: drawn, and so taking keys.
shot() {
  local before="" now
  for _ in $(seq 50); do
    now="$(import -silent -window "$1" ppm:- 2>/dev/null | md5sum)"
    [ "$now" = "$before" ] && break
    before="$now" && sleep 0.2
  done
  import -silent -window "$1" "$shots/$2.png"
}

# Waits up to a minute until the window $1 is no longer shown.
gone() { timeout 60 bash -c "while xwininfo -id $1 2>/dev/null | grep -q IsViewable; do sleep 0.2; done"; }
# Closes the window $1 by Alt+F4, as a user does (destroying its X window
# would leave Windows' own open).
closed() { xdotool key --window "$1" alt+F4 2>/dev/null && gone "$1"; }
# Waits up to a minute for the process $1 to end, and gives its exit code.
ended() { timeout 60 tail --pid="$1" -f /dev/null && wait "$1"; }
# KORVAL started from its installed copy, as a Start menu entry starts it.
start_korval() {
  (cd "$folder/bin" && exec "$wine" 'C:\Program Files\KORVAL\bin\korval.exe') >"$shots/korval-$1.log" 2>&1 &
  app=$!
}
