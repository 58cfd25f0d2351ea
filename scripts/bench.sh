#!/usr/bin/env bash
# Start-up benchmark, not a test: on its own Xvfb it times, alternating,
# RUNS start-ups of the program and of a floor program (a plain Qt 6 window
# with a bold heading, a PNG and a one-line notice: what any Qt program that
# shows text pays, fontconfig's first use included) from exec to the first
# window mapped, and their resident memory a second later; then a key on
# the About window until the calculator window is mapped, a press on
# Information until the description window is mapped, and the whole
# description printed into a PDF file. It prints medians and ratios and
# asserts nothing.
#
# Goals: start-up within 1.0x the floor, memory within 1.05x; the
# description window mapped within 30 ms of a press on Information; the
# whole description printed to PDF within 150 ms.
#
# Usage: scripts/bench.sh [BUILD-DIR (default build)] [RUNS (default 9)]
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$ROOT/build}" && pwd)"
runs="${2:-9}"
[[ -x "$build/quorvel" ]] || { echo "no program at $build/quorvel: build it first" >&2; exit 1; }
bench="$build/bench"
mkdir -p "$bench"
work="$(mktemp -d)"
xvfb_pid=""
cleanup() {
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# ---- the floor program and the map watcher, built beside the program ----
cat >"$bench/floor.cpp" <<'CPP'
// The floor: a plain Qt 6 window with a bold heading, a PNG and a notice.
#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>
#include <QWidget>
int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setFixedSize(300, 200);
  auto* layout = new QVBoxLayout(&window);
  auto* heading = new QLabel("Quorvel");
  QFont bold = heading->font();
  bold.setBold(true);
  bold.setPixelSize(22);
  heading->setFont(bold);
  auto* picture = new QLabel;
  picture->setPixmap(QPixmap(QCoreApplication::applicationDirPath() + "/BMImedium.png"));
  layout->addWidget(heading, 0, Qt::AlignHCenter);
  layout->addWidget(picture, 0, Qt::AlignHCenter);
  layout->addWidget(new QLabel("Version 2.0 - for information only"), 0, Qt::AlignHCenter);
  window.show();
  return app.exec();
}
CPP
cat >"$bench/mapwait.c" <<'C'
/* Prints "ready", then the wall-clock time in nanoseconds and the id of the
   first top-level window of width WIDTH that is mapped. */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>
int main(int argc, char** argv) {
  Display* d = XOpenDisplay(NULL);
  if (!d || argc != 2) return 2;
  int want = atoi(argv[1]);
  XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
  XSync(d, False);
  printf("ready\n");
  fflush(stdout);
  alarm(20);
  for (;;) {
    XEvent e;
    XNextEvent(d, &e);
    if (e.type != MapNotify) continue;
    struct timespec t;
    clock_gettime(CLOCK_REALTIME, &t);
    XWindowAttributes a;
    if (XGetWindowAttributes(d, e.xmap.window, &a) && a.width == want) {
      printf("%lld %lu\n", (long long)t.tv_sec * 1000000000LL + t.tv_nsec, e.xmap.window);
      return 0;
    }
  }
}
C
g++ -O2 -std=c++20 -fPIC "$bench/floor.cpp" -o "$bench/floor" $(pkg-config --cflags --libs Qt6Widgets)
cc -O2 "$bench/mapwait.c" -o "$bench/mapwait" -lX11
cp "$ROOT/resources/BMImedium.png" "$bench/"

# ---- the display ----
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/displayfd" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [[ -s "$work/displayfd" ]] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$work/displayfd")" QT_QPA_PLATFORM=xcb

# Starts the map watcher for WIDTH; waits until it listens.
watch_map() {
  rm -f "$work/map"
  "$bench/mapwait" "$1" >"$work/map" &
  watcher=$!
  for _ in $(seq 200); do grep -q ready "$work/map" 2>/dev/null && return; sleep 0.005; done
  echo "the map watcher did not start" >&2
  exit 1
}
# Waits for the watcher; sets mapped_ns and mapped_id.
mapped() {
  wait "$watcher" || { echo "no window was mapped" >&2; exit 1; }
  read -r mapped_ns mapped_id < <(tail -n1 "$work/map")
}
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }

# run_start PROGRAM: appends "startup-ms rss-kb" to $work/<name>; for the
# program also the About key hand-over in ms to $work/handover.
run_start() {
  local program="$1" name="$2" t0 pid
  watch_map 300
  t0=$(date +%s%N)
  (cd "$work" && exec "$program") >/dev/null 2>&1 &
  pid=$!
  mapped
  local startup=$(( (mapped_ns - t0) / 1000 ))
  sleep 1
  echo "$startup $(rss_kb "$pid")" >>"$work/$name"
  if [[ "$name" == quorvel ]]; then
    xdotool windowfocus --sync "$mapped_id" 2>/dev/null || true
    watch_map 680
    t0=$(date +%s%N)
    xdotool key --window "$mapped_id" space
    mapped
    echo $(( (mapped_ns - t0) / 1000 )) >>"$work/handover"
    # A press on Information (content 560..660 x 250..286, below the menu
    # bar, which is the window's height less 300) until the 427-wide
    # description window is mapped; xdotool's own start is in the figure.
    local height
    height=$(xwininfo -id "$mapped_id" | awk '/^ *Height:/ { print $2 }')
    watch_map 427
    t0=$(date +%s%N)
    xdotool mousemove --window "$mapped_id" 610 $(( height - 300 + 268 )) click 1
    mapped
    echo $(( (mapped_ns - t0) / 1000 )) >>"$work/description"
  fi
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null || true
}

# The whole description printed into a PDF file, through the program's own
# Print handler, timed inside the process (tests/bench_print.cpp).
bench_description_print() {
  [[ -x "$build/tests/bench_print" ]] || { echo "description print: no $build/tests/bench_print (built with the tests)"; return; }
  (cd "$work" && QT_QPA_PLATFORM=offscreen "$build/tests/bench_print" "$runs")
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# One unmeasured run of each first: the font cache and the disk cache.
run_start "$bench/floor" warm
run_start "$build/quorvel" warm
rm -f "$work/floor" "$work/quorvel" "$work/handover" "$work/description"
for _ in $(seq "$runs"); do
  run_start "$bench/floor" floor
  run_start "$build/quorvel" quorvel
done

floor_ms=$(cut -d' ' -f1 "$work/floor" | median)
floor_kb=$(cut -d' ' -f2 "$work/floor" | median)
prog_ms=$(cut -d' ' -f1 "$work/quorvel" | median)
prog_kb=$(cut -d' ' -f2 "$work/quorvel" | median)
hand_ms=$(median <"$work/handover")
desc_ms=$(median <"$work/description")
awk -v runs="$runs" -v fm="$floor_ms" -v fk="$floor_kb" -v pm="$prog_ms" -v pk="$prog_kb" -v hm="$hand_ms" -v dm="$desc_ms" 'BEGIN {
  printf "medians of %d alternating runs on Xvfb (%s)\n", runs, ENVIRON["DISPLAY"]
  printf "start-up, exec to first window mapped: program %.1f ms, floor %.1f ms, ratio %.2f (goal <= 1.00)\n", pm / 1000, fm / 1000, pm / fm
  printf "resident memory 1 s later:             program %.1f MB, floor %.1f MB, ratio %.2f (goal <= 1.05)\n", pk / 1024, fk / 1024, pk / fk
  printf "key on the About window -> calculator window mapped: %.1f ms\n", hm / 1000
  printf "press on Information -> description window mapped:  %.1f ms (goal <= 30)\n", dm / 1000
}'
bench_description_print
