#!/usr/bin/env bash
# Start-up of KORVAL against a minimal Qt Widgets window: from exec to the
# first window mapped on a private X server (with a window manager unless
# --no-wm), the two programs started in turn, and KORVAL's resident memory
# once its window is up. Needs a build with -DKORVAL_BUILD_BENCHMARKS=ON and
# Xvfb, xev (x11-utils) and, for the window manager, openbox.
#   bench/startup.sh [build folder] [runs] [--no-wm]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
runs="${2:-15}"
wm=yes
[ "${3:-}" = --no-wm ] && wm=no
korval="$build/app/korval"
baseline="$build/bench/korval_minimal_window"
for program in "$korval" "$baseline"; do
  [ -x "$program" ] || { echo "missing $program: build with -DKORVAL_BUILD_BENCHMARKS=ON" >&2; exit 2; }
done

source "$(dirname "${BASH_SOURCE[0]}")/../scripts/xvfb.sh"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT
start_xvfb
pids+=("$xvfb")
unset QT_QPA_PLATFORM
if [ "$wm" = yes ]; then
  openbox >/dev/null 2>&1 &
  pids+=($!)
  sleep 1
fi

# One start: prints milliseconds from exec to the first window mapped, then
# the resident memory in kB half a second later.
fifo="$(mktemp -u)"
mkfifo "$fifo"
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -f "$fifo"' EXIT
measure() {
  local program="$1" line start mapped rss watch app
  stdbuf -oL xev -root -event substructure >"$fifo" &
  watch=$!
  exec 3<"$fifo"
  sleep 0.3  # xev is listening
  start=$EPOCHREALTIME
  "$program" >/dev/null 2>&1 &
  app=$!
  while read -r line <&3; do
    [[ $line == MapNotify* ]] && break
  done
  mapped=$EPOCHREALTIME
  sleep 0.5
  rss=$(awk '/^VmRSS/ {print $2}' "/proc/$app/status")
  kill "$app" "$watch" 2>/dev/null || true
  wait "$app" "$watch" 2>/dev/null || true
  exec 3<&-
  awk -v s="$start" -v m="$mapped" -v r="$rss" 'BEGIN { printf "%.1f %d\n", (m - s) * 1000, r }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

korval_ms=() baseline_ms=() korval_kb=()
measure "$korval" >/dev/null  # warm the caches once
measure "$baseline" >/dev/null
for _ in $(seq "$runs"); do
  read -r ms kb < <(measure "$korval")
  korval_ms+=("$ms") korval_kb+=("$kb")
  read -r ms _ < <(measure "$baseline")
  baseline_ms+=("$ms")
done
k=$(printf '%s\n' "${korval_ms[@]}" | median)
b=$(printf '%s\n' "${baseline_ms[@]}" | median)
m=$(printf '%s\n' "${korval_kb[@]}" | median)
echo "window manager: $wm, runs: $runs"
echo "KORVAL          exec to window, median: $k ms"
echo "minimal window  exec to window, median: $b ms"
awk -v k="$k" -v b="$b" 'BEGIN { printf "ratio: %.2f\n", k / b }'
awk -v m="$m" 'BEGIN { printf "KORVAL resident memory after start-up, median: %.1f MB\n", m / 1024 }'
