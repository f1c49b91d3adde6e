#!/usr/bin/env bash
# KORVAL installed silently and started from Program Files on Qt's Windows
# platform at 100 % and 150 % (144 dpi), driven by keys alone: a lamp group
# added, calculated, printed, the price list, the language. The report is
# read back from the Wine print service's queue; at 150 % the default printer
# is on the port FILE: and asks where to save.
source "$(dirname "$0")/wine_desktop.sh"
spool="$(dirname "$CUPS_SERVER")"

step "the installer run silently"
# Wine keeps the port a printer is given once it has read it from CUPS.
"$wine" reg add 'HKLM\System\CurrentControlSet\Control\Print\Printers\file-port' /v Port /d FILE: /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Microsoft\Windows NT\CurrentVersion\Devices' /v file-port /d wineps.drv,FILE: /f \
  >/dev/null 2>&1
"$wine" "$installer" /S && wineserver -w
[ -f "$folder/bin/korval.exe" ] || fail "no korval.exe in Program Files"

for dpi in 96 144; do
  scale=$((dpi * 100 / 96))
  step "KORVAL started at $scale %"
  wineserver -k || true
  wineserver -w
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  # Wine's default printer follows CUPS's when its programs start.
  printer="$(awk -F '\t' '!/^#/ && $2 == "any" && $3 == "a4" {print $1; exit}' "$(dirname "$0")/../support/cups/queues.tsv")"
  [ "$dpi" = 96 ] || printer=file-port
  lpadmin -d "$printer"
  start_korval "$scale"
  main="$(window_named "$main_it")" || fail "no main window"
  shot "$main" "main-start-$scale"

  step "a lamp group added by keys at $scale %"
  # "Aggiungi Lampade" has the focus at the start; the dialog opens on its
  # first field, and OK is the third stop after the last field.
  xdotool key --window "$main" space 2>/dev/null
  dialog="$(window_named "$lamps_it")" || fail "no lamp dialog"
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
  rm -f "$spool"/out/*
  xdotool key --delay 50 --window "$main" space 2>/dev/null
  shot "$main" "main-result-$scale"
  xdotool key --window "$main" space 2>/dev/null
  if [ "$printer" = file-port ]; then
    save="$(window_named "$save_it")" || fail "no question where to save"
    shot "$save" "save-question-$scale"
    job="$spool/out/saved.prn"
    # Typed as a keyboard types, into the focused name field: a colon needs Shift.
    xdotool windowfocus --sync "$save" key ctrl+a type --delay 20 "Z:$job" 2>/dev/null
    xdotool key --window "$save" Return 2>/dev/null
    timeout 60 bash -c "until grep -qs '%%EOF' '$job'; do sleep 0.2; done" || fail "nothing saved where asked"
  else
    job="$(bash "$root/tests/support/print_service.sh" job "$spool")" || fail "no job reached the print queue"
  fi
  report="$shots/report-$scale"
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
  xdotool key --delay 50 --window "$main" Tab Tab Tab Tab space 2>/dev/null
  list="$(window_named "$prices_it")" || fail "no price list"
  shot "$list" "pricelist-$scale"
  closed "$list" || fail "the price list did not close"
  # Back on the main window, as a user comes back to it, "CALCOLA" has the
  # focus; the language box is the fifth stop after it (the lists take one
  # each), "Elenco UPS" the fifth after that.
  xdotool windowfocus --sync "$main" 2>/dev/null
  shot "$main" "main-back-$scale"
  xdotool key --delay 50 --window "$main" Tab Tab Tab Tab Tab Down 2>/dev/null
  shot "$main" "main-english-$scale"
  xdotool key --delay 50 --window "$main" Tab Tab Tab Tab Tab space 2>/dev/null
  list="$(window_named "$prices_en")" || fail "no English price list"
  shot "$list" "pricelist-english-$scale"
  closed "$list" || fail "the English price list did not close"
  closed "$main" || fail "KORVAL did not close on Alt+F4"
  ended "$app" || fail "KORVAL ended unsuccessfully"
  app=
done
echo "Screenshots of the installed KORVAL in $shots"
