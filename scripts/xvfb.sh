# Sourced: starts a private X server on a display number it picks itself
# (never one another server holds), exports DISPLAY and sets xvfb to its pid.
# Fails when the server does not come up within a minute (a busy machine
# may take that long).
start_xvfb() {
  local numberfile
  numberfile="$(mktemp)"
  # -noreset: the server stays as it is when its last client (the probe
  # below) leaves, rather than resetting under the next one.
  Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1280x1024x24}" -nolisten tcp -noreset 3>"$numberfile" >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 600); do
    [ -s "$numberfile" ] && break
    sleep 0.1
  done
  if [ ! -s "$numberfile" ]; then
    rm -f "$numberfile"
    echo "Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$(head -n 1 "$numberfile")"
  rm -f "$numberfile"
  # Ready when a client gets in, as the program will.
  for _ in $(seq 600); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb on $DISPLAY does not answer" >&2
  return 1
}
