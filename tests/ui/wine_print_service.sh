#!/usr/bin/env bash
# The print service of the print tests under Wine: `start FOLDER PREFIX` or
# `stop FOLDER`. Wine takes its printers from CUPS when the first program of
# a prefix starts, through the CUPS_SERVER that program was started with, so
# the scheduler and every queue the tests print to are made before the
# first of them. The queues are those of the print tests' table of what
# users add (print_test.cpp), each keeping what leaves the filter chain in
# FOLDER/out; "korval", the default, is a PostScript printer on A4.
# FOLDER-empty is a scheduler without queues. The tests print from Qt's
# Windows platform, as users do, on an X server of their own in a Wine
# prefix of their own (PREFIX). What a test's Wine needs is in FOLDER.env
# and FOLDER-empty.env, which the build's Wine runner reads
# (KORVAL_WINE_ENV).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=../../scripts/private-cups.sh
source "$here/../../scripts/private-cups.sh"
# shellcheck source=../../scripts/xvfb.sh
source "$here/../../scripts/xvfb.sh"
root="$2"

stop() {
  local pidfile pid
  for pidfile in "$root/cupsd.pid" "$root-empty/cupsd.pid" "$root.xvfb.pid"; do
    [ -f "$pidfile" ] || continue
    pid="$(cat "$pidfile")"
    kill "$pid" 2>/dev/null || continue
    for _ in $(seq 100); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
  done
  rm -rf "$root" "$root-empty" "$root".* "$root-empty".*
}

case "$1" in
  start)
    prefix="$3"
    stop
    # The servers outlive this script: their output goes to a file, or
    # CTest would wait for it.
    (
      start_xvfb
      echo "$xvfb" >"$root.xvfb.pid"
      start_private_cups "$root-empty"
      echo "$cupsd" >"$root-empty/cupsd.pid"
      lpadmin -x korval
      start_private_cups "$root"
      echo "$cupsd" >"$root/cupsd.pid"
      queue() {
        local name="$1"
        shift
        lpadmin -p "$name" -E -v "korvalpdf:$root/out" "$@"
      }
      queue cups-pdf -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd
      queue cups-pdf-letter -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd -o PageSize=Letter
      queue generic-a4 -m drv:///sample.drv/generic.ppd -o PageSize=A4
      queue laserjet -m drv:///sample.drv/laserjet.ppd
      for folder in "$root" "$root-empty"; do
        echo "export CUPS_SERVER='$folder/cups.sock' WINEPREFIX='$prefix' KORVAL_WINE_DISPLAY='$DISPLAY'" \
          >"$folder.env"
      done
    ) >"$root.log" 2>&1 </dev/null
    CUPS_SERVER="$root/cups.sock" LC_ALL=C lpstat -d -p && [ -s "$root-empty.env" ] || {
      cat "$root.log" >&2
      exit 1
    }
    ;;
  stop)
    stop
    ;;
  *)
    echo "usage: $0 start FOLDER PREFIX | stop FOLDER" >&2
    exit 2
    ;;
esac
