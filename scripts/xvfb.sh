# Sourced: starts a private X server on a display number it picks itself
# (never one another server holds), exports DISPLAY and sets xvfb to its pid.
# The server writes that number once it takes clients; it fails when that
# has not come within a minute (a busy machine may take that long).
start_xvfb() {
  local fifo number
  fifo="$(mktemp -u)"
  mkfifo "$fifo"
  # -noreset: the server stays as it is when a client leaves, rather than
  # resetting under the next one.
  Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1280x1024x24}" -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  xvfb=$!
  if ! read -r -t 60 number <"$fifo"; then
    rm -f "$fifo"
    echo "Xvfb did not start" >&2
    return 1
  fi
  rm -f "$fifo"
  export DISPLAY=":$number"
}
