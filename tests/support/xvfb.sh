# Sourced by the script tests that need a real X server: starts a private
# Xvfb that picks a free display itself (-displayfd), so tests that ctest
# runs side by side never race for one.
#
#   start_xvfb DIR [SCREEN]   SCREEN defaults to 1280x1024x24; sets DISPLAY
#                             and XVFB_PID, logs to DIR/xvfb.log; the server
#                             has taken a connection when it returns
#   stop_xvfb

start_xvfb() {
  local dir="$1" screen="${2:-1280x1024x24}" fifo number try
  fifo="$dir/xvfb.displayfd"
  for try in 1 2 3; do
    number=""
    mkfifo "$fifo" || return 1
    # -noreset: the check below is the server's first client, and a server
    # that resets when it goes refuses the program connecting just then.
    Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$fifo" >"$dir/xvfb.log" 2>&1 &
    XVFB_PID=$!
    # Xvfb writes the display number it chose once it accepts connections.
    read -r -t 20 number <"$fifo"
    rm -f "$fifo"
    if [[ -z "$number" ]]; then
      echo "Xvfb did not start: $(cat "$dir/xvfb.log")" >&2
      stop_xvfb
      return 1
    fi
    export DISPLAY=":$number"
    # A server that takes no connection is tried again, on a fresh number.
    DISPLAY=":$number" timeout 10 xwininfo -root >/dev/null 2>&1 && return 0
    echo "Xvfb on :$number takes no connection (try $try)" >&2
    stop_xvfb
  done
  return 1
}

stop_xvfb() {
  if [[ -n "${XVFB_PID:-}" ]]; then
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=""
  fi
}
