#!/usr/bin/env bash
# The installed program: `cmake --install` into a scratch DESTDIR puts the
# program in bin/, the logos in share/quorvel/, the icons in the hicolor
# theme and a valid .desktop entry in share/applications/; the installed
# program, started from another working directory on its own Xvfb, shows the
# About window and then the calculator window, each with its logo on screen
# and the program's icon on the window.
#
# Usage: install.sh BUILD-DIR
set -u

source "$(dirname "$0")/support/script.sh"
source "$(dirname "$0")/support/xvfb.sh"

build="${1:-}"

[[ -d "$build" ]] || fail "no build folder at '$build'"
require_tools Xvfb xdotool xwininfo xwd xprop desktop-file-validate

work="$(mktemp -d)"
program_pid=""
cleanup() {
  [[ -n "$program_pid" ]] && kill "$program_pid" 2>/dev/null
  stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT

# 1. The files, where a Linux desktop looks for them.
prefix=/opt/quorvel
DESTDIR="$work/root" cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
  fail "cmake --install failed: $(cat "$work/install.log")"
root="$work/root$prefix"
[[ -x "$root/bin/quorvel" ]] || fail "no program at bin/quorvel"
for logo in BMIsmall.png BMImedium.png; do
  [[ -s "$root/share/quorvel/$logo" ]] || fail "no share/quorvel/$logo"
done
for size in 16 24 32 48 64 128 256; do
  icon="$root/share/icons/hicolor/${size}x${size}/apps/quorvel.png"
  [[ -s "$icon" ]] || fail "no icon at ${icon#"$root/"}"
done
desktop="$root/share/applications/quorvel.desktop"
[[ -s "$desktop" ]] || fail "no share/applications/quorvel.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects quorvel.desktop"
grep -qx 'Icon=quorvel' "$desktop" || fail "the .desktop entry does not name the quorvel icon"
grep -qx 'Exec=quorvel' "$desktop" || fail "the .desktop entry does not run quorvel"

# 2. The installed program on its own display, started from elsewhere.
start_xvfb "$work" || fail "no X server"
export QT_QPA_PLATFORM=xcb

mkdir -p "$work/elsewhere"
(cd "$work/elsewhere" && exec "$root/bin/quorvel") >"$work/program.log" 2>&1 &
program_pid=$!

now_ms() { date +%s%3N; }

# The id of the program's first viewable window whose width is $1, if any.
window_of_width() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
    xwininfo -id "$id" 2>/dev/null | awk -v want="$1" '
      /^ *Width:/ { w = $2 } /Map State:/ { s = $3 }
      END { exit !(w == want && s == "IsViewable") }' && { echo "$id"; return; }
  done
}

wait_for_width() {
  local deadline=$(( $(now_ms) + $2 )) id=""
  while (( $(now_ms) < deadline )); do
    kill -0 "$program_pid" 2>/dev/null || fail "the installed program ended"
    id="$(window_of_width "$1")"
    [[ -n "$id" ]] && { echo "$id"; return; }
    sleep 0.05
  done
}

# Counts the window's pixels of the logos' own blue, #1f5fa8, which nothing
# else in either window is drawn in: 12501 of them in BMImedium.png, 3345 in
# BMIsmall.png.
logo_pixels() {
  xwd -silent -id "$1" >"$work/shot.xwd" 2>/dev/null || fail "xwd could not grab window $1"
  "$work/count" "$work/shot.xwd"
}

# A small counter of the logos' blue pixels in an xwd dump, compiled here:
# xwd writes a header, a colour map, then 32-bit pixels at 24-bit depth.
cat >"$work/count.c" <<'CEOF'
#include <stdio.h>
#include <stdint.h>
static uint32_t be(const unsigned char* p) { return (uint32_t)p[0] << 24 | p[1] << 16 | p[2] << 8 | p[3]; }
int main(int argc, char** argv) {
  FILE* f = fopen(argv[1], "rb");
  unsigned char h[100];
  if (!f || fread(h, 1, 100, f) != 100) return 2;
  uint32_t header = be(h), width = be(h + 16), height = be(h + 20), order = be(h + 28);
  uint32_t bpl = be(h + 48), ncolors = be(h + 76);
  fseek(f, header + ncolors * 12, SEEK_SET);
  unsigned char line[65536];
  long count = 0;
  for (uint32_t y = 0; y < height && bpl <= sizeof line; ++y) {
    if (fread(line, 1, bpl, f) != bpl) break;
    for (uint32_t x = 0; x < width; ++x) {
      const unsigned char* p = line + 4 * x;
      unsigned r = order ? p[1] : p[2], g = order ? p[2] : p[1], b = order ? p[3] : p[0];
      if (r >= 0x1b && r <= 0x23 && g >= 0x5b && g <= 0x63 && b >= 0xa4 && b <= 0xac) ++count;
    }
  }
  printf("%ld\n", count);
  return 0;
}
CEOF
cc -O1 -o "$work/count" "$work/count.c" || fail "could not build the pixel counter"

has_icon() { xprop -id "$1" _NET_WM_ICON 2>/dev/null | grep -q 'Icon (16 x 16)'; }

# logo_shown WINDOW LEAST: the window's logo pixels once it shows at least
# LEAST of them (the whole logo, give or take its anti-aliased edge), or
# what it showed last when it went away or 20 s went by: a mapped window is
# painted soon, but not at once on a busy machine.
logo_shown() {
  local deadline=$(( $(now_ms) + 20000 )) count
  while :; do
    count="$(logo_pixels "$1")"
    [[ "$count" =~ ^[0-9]+$ ]] || count=0  # not grabbed: the window is going
    (( count >= $2 )) && break
    (( $(now_ms) < deadline )) || break
    xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable' || break
    sleep 0.1
  done
  echo "$count"
}

# The About window gives way after 4 s: its logo is looked at while it is up.
about="$(wait_for_width 300 30000)"
[[ -n "$about" ]] || fail "no 300-wide About window within 30 s"
about_logo="$(logo_shown "$about" 12000)"
has_icon "$about" || fail "the About window has no 16 x 16 icon in _NET_WM_ICON"

calc="$(wait_for_width 680 30000)"
[[ -n "$calc" ]] || fail "no 680-wide calculator window within 30 s of the About window"
xdotool search --pid "$program_pid" --name '^Quorvel$' 2>/dev/null | grep -qx "$calc" ||
  fail "the 680-wide window is not titled Quorvel"
calc_logo="$(logo_shown "$calc" 3200)"
has_icon "$calc" || fail "the calculator window has no 16 x 16 icon in _NET_WM_ICON"

(( about_logo >= 12000 )) || fail "the About window shows $about_logo of BMImedium.png's 12501 blue pixels"
(( calc_logo >= 3200 )) || fail "the calculator window shows $calc_logo of BMIsmall.png's 3345 blue pixels"

echo "PASS: installed under $prefix; desktop entry valid; About window ($about_logo logo pixels) then the calculator window ($calc_logo), both with the icon"
