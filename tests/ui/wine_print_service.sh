#!/usr/bin/env bash
# The print service of the print tests under Wine: `start FOLDER PREFIX` or
# `stop FOLDER`. Wine takes its printers from CUPS when the first program of
# a prefix starts, through the CUPS_SERVER that program was started with, so
# the scheduler and the queue table's queues that need nothing are made
# before the first of them; FOLDER-empty is a scheduler without queues. The
# tests print from Qt's Windows platform, as users do, on an X server of
# their own in a Wine prefix of their own (PREFIX). What a test's Wine needs
# is in FOLDER.env and FOLDER-empty.env, which the build's Wine runner reads
# (KORVAL_WINE_ENV).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
service="$here/../support/print_service.sh"
root="$2"

stop() {
  bash "$service" stop "$root"
  bash "$service" stop "$root-empty"
  [ -f "$root.xvfb.pid" ] && kill "$(cat "$root.xvfb.pid")" 2>/dev/null
  rm -rf "$root" "$root-empty" "$root".* "$root-empty".*
}

ready() {
  # shellcheck source=../../scripts/xvfb.sh
  source "$here/../../scripts/xvfb.sh"
  start_xvfb && echo "$xvfb" >"$root.xvfb.pid" && bash "$service" start "$root-empty" \
    && bash "$service" start "$root" && bash "$service" queues "$root" || return 1
  for folder in "$root" "$root-empty"; do
    echo "export CUPS_SERVER='$folder/cups.sock' WINEPREFIX='$prefix' KORVAL_WINE_DISPLAY='$DISPLAY'" >"$folder.env"
  done
}

case "$1" in
  start)
    prefix="$3"
    stop
    # The servers outlive this script: their output goes to a file, or
    # CTest would wait for it.
    if ! ready >"$root.log" 2>&1 </dev/null || ! CUPS_SERVER="$root/cups.sock" LC_ALL=C lpstat -p; then
      cat "$root.log" >&2
      exit 1
    fi
    ;;
  stop)
    stop
    ;;
  *)
    echo "usage: $0 start FOLDER PREFIX | stop FOLDER" >&2
    exit 2
    ;;
esac
