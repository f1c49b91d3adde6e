#!/usr/bin/env bash
# KORVAL as a Windows user has it: installed silently by its installer into
# a fresh prefix, then started from Program Files on Qt's own Windows
# platform at 100 % and at 150 % (Windows' 144 dpi) and driven by keys
# alone: a lamp group added, calculated, printed, the price list opened, the
# language switched. The result is read back from the printed report:
# Wine's printers are the Wine print service's CUPS queues; at 150 % the
# default is the printer on the port FILE:, which asks where to save. The
# windows are in the screenshots it leaves in <build>/windows-screenshots.
# shellcheck source=wine_desktop.sh
source "$(dirname "$0")/wine_desktop.sh"
service="$root/tests/support/print_service.sh"
spool="$(dirname "$CUPS_SERVER")"

step "the installer run silently"
# Wine keeps the port a printer is given once it has read it from CUPS.
"$wine" reg add 'HKLM\System\CurrentControlSet\Control\Print\Printers\file-port' /v Port /d FILE: /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Microsoft\Windows NT\CurrentVersion\Devices' /v file-port /d wineps.drv,FILE: /f \
  >/dev/null 2>&1
"$wine" "$installer" /S
wineserver -w
[ -f "$folder/bin/korval.exe" ] || fail "no korval.exe in Program Files"
[ -f "$folder/bin/platforms/qwindows.dll" ] || fail "no platform plugin"
"$wine" reg query "HKLM\\$key" >/dev/null 2>&1 || fail "no entry in Apps & features"
for value in DisplayVersion Publisher InstallLocation DisplayIcon EstimatedSize UninstallString; do
  [ -n "$(entry HKLM "$value")" ] || fail "Apps & features has no $value"
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
echo "  installed: $(du -sk "$folder" | cut -f1) KiB; installer: $(du -k "$installer" | cut -f1) KiB;" \
  "MSI package: $(du -k "$package" | cut -f1) KiB"

for dpi in 96 144; do
  scale=$((dpi * 100 / 96))
  step "KORVAL started at $scale %"
  wineserver -k 2>/dev/null || true
  wineserver -w
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  # Wine's default printer follows CUPS's when its programs start.
  printer=generic-a4
  [ "$dpi" = 96 ] || printer=file-port
  lpadmin -d "$printer"
  start_korval "$scale"
  main="$(window_named "$main_it")" || fail "no main window"
  shot "$main" "main-start-$scale"

  step "a lamp group added by keys at $scale %"
  # "Aggiungi Lampade" has the focus at the start; the dialog opens on its
  # first field, and OK is the third stop after the last field.
  press "$main" space
  dialog="$(window_named "$lamps_it")" || fail "no lamp dialog"
  # Keys reach a window once Wine has drawn it.
  shot "$dialog" "dialog-open-$scale"
  for field in 10 2 36 0.9; do
    xdotool type --delay 50 --window "$dialog" "$field" 2>/dev/null
    xdotool key --window "$dialog" Tab 2>/dev/null
  done
  shot "$dialog" "dialog-$scale"
  xdotool key --window "$dialog" Tab Tab space 2>/dev/null
  gone "$dialog" || fail "the lamp dialog did not close on OK"

  step "calculated and printed to $printer at $scale %"
  # Back on the main window "CALCOLA" has the focus, then "Stampa".
  keys_changing "$main" space || fail "CALCOLA showed nothing"
  shot "$main" "main-result-$scale"
  rm -f "$spool"/out/*
  press "$main" space
  if [ "$printer" = file-port ]; then
    # KORVAL asks where to save, its name field ready for a name.
    save="$(window_named "$save_it")" || fail "no question where to save"
    shot "$save" "save-question-$scale"
    job="$spool/out/saved.prn"
    # Typed as a keyboard types, into the focused field: a colon needs Shift.
    xdotool windowfocus --sync "$save" key ctrl+a type --delay 20 "Z:$job" 2>/dev/null
    xdotool key --window "$save" Return 2>/dev/null
    timeout 60 bash -c "until grep -qs '%%EOF' '$job'; do sleep 0.2; done" || fail "nothing saved where asked"
  else
    job="$(bash "$service" job "$spool")" || fail "no job reached the print queue"
  fi
  report="$build/windows-screenshots/report-$scale"
  ps2pdf "$job" "$report.pdf"
  pdfinfo "$report.pdf" | grep -q 'Page size: *595.* x 842' || fail "the report is not on the queue's A4"
  words="$(pdftotext -layout "$report.pdf" - | tr -s ' ')"
  for expected in "860 W" "1 ora QX10011 1000 W 1" "10 2 36 0.9 Elettronico 1 ora"; do
    grep -qF "$expected" <<<"$words" || fail "the printed report lacks \"$expected\""
  done
  pdftoppm -r 60 -png -singlefile "$report.pdf" "$report"

  step "the price list and the language by keys at $scale %"
  # A printed report gives the focus back to "Aggiungi Lampade"; "Elenco
  # UPS" is the fourth stop after it.
  shot "$main" "main-printed-$scale"
  press "$main" Tab Tab Tab Tab space
  list="$(window_named "$prices_it")" || fail "no price list"
  shot "$list" "pricelist-$scale"
  closed "$list" || fail "the price list did not close"
  # Back on the main window, as a user comes back to it, "CALCOLA" has the
  # focus; the language box is the fifth stop after it (the lists take one
  # each), "Elenco UPS" the fifth after that.
  xdotool windowfocus --sync "$main" 2>/dev/null
  shot "$main" "main-back-$scale"
  press "$main" Tab Tab Tab Tab Tab Down
  shot "$main" "main-english-$scale"
  press "$main" Tab Tab Tab Tab Tab space
  list="$(window_named "$prices_en")" || fail "no English price list"
  shot "$list" "pricelist-english-$scale"
  closed "$list" || fail "the English price list did not close"
  closed "$main" || fail "KORVAL did not close on Alt+F4"
  ended "$app" || fail "KORVAL ended unsuccessfully"
  app=
done
echo "Screenshots of the installed KORVAL in $build/windows-screenshots"
