# Sourced by the script tests that need a real X server: starts a private
# Xvfb that picks a free display itself (-displayfd), so tests that ctest
# runs side by side never race for one.
#
#   start_xvfb DIR [SCREEN]   SCREEN defaults to 1280x1024x24; sets DISPLAY
#                             and XVFB_PID, logs to DIR/xvfb.log
#   stop_xvfb

start_xvfb() {
  local dir="$1" screen="${2:-1280x1024x24}" fifo number=""
  fifo="$dir/xvfb.displayfd"
  mkfifo "$fifo" || return 1
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$fifo" >"$dir/xvfb.log" 2>&1 &
  XVFB_PID=$!
  # Xvfb writes the display number it chose once it accepts connections.
  read -r -t 20 number <"$fifo"
  rm -f "$fifo"
  if [[ -z "$number" ]]; then
    echo "Xvfb did not start: $(cat "$dir/xvfb.log")" >&2
    return 1
  fi
  export DISPLAY=":$number"
}

stop_xvfb() {
  if [[ -n "${XVFB_PID:-}" ]]; then
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=""
  fi
}
