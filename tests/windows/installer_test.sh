#!/usr/bin/env bash
# The installer's situations in a fresh prefix, as users and IT departments
# meet them: a copy installed and upgraded in place, the wizard stopped or
# declining a downgrade, a German Windows, a folder asked for on upgrade, a
# running KORVAL, a copy per user, every copy uninstalled without a trace;
# then the MSI package installed, upgraded by a newer build, refusing an
# older one, refusing and refused by the installer's copy, removed.
# shellcheck source=wine_desktop.sh
source "$(dirname "$0")/wine_desktop.sh"

# The installed copy, file for file, and its entry.
fingerprint() { (cd "$folder" && find . -type f -exec md5sum {} + | sort) && "$wine" reg query "HKLM\\$key"; }

step "installed, then installed again over itself, silently"
"$wine" "$installer" /S && wineserver -w
"$wine" "$installer" /S && wineserver -w
[ -f "$folder/bin/korval.exe" ] && [ "$(entry HKLM DisplayVersion)" = "$KORVAL_VERSION" ] \
  || fail "an upgrade lost the installed copy"

# The Italian wizard, started over the installed copy, given the keys $2
# on its first page, then $3 in the question that comes next: it ends
# unsuccessfully, the copy as it was.
declined() {
  local copy pid window question
  copy="$(fingerprint)"
  LC_ALL=it_IT.UTF-8 "$wine" "$installer" >/dev/null 2>&1 &
  pid=$!
  window="$(window_named "Installazione di KORVAL")" || fail "no installer window in Italian"
  shot "$window" "installer-${1// /-}"
  xdotool key --window "$window" "$2" 2>/dev/null
  if [ -n "$3" ]; then
    question="$(another_window "Installazione di KORVAL" "$window")" || fail "no question"
    xdotool key --window "$question" "$3" 2>/dev/null
  fi
  ! ended "$pid" || fail "the installer reported success"
  [ "$(fingerprint)" = "$copy" ] || fail "the installer changed the installed copy"
}
step "the wizard stopped on its first page"
declined "stopped on its first page" Escape Return
step "a downgrade declined by the question's default, No"
"$wine" reg add "HKLM\\$key" /v DisplayVersion /d 99.0 /f >/dev/null 2>&1
declined "downgrade declined" Return ""
step "a silent downgrade refused"
! "$wine" "$installer" /S || fail "it went on"
wineserver -w
[ -f "$folder/bin/korval.exe" ] && [ "$(entry HKLM DisplayVersion)" = 99.0 ] || fail "it changed the installed copy"
"$wine" reg add "HKLM\\$key" /v DisplayVersion /d "$KORVAL_VERSION" /f >/dev/null 2>&1

step "the wizard in English on a German Windows"
LC_ALL=de_DE.UTF-8 "$wine" "$installer" >/dev/null 2>&1 &
pid=$!
window="$(window_named "KORVAL Setup")" || fail "no English wizard"
shot "$window" installer-german-windows
xdotool key --window "$window" Escape 2>/dev/null
question="$(another_window "KORVAL Setup" "$window")" || fail "no question whether to stop"
xdotool key --window "$question" Return 2>/dev/null
! ended "$pid" || fail "the stopped wizard reported success"

step "an upgrade asked for another folder, a program's bin folder there"
other="$WINEPREFIX/drive_c/Strumenti/bin"
mkdir -p "$other" && echo "not KORVAL's" >"$other/leggimi.txt" && cp "$folder/bin/korval.exe" "$other/altro.exe"
"$wine" "$installer" /S '/D=C:\Strumenti' && wineserver -w
[ -f "$other/leggimi.txt" ] && [ -f "$other/altro.exe" ] || fail "it took away another program's files"
[ -f "$folder/bin/korval.exe" ] && [ "$(entry HKLM InstallLocation)" = 'C:\Program Files\KORVAL' ] \
  || fail "it moved the copy"
rm -rf "$WINEPREFIX/drive_c/Strumenti"

step "a silent upgrade and uninstall while KORVAL runs"
start_korval upgrade
main="$(window_named "$main_it")" || fail "KORVAL did not start"
copy="$(fingerprint)"
! "$wine" "$installer" /S || fail "the upgrade went on"
# The uninstaller in place (_?=), so that its answer is the run's; NSIS reads
# the folder to the end of the line, which Wine would quote as one word.
! "$wine" "$folder/Uninstall.exe" /S '_?=C:\Program' 'Files\KORVAL' || fail "the uninstall went on"
[ "$(fingerprint)" = "$copy" ] || fail "the copy changed"

step "the wizard's upgrade asking for KORVAL to close"
LC_ALL=it_IT.UTF-8 "$wine" "$installer" >/dev/null 2>&1 &
pid=$!
window="$(window_named "Installazione di KORVAL")" || fail "no wizard"
shot "$window" installer-upgrade
# The first page of an upgrade installs.
xdotool key --window "$window" Return 2>/dev/null
question="$(another_window "Installazione di KORVAL" "$window")" || fail "it did not ask"
shot "$question" installer-korval-open
# Asked to close as Windows asks a program (WM_CLOSE), behind the question.
"$wine" taskkill /im korval.exe >/dev/null 2>&1 || true
ended "$app" || fail "KORVAL did not close when asked"
app=
# "Riprova", then "Fine" on the finish page, "Avvia KORVAL" ticked.
xdotool key --window "$question" Return 2>/dev/null
gone "$question" || fail "the question stayed"
# Return again until the finish page takes it: the wizard ends.
timeout 120 bash -c "while kill -0 $pid; do xdotool key --window $window Return; sleep 0.5; done" 2>/dev/null || true
ended "$pid" || fail "the upgrade over a closed KORVAL failed"

step "the finish page's KORVAL started by the user's shell, not the installer"
main="$(window_named "$main_it")" || fail "the finish page did not start KORVAL"
korval="$(pgrep -nf 'KORVAL.bin.korval\.exe')" || fail "no korval.exe process"
parent="$(tr '\0' ' ' <"/proc/$(ps -o ppid= -p "$korval" | tr -d ' ')/cmdline")"
[[ "$parent" != *korval-*-win64.exe* ]] || fail "KORVAL is the installer's child: $parent"
closed "$main" || fail "KORVAL started by the wizard did not close"

step "installed per user beside the copy for all users"
"$wine" "$installer" /S /CURRENTUSER && wineserver -w
personal="$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Local/Programs/KORVAL/bin/korval.exe')"
[ -n "$personal" ] || fail "not in %LOCALAPPDATA%\\Programs"
[ -n "$(entry HKCU InstallLocation)" ] || fail "no entry in Apps & features"
find "$WINEPREFIX/drive_c/users" -path '*Start Menu*' -name KORVAL.lnk | grep -q . || fail "no Start menu entry"

# Nothing of KORVAL left in the prefix: folders, entries, Start menu.
traceless() {
  for hive in HKLM HKCU; do
    ! "$wine" reg query "$hive\\$key" >/dev/null 2>&1 || fail "$hive\\$key is left"
    ! "$wine" reg query "$hive\\Software\\KORVAL" >/dev/null 2>&1 || fail "$hive\\Software\\KORVAL is left"
  done
  ! find "$WINEPREFIX/drive_c" -iname 'KORVAL*' | grep . || fail "files are left"
}
step "both copies uninstalled"
for copy in "$folder" "$(dirname "$(dirname "$personal")")"; do
  "$wine" "$copy/Uninstall.exe" /S && wineserver -w
done
traceless

# The MSI package by msiexec, as deployment tools run it.
msi() { "$wine" msiexec "$1" "Z:$2" /qn; }
step "the MSI package installed silently"
msi /i "$package" || fail "msiexec failed"
[ -f "$folder/bin/korval.exe" ] && [ -f "$folder/bin/platforms/qwindows.dll" ] || fail "no program in Program Files"
find "$WINEPREFIX/drive_c" -path '*Start Menu*' -name 'KORVAL.lnk' | grep -q . || fail "no Start menu entry"
# A value of the package's entry in Apps & features, under its product code.
msi_entry() {
  local code
  for code in $("$wine" reg query "HKLM\\${key%KORVAL}" 2>/dev/null | tr -d '\r' | grep -o '{.*}'); do
    [ "$(entry HKLM "$code" DisplayName)" != KORVAL ] || entry HKLM "$code" "$1"
  done
}
[ "$(msi_entry DisplayName)" = KORVAL ] && [ "$(msi_entry DisplayVersion)" = "$KORVAL_VERSION" ] \
  && [ -n "$(msi_entry Publisher)" ] && [ -n "$(msi_entry Size)" ] || fail "Apps & features lacks its values"
find "$WINEPREFIX/drive_c/windows/Installer" -name korval.ico | grep -q . || fail "no icon for Apps & features"

step "the installer refused over the MSI package's copy"
copy="$(cd "$folder" && find . -type f -exec md5sum {} + | sort)"
! "$wine" "$installer" /S || fail "it went on"
wineserver -w
[ "$(cd "$folder" && find . -type f -exec md5sum {} + | sort)" = "$copy" ] || fail "it changed the copy"
[ ! -e "$folder/Uninstall.exe" ] || fail "it left its uninstaller in the copy"

step "the MSI package upgraded by a newer build, an older one refused"
sh "$root/cmake/msi.sh" "$build" 99.1 "$build/korval-newer.msi" >/dev/null
sh "$root/cmake/msi.sh" "$build" 1.0 "$build/korval-older.msi" >/dev/null
msi /i "$build/korval-newer.msi" || fail "the newer package failed"
[ "$(msi_entry DisplayVersion)" = 99.1 ] || fail "not one entry at the newer version: $(msi_entry DisplayVersion)"
! msi /i "$package" || fail "the build's own package went over the newer one"
! msi /i "$build/korval-older.msi" || fail "the older package went on"
[ "$(msi_entry DisplayVersion)" = 99.1 ] && [ -f "$folder/bin/korval.exe" ] || fail "a refusal changed the copy"

step "the MSI package removed silently"
msi /x "$build/korval-newer.msi" || fail "msiexec /x failed"
traceless

step "the MSI package refused over the installer's copy"
"$wine" "$installer" /S && wineserver -w
! msi /i "$package" || fail "it went on"
[ -z "$(msi_entry DisplayName)" ] && [ -f "$folder/Uninstall.exe" ] || fail "it changed the copy"
"$wine" "$folder/Uninstall.exe" /S && wineserver -w
traceless
rm -f "$build/korval-newer.msi" "$build/korval-older.msi"
echo "Every installer situation as expected."
