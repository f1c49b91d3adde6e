#!/usr/bin/env bash
# A CUPS scheduler of its own in FOLDER, for the print tests, the print
# benchmark and the installed Windows program: its configuration, spool and
# socket in FOLDER, the user's printers untouched. A client prints there
# with CUPS_SERVER=FOLDER/cups.sock. Every queue hands its jobs to the
# korvalpdf backend, which keeps them in FOLDER/out.
#   start FOLDER            the scheduler, anew and without queues
#   queue FOLDER NAME [URI] the queue NAME of queues.tsv (at URI if given)
#   queues FOLDER [OFFER..] every queue of queues.tsv that needs nothing, or
#                           one of the OFFERs
#   job FOLDER              the first whole job's file, within a minute
#   driverless FOLDER       a driverless printer (its URI): CUPS's own IPP
#                           Everywhere printer on a loopback port
#   driverless-job FOLDER   the first document it printed, within a minute
#   stop FOLDER
#   wine FOLDER PREFIX      the Wine print tests' service, made before the
#                           first program of their prefix starts (Wine reads
#                           its printers then): FOLDER with the queues that
#                           need nothing or a Windows port, FOLDER-empty
#                           without any, an X
#                           server, and what the build's Wine runner reads
#                           (KORVAL_WINE_ENV) in FOLDER.env and FOLDER-empty.env
#   wine-stop FOLDER
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
usage() {
  echo "usage: $0 COMMAND FOLDER [ARGUMENTS], as listed at its head" >&2
  exit 2
}
[ $# -ge 2 ] || usage
root="$2"
export CUPS_SERVER="$root/cups.sock"

# Runs $1 until it succeeds, up to a minute (a busy machine).
within_a_minute() {
  for _ in $(seq 600); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# lpadmin warns that drivers are deprecated; these are CUPS's own.
add() {
  local name="$1" uri="$2" needs paper margins options arguments
  IFS=$'\t' read -r _ needs paper margins options arguments < <(grep -P "^\Q$name\E\t" "$here/cups/queues.tsv")
  [ -n "${arguments:-}" ] || { echo "no queue $name in queues.tsv" >&2; return 1; }
  # shellcheck disable=SC2086 # the table's arguments are words
  lpadmin -p "$name" -E -v "$uri" $arguments 2>/dev/null
}

first_job() {
  local job
  job="$(find "$root/out" -name 'job-*' ! -name '*.part' 2>/dev/null | sort | head -n 1)"
  [ -n "$job" ] && echo "$job"
}

# The queue's backend waits until the printer has done the job.
driverless_job() {
  local job
  job="$(find "$root/driverless" -name '*.pdf' 2>/dev/null | head -n 1)"
  [ -n "$job" ] && [ -z "$(lpstat -o)" ] && echo "$job"
}

gone() { ! kill -0 "$1" 2>/dev/null; }
running() { LC_ALL=C lpstat -r 2>/dev/null | grep -q "scheduler is running"; }
listening() { (echo >"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

stop() {
  local pidfile pid
  for pidfile in "$root"/*.pid; do
    [ -f "$pidfile" ] || continue
    pid="$(cat "$pidfile")"
    rm -f "$pidfile"
    kill "$pid" 2>/dev/null && within_a_minute gone "$pid"
  done
  return 0
}

case "$1" in
  start)
    stop
    rm -rf "$root"
    mkdir -p "$root"/{conf,spool,cache,state,log,tmp,out,serverbin/backend}
    # The scheduler's helpers (the driver lister among them) run as its
    # unprivileged user.
    chmod 7755 "$root"
    chmod 7777 "$root/out" "$root/tmp"
    for sub in filter daemon cgi-bin driver notifier monitor backend/ipp; do
      ln -s "/usr/lib/cups/$sub" "$root/serverbin/$sub"
    done
    for conf in cupsd.conf cups-files.conf; do
      sed "s|@ROOT@|$root|g" "$here/cups/$conf" >"$root/conf/$conf"
    done
    # Owner-only: the scheduler runs such a backend with its own rights.
    install -m 700 "$here/cups/korvalpdf" "$root/serverbin/backend/korvalpdf"
    cupsd -f -c "$root/conf/cupsd.conf" -s "$root/conf/cups-files.conf" >"$root/log/cupsd" 2>&1 </dev/null &
    echo $! >"$root/cupsd.pid"
    within_a_minute running || { cat "$root/log/cupsd" "$root/log/error_log" >&2; exit 1; }
    ;;
  queue) add "$3" "${4:-korvalpdf:$root/out}" ;;
  queues)
    offers=" any ${*:3} "
    grep -v '^#' "$here/cups/queues.tsv" | while IFS=$'\t' read -r name needs _; do
      if [[ "$offers" == *" $needs "* ]]; then add "$name" "korvalpdf:$root/out"; fi
    done
    ;;
  job) within_a_minute first_job ;;
  driverless)
    mkdir -p "$root/driverless"
    dbus-daemon --session --fork --print-pid --address="unix:path=$root/bus" >"$root/bus.pid"
    port=$((20000 + RANDOM % 20000))
    while listening "$port"; do port=$((port + 1)); done
    DBUS_SYSTEM_BUS_ADDRESS="unix:path=$root/bus" ippeveprinter -n localhost -p "$port" -d "$root/driverless" \
      -k -f application/pdf,image/pwg-raster,image/urf -r off KorvalDriverless >"$root/log/driverless" 2>&1 </dev/null &
    echo $! >"$root/driverless.pid"
    within_a_minute listening "$port" || { cat "$root/log/driverless" >&2; exit 1; }
    echo "ipp://localhost:$port/ipp/print"
    ;;
  driverless-job) within_a_minute driverless_job ;;
  wine)
    bash "$0" wine-stop "$root"
    # The servers outlive this script: their output goes to a file, or
    # CTest would wait for it.
    (
      # shellcheck source=../../scripts/xvfb.sh
      source "$here/../../scripts/xvfb.sh"
      start_xvfb && echo "$xvfb" >"$root.xvfb.pid" && bash "$0" start "$root-empty" && bash "$0" start "$root" \
        && bash "$0" queues "$root" file-port || exit 1
      for folder in "$root" "$root-empty"; do
        echo "export CUPS_SERVER='$folder/cups.sock' WINEPREFIX='$3' KORVAL_WINE_DISPLAY='$DISPLAY'" >"$folder.env"
      done
    ) >"$root.log" 2>&1 </dev/null || { cat "$root.log" >&2; exit 1; }
    ;;
  wine-stop)
    bash "$0" stop "$root"
    bash "$0" stop "$root-empty"
    [ ! -f "$root.xvfb.pid" ] || kill "$(cat "$root.xvfb.pid")" 2>/dev/null || true
    rm -rf "$root" "$root-empty" "$root".* "$root-empty".*
    ;;
  stop) stop ;;
  *) usage ;;
esac
