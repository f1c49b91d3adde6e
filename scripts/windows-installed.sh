#!/usr/bin/env bash
# The Windows installer as a user runs it: silently into a fresh Wine prefix,
# then KORVAL started from where the installer put it, on Qt's own Windows
# platform under a private X server, at 100 % and at 150 % (Windows' 144
# dpi). Keys add a lamp group and calculate; clicks open the price list and
# switch the language. The calculation's result is read back from the report
# the program prints through Qt's Windows print path: Wine's printers are the
# machine's CUPS queues, here the queues of a private scheduler, whose sheet
# is read as the Linux print tests read theirs; at 150 % the default is a
# printer on the port FILE:, which asks where to save. The windows are in the
# screenshots it leaves in <build>/windows-screenshots.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$root/build-windows}" && pwd)"
installer="$(ls -t "$build"/korval-*-win64.exe | head -n 1)"
shots="$build/windows-screenshots"
rm -rf "$shots"
mkdir -p "$shots"

export WINEPREFIX="$build/installed-prefix"
wine=/usr/lib/wine/wine64
source "$root/cmake/wine-env.sh"
wineserver() { /usr/lib/wine/wineserver "$@"; }
source "$root/scripts/xvfb.sh"
service="$root/tests/support/print_service.sh"
spool="$build/installed-cups"
xvfb=
app=
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null
  wineserver -k 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  bash "$service" stop "$spool"
}
trap cleanup EXIT
XVFB_SCREEN=1920x1080x24 start_xvfb
# Wine's printers are the queue table's, those on a port of Windows' own
# among them; the default is the A4 PostScript printer, then the one on FILE:.
bash "$service" start "$spool"
bash "$service" queues "$spool" file-port
export CUPS_SERVER="$spool/cups.sock"

fail() {
  echo "installed KORVAL: $*" >&2
  exit 1
}

# Waits up to a minute (a busy machine) for a shown window whose title is
# exactly $1, other than the window $2 if given, and prints its id.
window_named() {
  for _ in $(seq 120); do
    xdotool search --onlyvisible --name "^$1\$" | grep -vxF "${2:-none}" | head -n 1 | grep . && return
    sleep 0.5
  done 2>/dev/null
  return 1
}

# The window's own content (no frame: Wine draws none without a window
# manager), once it has stopped changing.
shot() {
  local id="$1" name="$2" before="" now
  for _ in $(seq 50); do
    now="$(import -silent -window "$id" ppm:- 2>/dev/null | md5sum)"
    [ "$now" = "$before" ] && break
    before="$now"
    sleep 0.2
  done
  import -silent -window "$id" "$shots/$name.png"
}

# Closes a window by Alt+F4, as a user does (destroying its X window would
# leave Windows' own open), and waits up to a minute until it is gone.
closed() {
  xdotool key --window "$1" alt+F4 2>/dev/null
  timeout 60 sh -c "while xwininfo -id $1 2>/dev/null | grep -q IsViewable; do sleep 0.5; done"
}

# A click at a spot of the main window given in its 100 % layout's pixels
# (721 wide), which scales with the window.
click_main() {
  local id="$1" x="$2" y="$3" width
  width="$(xdotool getwindowgeometry "$id" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')"
  xdotool mousemove --window "$id" $((x * width / 721)) $((y * width / 721)) click 1
}

rm -rf "$WINEPREFIX"
"$wine" wineboot -i >/dev/null 2>&1
wineserver -w
wine_fonts "$wine"
# Wine keeps the port a printer is given once it has read it from CUPS.
"$wine" reg add 'HKLM\System\CurrentControlSet\Control\Print\Printers\file-port' /v Port /d FILE: /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Microsoft\Windows NT\CurrentVersion\Devices' /v file-port /d wineps.drv,FILE: /f \
  >/dev/null 2>&1
"$wine" "$installer" /S
wineserver -w
program="$WINEPREFIX/drive_c/Program Files/KORVAL/bin/korval.exe"
[ -f "$program" ] || fail "the installer put no korval.exe in Program Files"
[ -f "$WINEPREFIX/drive_c/Program Files/KORVAL/bin/platforms/qwindows.dll" ] || fail "no platform plugin"
"$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\KORVAL' >/dev/null 2>&1 \
  || fail "no entry in Apps & features"
find "$WINEPREFIX/drive_c" -path '*Start Menu*' -name 'KORVAL.lnk' | grep -q . || fail "no Start menu entry"
echo "The installer put KORVAL in Program Files, the Start menu and Apps & features."
# Stripped, and signed where a certificate (KORVAL_SIGN_CA: its issuer) was given.
for binary in "$(dirname "$program")"/*.exe "$(dirname "$program")"/*.dll "$(dirname "$program")"/*/*.dll \
  "$(dirname "$(dirname "$program")")/Uninstall.exe" "$installer"; do
  x86_64-w64-mingw32-objdump -h "$binary" | grep -q '\.debug_' && fail "$(basename "$binary") keeps its debugging information"
  [ -z "${KORVAL_SIGN_CA:-}" ] || osslsigncode verify -CAfile "$KORVAL_SIGN_CA" -in "$binary" >/dev/null \
    || fail "$(basename "$binary") is not signed"
done
echo "Installed: $(du -sk "$(dirname "$(dirname "$program")")" | cut -f1) KiB, every binary stripped${KORVAL_SIGN_CA:+ and signed}; installer: $(du -k "$installer" | cut -f1) KiB."

for dpi in 96 144; do
  wineserver -k 2>/dev/null || true
  wineserver -w
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  scale=$((dpi * 100 / 96))
  # Wine's default printer follows CUPS's when its programs start.
  printer=generic-a4
  [ "$dpi" = 96 ] || printer=file-port
  lpadmin -d "$printer"
  (cd "$(dirname "$program")" && exec "$wine" 'C:\Program Files\KORVAL\bin\korval.exe') >"$shots/korval-$scale.log" 2>&1 &
  app=$!
  main="$(window_named 'KORVAL 1.2 2015')" || fail "no main window at $scale %"
  shot "$main" "main-start-$scale"

  # The add-lamp cycle by keys: "Aggiungi Lampade" has the focus at the start;
  # the dialog opens on its first field, and OK is the third stop after the
  # last field.
  xdotool key --window "$main" space 2>/dev/null
  dialog="$(window_named 'Dati lampade')" || fail "no lamp dialog at $scale %"
  for field in 10 2 36 0.9; do
    xdotool type --delay 50 --window "$dialog" "$field" 2>/dev/null
    xdotool key --window "$dialog" Tab 2>/dev/null
  done
  shot "$dialog" "dialog-$scale"
  xdotool key --window "$dialog" Tab Tab space 2>/dev/null
  # Back on the main window "CALCOLA" has the focus, then "Stampa".
  sleep 1
  xdotool key --window "$main" space 2>/dev/null
  sleep 1
  shot "$main" "main-result-$scale"
  rm -f "$spool"/out/*
  xdotool key --window "$main" space 2>/dev/null
  if [ "$printer" = file-port ]; then
    # KORVAL asks where to save, its name field ready for a name.
    save="$(window_named 'Salva output di stampa con nome')" || fail "no question where to save at $scale %"
    shot "$save" "save-question-$scale"
    job="$spool/out/saved.prn"
    # Typed as a keyboard types, into the focused field: a colon needs Shift.
    xdotool windowfocus --sync "$save" key ctrl+a type --delay 20 "Z:$job" 2>/dev/null
    xdotool key --window "$save" Return 2>/dev/null
    timeout 60 sh -c "until grep -qs '%%EOF' '$job'; do sleep 0.5; done" || fail "nothing saved where asked at $scale %"
  else
    job="$(bash "$service" job "$spool")" || fail "no job reached the print queue at $scale %"
  fi
  ps2pdf "$job" "$shots/report-$scale.pdf"
  pdfinfo "$shots/report-$scale.pdf" | grep -q 'Page size: *595.* x 842' || fail "the report is not on the queue's A4"
  words="$(pdftotext -layout "$shots/report-$scale.pdf" - | tr -s ' ')"
  for expected in "860 W" "1 ora QX10011 1000 W 1" "10 2 36 0.9 Elettronico 1 ora"; do
    grep -qF "$expected" <<<"$words" || fail "the printed report lacks \"$expected\" at $scale %"
  done
  pdftoppm -r 60 -png -singlefile "$shots/report-$scale.pdf" "$shots/report-$scale"

  # The price list, by its button at the foot of the command column.
  click_main "$main" 88 512
  list="$(window_named 'Elenco UPS')" || fail "no price list at $scale %"
  shot "$list" "pricelist-$scale"
  closed "$list" || fail "the price list did not close at $scale %"

  # English, from the language box.
  click_main "$main" 400 34
  sleep 0.5
  xdotool key Down Return 2>/dev/null
  sleep 1
  shot "$main" "main-english-$scale"
  click_main "$main" 88 512
  list="$(window_named 'UPS List')" || fail "no English price list at $scale %"
  shot "$list" "pricelist-english-$scale"
  closed "$list" || fail "the price list did not close at $scale %"

  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
  app=
done
echo "Screenshots of the installed KORVAL in $shots"

# The installer's other situations, in the same prefix: the entry in Apps &
# features, an upgrade over the installed copy, a downgrade (refused when
# nobody is there to say yes), a per-user install beside it, and each copy
# uninstalled without a trace.
source "$build/about.sh"
key='Software\Microsoft\Windows\CurrentVersion\Uninstall\KORVAL'
entry() { "$wine" reg query "$1\\$key" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/.*$2 *REG_[A-Z]* *//p"; }
folder="$(dirname "$(dirname "$program")")"
wineserver -k 2>/dev/null || true
for value in DisplayVersion Publisher InstallLocation DisplayIcon EstimatedSize UninstallString; do
  [ -n "$(entry HKLM "$value")" ] || fail "Apps & features has no $value"
done
"$wine" "$installer" /S && wineserver -w
[ -f "$program" ] && [ "$(entry HKLM DisplayVersion)" = "$KORVAL_VERSION" ] || fail "an upgrade lost the installed copy"

# The wizard as an Italian user meets it over the installed copy, stopped on
# its first and on its folder page (Escape, then "Sì" to whether to stop),
# and asking before a downgrade ("No"): it ends unsuccessfully every time,
# the copy as it was, file for file.
fingerprint() { (cd "$folder" && find . -type f -exec md5sum {} + | sort) && "$wine" reg query "HKLM\\$key"; }
# The installer started, on from its first window $2 pages ("Avanti",
# Return, each awaited), given the keys $3 there, then $4 in the window
# that comes next.
declined() {
  local copy pid window before question
  copy="$(fingerprint)"
  LC_ALL=it_IT.UTF-8 "$wine" "$installer" >/dev/null 2>&1 &
  pid=$!
  window="$(window_named "Installazione di KORVAL")" || fail "no installer window in Italian: $1"
  for _ in $(seq "$2"); do
    before="$(import -window "$window" ppm:- | md5sum)"
    xdotool key --window "$window" Return
    for _ in $(seq 120); do [ "$(import -window "$window" ppm:- | md5sum)" != "$before" ] && break; sleep 0.5; done
  done 2>/dev/null
  shot "$window" "installer-${1// /-}"
  xdotool key --window "$window" $3 2>/dev/null
  if [ -n "$4" ]; then
    question="$(window_named "Installazione di KORVAL" "$window")" || fail "no question: $1"
    xdotool key --window "$question" $4 2>/dev/null
  fi
  timeout 60 tail --pid="$pid" -f /dev/null || fail "the installer did not end: $1"
  wait "$pid" && fail "the installer reported success: $1"
  [ "$(fingerprint)" = "$copy" ] || fail "the installer changed the installed copy: $1"
}
declined "stopped on its first page" 0 Escape Return
"$wine" reg add "HKLM\\$key" /v DisplayVersion /d 99.0 /f >/dev/null 2>&1
# "No" is the question's default.
declined "downgrade declined" 0 Return ""
"$wine" reg add "HKLM\\$key" /v DisplayVersion /d "$KORVAL_VERSION" /f >/dev/null 2>&1
echo "The wizard, stopped on its first page and declining a downgrade, left the copy as it was."

# A Windows that speaks neither Italian nor English gets the English wizard.
LC_ALL=de_DE.UTF-8 "$wine" "$installer" >/dev/null 2>&1 &
pid=$!
window="$(window_named "KORVAL Setup")" || fail "the wizard is not in English on a German Windows"
shot "$window" installer-german-windows
xdotool key --window "$window" Escape 2>/dev/null
xdotool key --window "$(window_named "KORVAL Setup" "$window")" Return 2>/dev/null
timeout 60 tail --pid="$pid" -f /dev/null || fail "the English wizard did not end"

# An upgrade asked for another folder stays where the copy is, and takes
# away nothing but the copy's own files: a program's bin folder there is
# left alone.
other="$WINEPREFIX/drive_c/Strumenti/bin"
mkdir -p "$other" && echo "not KORVAL's" >"$other/leggimi.txt" && cp "$program" "$other/altro.exe"
"$wine" "$installer" /S '/D=C:\Strumenti' && wineserver -w
[ -f "$other/leggimi.txt" ] && [ -f "$other/altro.exe" ] || fail "an upgrade took away another program's files"
[ -f "$program" ] && [ "$(entry HKLM InstallLocation)" = 'C:\Program Files\KORVAL' ] || fail "an upgrade moved the copy"
rm -rf "$WINEPREFIX/drive_c/Strumenti"

# While KORVAL runs nothing of its copy changes: a silent upgrade or
# uninstall ends unsuccessfully, the copy whole; the wizard asks until
# KORVAL is closed, upgrades, and its finish page starts KORVAL again,
# through the user's own shell.
(cd "$(dirname "$program")" && exec "$wine" 'C:\Program Files\KORVAL\bin\korval.exe') >/dev/null 2>&1 &
app=$!
main="$(window_named 'KORVAL 1.2 2015')" || fail "KORVAL did not start before the upgrade"
copy="$(fingerprint)"
! "$wine" "$installer" /S || fail "a silent upgrade went on while KORVAL ran"
# The uninstaller in place (_?=), so that its answer is the run's; NSIS reads
# the folder to the end of the line, which Wine would quote as one word.
! "$wine" "$folder/Uninstall.exe" /S '_?=C:\Program' 'Files\KORVAL' || fail "a silent uninstall went on while KORVAL ran"
[ "$(fingerprint)" = "$copy" ] || fail "the copy changed while KORVAL ran"
LC_ALL=it_IT.UTF-8 "$wine" "$installer" >/dev/null 2>&1 &
pid=$!
window="$(window_named "Installazione di KORVAL")" || fail "no wizard for the upgrade"
shot "$window" installer-upgrade
# The first page of an upgrade installs.
xdotool key --window "$window" Return 2>/dev/null
question="$(window_named "Installazione di KORVAL" "$window")" || fail "the wizard did not ask to close KORVAL"
shot "$question" installer-korval-open
# Asked to close as Windows asks a program (WM_CLOSE), behind the question.
"$wine" taskkill /im korval.exe >/dev/null 2>&1 || true
timeout 60 tail --pid="$app" -f /dev/null || fail "KORVAL did not close"
wait "$app" 2>/dev/null || true
app=
xdotool key --window "$question" Return 2>/dev/null
# "Fine" on the finish page, "Avvia KORVAL" ticked, once the wizard is there.
for _ in $(seq 120); do
  xdotool key --window "$window" Return 2>/dev/null || true
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.5
done
wait "$pid" || fail "the upgrade over a closed KORVAL failed"
main="$(window_named 'KORVAL 1.2 2015')" || fail "the finish page did not start KORVAL"
closed "$main" || fail "KORVAL started by the wizard did not close"
echo "Upgrades ask for a running KORVAL to close and stay in their folder; the German Windows' wizard is English."
"$wine" reg add "HKLM\\$key" /v DisplayVersion /d 99.0 /f >/dev/null 2>&1
! "$wine" "$installer" /S || fail "a silent downgrade was not refused"
wineserver -w
[ -f "$program" ] && [ "$(entry HKLM DisplayVersion)" = 99.0 ] || fail "a refused downgrade changed the installed copy"
"$wine" reg add "HKLM\\$key" /v DisplayVersion /d "$KORVAL_VERSION" /f >/dev/null 2>&1
"$wine" "$installer" /S /CURRENTUSER && wineserver -w
personal="$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Local/Programs/KORVAL/bin/korval.exe')"
[ -n "$personal" ] || fail "a per-user install is not in %LOCALAPPDATA%\\Programs"
[ "$(entry HKCU InstallLocation)" != "" ] || fail "a per-user install has no entry in Apps & features"
find "$WINEPREFIX/drive_c/users" -path '*Start Menu*' -name KORVAL.lnk | grep -q . || fail "no per-user Start menu entry"
echo "Installed over itself, refused a silent downgrade, installed per user."
for copy in "$folder" "$(dirname "$(dirname "$personal")")"; do
  "$wine" "$copy/Uninstall.exe" /S && wineserver -w
  [ ! -e "$copy" ] || fail "uninstalling left $(find "$copy" | head -n 3)"
done
for hive in HKLM HKCU; do
  ! "$wine" reg query "$hive\\$key" >/dev/null 2>&1 || fail "uninstalling left $hive\\$key"
  ! "$wine" reg query "$hive\\Software\\KORVAL" >/dev/null 2>&1 || fail "uninstalling left $hive\\Software\\KORVAL"
done
! find "$WINEPREFIX/drive_c" -name KORVAL.lnk | grep -q . || fail "uninstalling left a Start menu entry"
echo "Both copies uninstalled without a trace."
