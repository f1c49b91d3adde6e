#!/usr/bin/env bash
# Builds the Debian package from a build folder, installs it, starts the
# installed program from its desktop entry under Xvfb, checks that its main
# window appears, and removes the package again.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
# The application id, as the build knows it.
source "$build/about.sh"
app_id="$KORVAL_APP_ID"

(cd "$build" && cpack -G DEB >/dev/null)
deb="$(ls -t "$build"/korval_*.deb | head -n 1)"
echo "Package: $deb"
dpkg-deb -f "$deb" Package Version Depends
dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '/$'

"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
trap '"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq korval >/dev/null 2>&1 || true' EXIT

entry="/usr/share/applications/$app_id.desktop"
desktop-file-validate "$entry"
appstreamcli validate --no-net "/usr/share/metainfo/$app_id.metainfo.xml"
command="$(sed -n 's/^Exec=//p' "$entry" | awk '{print $1}')"
resolved="$(command -v "$command")"
if [ "$resolved" != /usr/bin/korval ]; then
  echo "the desktop entry starts '$command' ($resolved), not the installed /usr/bin/korval" >&2
  exit 1
fi
test -f "/usr/share/icons/hicolor/scalable/apps/$app_id.svg"
test -f "/usr/share/icons/hicolor/48x48/apps/$app_id.png"

# Start it as the menu would, on a private X server.
source "$root/scripts/xvfb.sh"
xvfb=
trap 'kill $xvfb 2>/dev/null || true; "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq korval >/dev/null 2>&1 || true' EXIT
start_xvfb
display="$DISPLAY"
env -u QT_QPA_PLATFORM DISPLAY="$display" "$command" >/tmp/korval-package-check.log 2>&1 &
app=$!
# A window of the program's (its class is the program's name) on screen,
# within a minute: a busy machine may take a while to start a program.
shown=no
if DISPLAY="$display" timeout 60 xdotool search --sync --onlyvisible --classname '^korval$' >/dev/null 2>&1; then
  shown=yes
fi
kill "$app" 2>/dev/null || true
wait "$app" 2>/dev/null || true
if [ "$shown" != yes ]; then
  echo "the installed KORVAL showed no main window" >&2
  cat /tmp/korval-package-check.log >&2
  exit 1
fi
echo "The installed KORVAL started from its desktop entry and showed its main window."

"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq korval >/dev/null
if [ -e /usr/bin/korval ] || [ -e "$entry" ]; then
  echo "removing the package left files behind" >&2
  exit 1
fi
echo "The package removed itself cleanly."
