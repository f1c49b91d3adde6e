#!/usr/bin/env bash
# The installer's and the MSI package's situations, as users and IT
# departments meet them, in one fresh prefix.
source "$(dirname "$0")/wine_desktop.sh"
# The installed copy, file for file, and its entry.
fingerprint() { (cd "$folder" && find . -type f -exec md5sum {} + | sort) && "$wine" reg query "HKLM\\$key"; }
msi() { "$wine" msiexec "$1" "Z:$2" /qn; }
# A value of the MSI package's entry in Apps & features, under its product code.
msi_entry() {
  for code in $("$wine" reg query "HKLM\\${key%KORVAL}" 2>/dev/null | grep -o '{.*}'); do
    [ "$(value HKLM "${key%KORVAL}$code" DisplayName)" != KORVAL ] || value HKLM "${key%KORVAL}$code" "$1"
  done
}
# Nothing of KORVAL left: folders, entries, Start menu.
traceless() {
  for hive in HKLM HKCU; do
    ! "$wine" reg query "$hive\\$key" >/dev/null 2>&1 || fail "$hive\\$key is left"
    ! "$wine" reg query "$hive\\Software\\KORVAL" >/dev/null 2>&1 || fail "$hive\\Software\\KORVAL is left"
  done
  [ -z "$(msi_entry DisplayName)" ] || fail "the MSI package's entry is left"
  ! find "$WINEPREFIX/drive_c" -iname 'KORVAL*' | grep . || fail "files are left"
}

step "installed silently, with a Start menu entry and its entry in Apps & features"
"$wine" "$installer" /S && wineserver -w
[ -f "$folder/bin/korval.exe" ] && [ -f "$folder/bin/platforms/qwindows.dll" ] || fail "no program in Program Files"
for name in DisplayVersion Publisher InstallLocation DisplayIcon EstimatedSize UninstallString; do
  [ -n "$(entry HKLM "$name")" ] || fail "Apps & features has no $name"
done
find "$WINEPREFIX/drive_c" -path '*Start Menu*' -name 'KORVAL.lnk' | grep -q . || fail "no Start menu entry"

step "every binary stripped${KORVAL_SIGN_CA:+ and signed}"
for binary in "$folder"/bin/*.exe "$folder"/bin/*.dll "$folder"/bin/*/*.dll "$folder/Uninstall.exe" "$installer" \
  "$package"; do
  [[ "$binary" == *.msi ]] || ! x86_64-w64-mingw32-objdump -h "$binary" | grep -q '\.debug_' \
    || fail "$(basename "$binary") keeps its debugging information"
  [ -z "${KORVAL_SIGN_CA:-}" ] || osslsigncode verify -CAfile "$KORVAL_SIGN_CA" -in "$binary" >/dev/null \
    || fail "$(basename "$binary") is not signed"
done
echo "  installed $(du -sk "$folder" | cut -f1) KiB; installer $(du -k "$installer" | cut -f1) KiB," \
  "MSI package $(du -k "$package" | cut -f1) KiB"

step "installed again over itself, silently"
"$wine" "$installer" /S && wineserver -w
[ -f "$folder/bin/korval.exe" ] && [ "$(entry HKLM DisplayVersion)" = "$KORVAL_VERSION" ] || fail "the copy is lost"

# The wizard in the language of LC_ALL, started over the installed copy,
# given the keys $3 on its first page, then $4 in the question that follows.
wizard() {
  LC_ALL="$1" "$wine" "$installer" >/dev/null 2>&1 &
  pid=$!
  window="$(window_named "$2")" || fail "no wizard"
  shot "$window" "installer-${current//[^a-zA-Z]/-}"
  xdotool key --window "$window" "$3" 2>/dev/null
  [ -z "${4:-}" ] || question="$(window_named "$2" "$window")" || fail "no question"
  [ -z "${4:-}" ] || xdotool key --window "$question" "$4" 2>/dev/null
}
step "the wizard stopped on its first page"
copy="$(fingerprint)"
wizard it_IT.UTF-8 "Installazione di KORVAL" Escape Return
! ended "$pid" && [ "$(fingerprint)" = "$copy" ] || fail "it reported success, or changed the copy"
step "a downgrade declined by the question's default, No"
"$wine" reg add "HKLM\\$key" /v DisplayVersion /d 99.0 /f >/dev/null 2>&1
copy="$(fingerprint)"
wizard it_IT.UTF-8 "Installazione di KORVAL" Return
! ended "$pid" && [ "$(fingerprint)" = "$copy" ] || fail "it reported success, or changed the copy"
step "a silent downgrade refused"
! "$wine" "$installer" /S || fail "it went on"
wineserver -w
[ "$(fingerprint)" = "$copy" ] || fail "it changed the installed copy"
"$wine" reg add "HKLM\\$key" /v DisplayVersion /d "$KORVAL_VERSION" /f >/dev/null 2>&1
step "the wizard in English on a German Windows"
wizard de_DE.UTF-8 "KORVAL Setup" Escape Return
! ended "$pid" || fail "the stopped wizard reported success"

step "an upgrade asked for another folder, a program's bin folder there"
other="$WINEPREFIX/drive_c/Strumenti/bin"
mkdir -p "$other" && echo "not KORVAL's" >"$other/leggimi.txt" && cp "$folder/bin/korval.exe" "$other/altro.exe"
"$wine" "$installer" /S '/D=C:\Strumenti' && wineserver -w
[ -f "$other/leggimi.txt" ] && [ -f "$other/altro.exe" ] || fail "it took away another program's files"
[ "$(entry HKLM InstallLocation)" = 'C:\Program Files\KORVAL' ] || fail "it moved the copy"
rm -rf "$WINEPREFIX/drive_c/Strumenti"

step "a silent upgrade and uninstall while KORVAL runs"
start_korval upgrade
window_named "$main_it" >/dev/null || fail "KORVAL did not start"
copy="$(fingerprint)"
! "$wine" "$installer" /S || fail "the upgrade went on"
# The uninstaller in place (_?=), so that its answer is the run's; NSIS reads
# the folder to the end of the line, which Wine would quote as one word.
! "$wine" "$folder/Uninstall.exe" /S '_?=C:\Program' 'Files\KORVAL' || fail "the uninstall went on"
[ "$(fingerprint)" = "$copy" ] || fail "the copy changed"

step "the wizard's upgrade asking for KORVAL to close"
# Its first page installs; the question comes before anything changes.
wizard it_IT.UTF-8 "Installazione di KORVAL" Return
question="$(window_named "Installazione di KORVAL" "$window")" || fail "it did not ask"
shot "$question" installer-korval-open
processes() { "$wine" "$build/tests/windows/windows_processes.exe" | tr -d '\r'; }
installing="$(processes | awk '$3 ~ /^korval-.*-win64\.exe$/ { print $1 }')"
# Asked to close as Windows asks a program (WM_CLOSE), behind the question.
"$wine" taskkill /im korval.exe >/dev/null 2>&1 || true
ended "$app" || fail "KORVAL did not close when asked"
app=
# "Riprova", then Return until the finish page takes it ("Fine", "Avvia
# KORVAL" ticked).
xdotool key --window "$question" Return 2>/dev/null
gone "$question" || fail "the question stayed"
timeout 120 bash -c "while kill -0 $pid; do xdotool key --window $window Return; sleep 0.5; done" 2>/dev/null || true
ended "$pid" || fail "the upgrade over a closed KORVAL failed"

step "the finish page's KORVAL started by the user's shell, not the installer"
main="$(window_named "$main_it")" || fail "the finish page did not start KORVAL"
starter="$(processes | awk '$3 == "korval.exe" { print $2 }')"
[ -n "$installing" ] && [ -n "$starter" ] && [ "$starter" != "$installing" ] \
  || fail "KORVAL (started by $starter) is the installer's ($installing) child, with its rights"
closed "$main" || fail "KORVAL started by the wizard did not close"

step "installed per user beside the copy for all users"
"$wine" "$installer" /S /CURRENTUSER && wineserver -w
personal="$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Local/Programs/KORVAL/bin/korval.exe')"
[ -n "$personal" ] || fail "not in %LOCALAPPDATA%\\Programs"
[ -n "$(entry HKCU InstallLocation)" ] || fail "no entry in Apps & features"
find "$WINEPREFIX/drive_c/users" -path '*Start Menu*' -name KORVAL.lnk | grep -q . || fail "no Start menu entry"

step "both copies uninstalled"
for copy in "$folder" "$(dirname "$(dirname "$personal")")"; do
  "$wine" "$copy/Uninstall.exe" /S && wineserver -w
done
traceless

step "the MSI package installed silently"
msi /i "$package" || fail "msiexec failed"
[ -f "$folder/bin/korval.exe" ] && [ -f "$folder/bin/platforms/qwindows.dll" ] || fail "no program in Program Files"
find "$WINEPREFIX/drive_c" -path '*Start Menu*' -name 'KORVAL.lnk' | grep -q . || fail "no Start menu entry"
[ "$(msi_entry DisplayVersion)" = "$KORVAL_VERSION" ] && [ -n "$(msi_entry Publisher)" ] \
  && [ -n "$(msi_entry Size)" ] || fail "Apps & features lacks its values"
find "$WINEPREFIX/drive_c/windows/Installer" -name korval.ico | grep -q . || fail "no icon for Apps & features"

step "the installer refused over the MSI package's copy"
copy="$(cd "$folder" && find . -type f -exec md5sum {} + | sort)"
! "$wine" "$installer" /S || fail "it went on"
wineserver -w
[ "$(cd "$folder" && find . -type f -exec md5sum {} + | sort)" = "$copy" ] || fail "it changed the copy"

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
