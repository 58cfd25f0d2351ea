#!/usr/bin/env bash
# The built program where it cannot show a window: no display, a display
# with no server, no such platform, a platform it does not run on, a
# Wayland platform with no compositor, a platform that starts with no
# screen, a screen of 8 bits of colour. Each ends at once with exit status
# 1 and one line on standard error that names what is missing. A 15-bit
# screen is enough to run on, and a Wayland session without a compositor
# runs on X. On a screen smaller than the calculator its frame starts at the
# top-left of the available area.
#
# Usage: display.sh PATH-TO-PROGRAM
set -u
source "$(dirname "$0")/support/xvfb.sh"

source "$(dirname "$0")/support/script.sh"

program="${1:-}"
[[ -x "$program" ]] || fail "no program to run at '$program'"
require_tools Xvfb

work="$(mktemp -d)"
cleanup() {
  stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT

# A display number that no server has taken.
free_display() {
  local n
  for n in $(seq 900 999); do
    [[ -e "/tmp/.X11-unix/X$n" || -e "/tmp/.X$n-lock" ]] || { echo ":$n"; return; }
  done
}

# expect_refusal WHAT EXPECTED-LINE ENV...: the program, run with ENV, exits
# 1 within 20 s, printing EXPECTED-LINE and nothing else (Qt's own notes on
# the way are allowed only if they are not aborts).
expect_refusal() {
  local what="$1" expected="$2" status
  shift 2
  env "$@" timeout -k 5 20 "$program" >"$work/out" 2>"$work/err"
  status=$?
  grep -v '^QStandardPaths:' "$work/err" >"$work/lines"
  [[ "$status" == 1 ]] || fail "$what: exit status $status, not 1 ($(tr '\n' '|' <"$work/err"))"
  [[ "$(cat "$work/lines")" == "$expected" ]] ||
    fail "$what: standard error was '$(tr '\n' '|' <"$work/lines")', not '$expected'"
  echo "ok: $what: $expected"
}

nodisplay="$(free_display)"
runtime="$work/runtime"  # an XDG_RUNTIME_DIR where no compositor listens
mkdir -m 700 "$runtime"
expect_refusal "no DISPLAY" 'quorvel: cannot open display: DISPLAY is not set' -u DISPLAY QT_QPA_PLATFORM=xcb
expect_refusal "no server" "quorvel: cannot open display \"$nodisplay\"" DISPLAY="$nodisplay" QT_QPA_PLATFORM=xcb
expect_refusal "no platform" 'quorvel: no display platform "bogus"' QT_QPA_PLATFORM=bogus
for platform in linuxfb eglfs minimalegl vkkhrdisplay; do
  expect_refusal "the platform $platform" \
    "quorvel: display platform \"$platform\" is not supported: use xcb, wayland or offscreen" \
    QT_QPA_PLATFORM="$platform"
done
expect_refusal "no compositor" 'quorvel: cannot open display "wayland-0"' -u WAYLAND_DISPLAY \
  XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=wayland
echo '{ "screens": [] }' >"$work/noscreen.json"
expect_refusal "no screen" 'quorvel: display platform "offscreen" has no screen' \
  QT_QPA_PLATFORM="offscreen:configfile=$work/noscreen.json"

start_xvfb "$work" 1280x1024x8 || fail "no 8-bit X server"
expect_refusal "an 8-bit screen" "quorvel: display \"$DISPLAY\" has 8-bit colour; at least 15 bits are needed" \
  QT_QPA_PLATFORM=xcb
stop_xvfb

# end_program PID: ends the program, by force if it has not gone 5 s
# after it was asked to.
end_program() {
  local i
  kill "$1" 2>/dev/null
  for i in $(seq 50); do
    kill -0 "$1" 2>/dev/null || break
    sleep 0.1
  done
  kill -KILL "$1" 2>/dev/null
  wait "$1" 2>/dev/null
}

# expect_runs WHAT ENV...: the program, run with ENV, is still running
# after 2 s.
expect_runs() {
  local what="$1" pid
  shift
  env "$@" "$program" >"$work/out" 2>&1 &
  pid=$!
  sleep 2
  kill -0 "$pid" 2>/dev/null || { wait "$pid"; fail "$what: the program ended with $? ($(cat "$work/out"))"; }
  end_program "$pid"
  echo "ok: $what: runs"
}

for depth in 15 16; do
  start_xvfb "$work" "1280x1024x$depth" || fail "no $depth-bit X server"
  expect_runs "a $depth-bit screen" QT_QPA_PLATFORM=xcb
  stop_xvfb
done

# Qt tries Wayland first in a Wayland session, and X when no compositor
# answers.
start_xvfb "$work" || fail "no X server"
expect_runs "a Wayland session without a compositor" -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY XDG_SESSION_TYPE=wayland \
  XDG_RUNTIME_DIR="$runtime"
stop_xvfb

# A screen narrower than the calculator: the About window is centred, the
# calculator starts at the left edge (and is centred from top to bottom,
# where it fits).
start_xvfb "$work" 640x480x24 || fail "no small X server"
QT_QPA_PLATFORM=xcb "$program" >"$work/out" 2>&1 &
pid=$!
# "X Y WIDTH HEIGHT" of each of the program's viewable windows, a line each.
placed() {
  local id
  for id in $(timeout 10 xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    timeout 10 xwininfo -id "$id" 2>/dev/null | awk '
      /Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 }
      /^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } /Map State:/ { s = $3 }
      END { if (s == "IsViewable") print x, y, w, h }'
  done
}
# Bounded by time, not by a count of looks: a busy machine (or a sanitizer
# build) starts the program slowly and takes long over each look, and one
# look serves both windows.
about="" calc="" deadline=$((SECONDS + 60))
while ((SECONDS < deadline)); do
  windows="$(placed)"
  [[ -z "$about" ]] && about="$(awk '$3 == 300' <<<"$windows" | head -n 1)"
  calc="$(awk '$3 == 680' <<<"$windows" | head -n 1)"
  [[ -n "$calc" ]] && break
  kill -0 "$pid" 2>/dev/null || fail "the program ended on a 640 x 480 screen ($(cat "$work/out"))"
  sleep 0.05
done
end_program "$pid"
[[ "$about" == "170 140 300 200" ]] || fail "the About window on a 640 x 480 screen is at '$about', not centred"
read -r x y _ h <<<"$calc"
[[ -n "$calc" && "$x" == 0 ]] || fail "the calculator on a 640 x 480 screen is at '$calc', not at the left edge"
(( y == (480 - h) / 2 )) || fail "the calculator on a 640 x 480 screen is at '$calc', not centred from top to bottom"

echo "PASS: every refusal exits 1 with its line; a 15-bit screen and a Wayland session without a compositor run the program; a small screen keeps the frame in reach"
