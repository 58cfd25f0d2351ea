#!/usr/bin/env bash
# Printing for real: a CUPS scheduler of the test's own on a private socket
# with a cups-pdf queue, a program under its own Xvfb that prints through
# the system's print dialog (accepted with Return), and the PDF the queue
# wrote, read back with poppler's tools.
#
# Usage:
#   print_cups.sh harness            lp of a small text file onto the queue
#   print_cups.sh probe PROBE        the print probe (tests/print_probe.cpp)
#   print_cups.sh program QUORVEL TEXT-FILE
#                                    the program: Information, Alt, File,
#                                    Print, Return; the PDF must hold the
#                                    words of TEXT-FILE and a bold font, and
#                                    the job the program's name and the
#                                    window's
#   print_cups.sh failure CASE QUORVEL
#                                    a print that cannot go out (see
#                                    run_failure for the cases): the program
#                                    runs on, says so once, and loses nothing
#   print_cups.sh slow CASE QUORVEL  the program on a slow service, made by
#                                    the relay $RELAY (tests/print_relay.cpp;
#                                    see run_slow for the cases)
#   print_cups.sh no-thread STEP PROBE
#                                    the probe with no thread to start at
#                                    STEP of the print path: one message box,
#                                    then the next print goes out
#
# cups-pdf reads its settings only from /etc/cups: cups-pdf.conf, or
# cups-pdf-NAME.conf for a queue whose device is cups-pdf:/NAME. Each run
# writes its own cups-pdf-quorvel-RUN.conf there (removed at the end) that
# sends the output into the run's own directory, so runs side by side never
# see each other's files. That needs root, as cups-pdf itself does (its
# backend refuses to run otherwise); without root the test is skipped (77).
set -u

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work=""
cupsd_pid=""
relay_pid=""
program_pid=""
cups_pdf_conf=""
small_disk=""

# Messages go to stderr, so that a failure inside $( ) is still seen; the
# callers of such functions add "|| exit 1".
fail() {
  echo "FAIL: $*" >&2
  for f in "$work/xvfb.log" "$work/program.log" "$work/log/error_log" "$work/log/cups-pdf-PDF_log"; do
    if [[ -n "$work" && -s "$f" ]]; then
      echo "--- $(basename "$f") (last lines) ---"
      tail -n 40 "$f"
    fi >&2
  done
  exit 1
}

now_ms() { date +%s%3N; }

# ---- The scheduler ------------------------------------------------------------

# cups_start DIR: a cupsd with everything under DIR, listening on
# DIR/cups.sock only, with the queue PDF (the default destination) writing
# into DIR/out. Sets CUPS_SERVER for this shell and its children.
cups_start() {
  local dir="$1" run
  run="quorvel-$(basename "$(dirname "$dir")" | tr -cd 'A-Za-z0-9')"
  mkdir -p "$dir"/{etc,spool,cache,state,tmp,log,out,cups-pdf-spool}
  chmod 755 "$dir"
  chown -R root:lp "$dir"
  chmod 1777 "$dir/tmp"
  cat >"$dir/etc/cupsd.conf" <<EOF
Listen $dir/cups.sock
LogLevel info
WebInterface No
Browsing Off
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
EOF
  cat >"$dir/etc/cups-files.conf" <<EOF
User lp
Group lp
SystemGroup root
ServerRoot $dir/etc
RequestRoot $dir/spool
CacheDir $dir/cache
StateDir $dir/state
TempDir $dir/tmp
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
EOF
  cups_pdf_conf="/etc/cups/cups-pdf-$run.conf"
  cat >"$cups_pdf_conf" <<EOF
Out $dir/out
AnonDirName $dir/out
Spool $dir/cups-pdf-spool
Log $dir/log
LogType 3
EOF
  cupsd -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" >"$dir/log/cupsd.out" 2>&1 &
  cupsd_pid=$!
  export CUPS_SERVER="$dir/cups.sock"
  local i
  for i in $(seq 100); do
    lpstat -r >/dev/null 2>&1 && break
    kill -0 "$cupsd_pid" 2>/dev/null || fail "cupsd did not start: $(cat "$dir/log/cupsd.out")"
    sleep 0.1
  done
  lpstat -r >/dev/null 2>&1 || fail "cupsd on $CUPS_SERVER does not answer"
  # A scheduler that has just begun to answer can still turn the first
  # request away: a few tries, then the last refusal in the failure.
  for i in 1 2 3 4 5; do
    lpadmin -p PDF -E -v "cups-pdf:/$run" -m lsb/usr/cups-pdf/CUPS-PDF_noopt.ppd 2>"$dir/log/lpadmin.err" && break
    sleep 0.5
  done
  lpstat -v PDF >/dev/null 2>&1 || fail "lpadmin could not add the cups-pdf queue: $(cat "$dir/log/lpadmin.err")"
  # Poppler's cairo renderer keeps the fonts as fonts on the way through
  # PostScript; ghostscript's turns them into Type 3 glyphs without text.
  lpadmin -p PDF -o pdftops-renderer-default=pdftocairo
  lpadmin -d PDF
}

# cups_stop: stops the scheduler cups_start started and removes the
# queue's cups-pdf settings.
cups_stop() {
  if [[ -n "$cupsd_pid" ]]; then
    kill -CONT "$cupsd_pid" 2>/dev/null  # a stopped scheduler ends only once resumed
    kill "$cupsd_pid" 2>/dev/null
    wait "$cupsd_pid" 2>/dev/null
    cupsd_pid=""
  fi
  if [[ -n "$cups_pdf_conf" ]]; then
    rm -f "$cups_pdf_conf"
    cups_pdf_conf=""
  fi
}

# wait_for_pdf DIR SECONDS: prints the path of the one PDF the queue wrote
# into DIR/out once every job is done.
wait_for_pdf() {
  local dir="$1" deadline=$(( $(now_ms) + $2 * 1000 )) pdfs
  while (( $(now_ms) < deadline )); do
    if [[ -z "$(lpstat -o PDF 2>/dev/null)" ]]; then
      pdfs=("$dir"/out/*.pdf)
      if [[ -s "${pdfs[0]}" ]]; then
        (( ${#pdfs[@]} == 1 )) || fail "the queue wrote ${#pdfs[@]} files: ${pdfs[*]}"
        echo "${pdfs[0]}"
        return 0
      fi
    fi
    sleep 0.2
  done
  fail "no PDF in $dir/out after $2 s (jobs: $(lpstat -W all -o 2>&1 | tr '\n' ';'))"
}

# wait_for_file PDF SECONDS: waits until PDF is a whole document, one that
# pdfinfo reads through.
wait_for_file() {
  local deadline=$(( $(now_ms) + $2 * 1000 ))
  until pdfinfo "$1" >/dev/null 2>&1; do
    (( $(now_ms) < deadline )) || fail "no whole PDF at $1 within $2 s: $(ls -A "$(dirname "$1")" | tr '\n' ' ')"
    sleep 0.1
  done
}

# ---- The display and the program ---------------------------------------------------

# xvfb_start: an Xvfb on a display it chooses itself; sets DISPLAY.
source "$(dirname "$0")/support/xvfb.sh"
xvfb_start() { start_xvfb "$work" || fail "no X server"; }
xvfb_stop() { stop_xvfb; }

cleanup() {
  [[ -n "$program_pid" ]] && kill "$program_pid" 2>/dev/null
  [[ -n "$relay_pid" ]] && kill "$relay_pid" 2>/dev/null
  xvfb_stop
  cups_stop
  [[ -n "$small_disk" ]] && umount "$small_disk" 2>/dev/null
  [[ -n "$work" ]] && rm -rf "$work"
}

# start_program PROGRAM ARGS...: runs it under the Xvfb, on xcb, with the
# run's own CUPS server, home and runtime directory.
# PROGRAM_ENV holds further NAME=VALUE settings for it, PROGRAM_DIR the
# folder it starts in.
PROGRAM_ENV=()
PROGRAM_DIR="."
start_program() {
  mkdir -p "$work/home" "$work/runtime"
  chmod 700 "$work/runtime"
  (cd "$PROGRAM_DIR" && exec env HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb \
    "${PROGRAM_ENV[@]}" "$@") >"$work/program.log" 2>&1 &
  program_pid=$!
}

# find_window TITLE SECONDS [WIDTH]: the id of the program's viewable window of
# exactly that title (xdotool's own name search also takes longer titles).
find_window() {
  local deadline=$(( $(now_ms) + $2 * 1000 )) id width="${3:-}"
  while (( $(now_ms) < deadline )); do
    kill -0 "$program_pid" 2>/dev/null || fail "the program ended while waiting for a window '$1'"
    for id in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
      [[ "$(xdotool getwindowname "$id" 2>/dev/null)" == "$1" ]] || continue
      if [[ -n "$width" ]] && ! xwininfo -id "$id" 2>/dev/null | grep -q "^ *Width: $width\$"; then continue; fi
      if xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then
        echo "$id"
        return 0
      fi
    done
    sleep 0.1
  done
  fail "no window titled '$1' within $2 s"
}

# focus ID: gives the window the keyboard focus and waits until it keeps
# it (without a window manager, the program may still be activating
# another of its windows when this one maps).
focus() {
  local i
  for i in $(seq 30); do
    xdotool windowfocus "$1" 2>/dev/null
    sleep 0.2
    [[ "$(xdotool getwindowfocus 2>/dev/null)" == "$1" ]] || continue
    sleep 0.2
    [[ "$(xdotool getwindowfocus 2>/dev/null)" == "$1" ]] && return 0
  done
  fail "window $1 does not keep the keyboard focus"
}

# press ID KEY: presses KEY in the program's window ID (a dialog or a
# message box). Without a window manager the program may hand the focus to
# the dialog's parent after the dialog maps (its parent's deferred
# activation), and keys there are blocked by the modal dialog; a click on
# the dialog's margin makes the program itself activate the dialog.
press() {
  xdotool mousemove --window "$1" 220 3 click 1
  focus "$1"
  xdotool key "$2"
}

# answer ID KEY: presses KEY in window ID until it goes, five times at most.
# A window that is slow to go on a busy machine gets 10 s before the key
# is pressed again, so that a second key never lands in another window.
answer() {
  local id="$1" key="$2" try i
  for try in 1 2 3 4 5; do
    viewable "$id" || return 0
    press "$id" "$key"
    for i in $(seq 100); do
      viewable "$id" || return 0
      sleep 0.1
    done
  done
  fail "window $id is still up after $key five times"
}
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }

# answer_print_dialog KEY: presses KEY in the system's print dialog until
# the dialog goes. Return prints on the default queue; Escape cancels.
answer_print_dialog() {
  local dialog
  dialog="$(find_window Print 15)" || exit 1
  answer "$dialog" "$1"
}
accept_print_dialog() { answer_print_dialog Return; }

# wait_program SECONDS: sets program_status to the program's exit status.
program_status=""
wait_program() {
  local deadline=$(( $(now_ms) + $1 * 1000 ))
  while (( $(now_ms) < deadline )); do
    if ! kill -0 "$program_pid" 2>/dev/null; then
      wait "$program_pid"
      program_status=$?
      program_pid=""
      return 0
    fi
    sleep 0.1
  done
  fail "the program was still running after $1 s"
}

# expect_text PDF TEXT: the PDF holds the words of TEXT, in order, once.
expect_text() {
  local got want
  # A glyph that pdftotext cannot map to text comes out as a control
  # character; the text compared has none.
  got="$(pdftotext "$1" - | tr -d '\001-\010\016-\037' | tr -s '[:space:]' ' ' | sed 's/^ //; s/ $//')"
  want="$(printf '%s' "$2" | tr -s '[:space:]' ' ' | sed 's/^ //; s/ $//')"
  [[ "$got" == "$want" ]] || fail "the printed text differs:
--- printed ---
$got
--- expected ---
$want"
}

expect_bold() {
  pdffonts "$1" | grep -q -- '-Bold' || fail "no bold font in the printed PDF: $(pdffonts "$1")"
}

pages_of() { pdfinfo "$1" | awk '/^Pages:/ { print $2 }'; }

# ---- The runs -------------------------------------------------------------------

run_harness() {
  printf 'Quorvel print harness\n' >"$work/small.txt"
  lp -d PDF -t harness "$work/small.txt" >/dev/null || fail "lp refused the text file"
  local pdf
  pdf="$(wait_for_pdf "$work/cups" 60)" || exit 1
  [[ "$(pages_of "$pdf")" == 1 ]] || fail "the text file printed as $(pages_of "$pdf") pages"
  echo "PASS: lp of a text file gave the one-page PDF $(basename "$pdf")"
}

run_probe() {
  local probe="$1" lines=() i
  [[ -x "$probe" ]] || fail "no probe program at '$probe'"
  lines+=("Quorvel")
  lines+=("The index is the weight ÷ the height squared, a long line that wraps at the width of the page because it goes on.")
  for i in $(seq 1 60); do lines+=("Plain line $i"); done
  lines+=("A value ≥ 30 is the last line.")
  xvfb_start

  # Escape in the dialog cancels: the probe gets no graphics, no job.
  start_program "$probe" "${lines[@]}"
  answer_print_dialog Escape
  wait_program 30
  [[ "$program_status" == 2 ]] || fail "the probe exited with $program_status after Escape, not 2 (cancelled)"
  [[ -z "$(lpstat -W all -o PDF 2>/dev/null)" ]] || fail "a cancelled dialog sent a job: $(lpstat -W all -o PDF)"

  start_program "$probe" "${lines[@]}"
  accept_print_dialog
  wait_program 60
  [[ "$program_status" == 0 ]] || fail "the probe exited with $program_status"
  local blocks pdf
  blocks="$(sed -n 's/^printed \([0-9]*\) blocks$/\1/p' "$work/program.log")"
  [[ "$blocks" -ge 2 ]] || fail "the probe printed '${blocks}' blocks, not several"
  pdf="$(wait_for_pdf "$work/cups" 60)" || exit 1
  expect_text "$pdf" "$(printf '%s\n' "${lines[@]}")"
  expect_bold "$pdf"
  [[ "$(pages_of "$pdf")" == "$blocks" ]] || fail "$blocks blocks printed as $(pages_of "$pdf") pages"
  echo "PASS: Escape in the print dialog sent nothing; the probe printed $blocks blocks through it; the queue's PDF has every word, a bold font and $blocks pages"
}

# The program, as a user prints its description. The calculator's content
# is 680 x 300 below its menu bar; the Information button is at
# (560..660, 250..286) of the content, the weight field at (590..630,
# 101..121).
MENU_KEYS=(alt Down Return)  # Alt reveals the bar with File first; Down opens it on Print
WEIGHT=150
calc=""
calc_top=""
description=""

# open_description PROGRAM: starts it, types WEIGHT into the calculator's
# weight field and opens the description with Information.
open_description() {
  start_program "$1"
  # The calculator: 680 wide (the About window may carry the same name).
  calc="$(find_window Quorvel 20 680)" || exit 1
  calc_top=$(( $(xwininfo -id "$calc" | awk '/^ *Height:/ { print $2 }') - 300 ))
  focus "$calc"
  xdotool mousemove --window "$calc" 610 $(( calc_top + 111 )) click 1
  xdotool type --delay 50 "$WEIGHT"
  xdotool mousemove --window "$calc" 610 $(( calc_top + 268 )) click 1
  description="$(find_window Description 10)" || exit 1
  focus "$description"
}

choose_print() {
  local key
  focus "$description"
  for key in "${MENU_KEYS[@]}"; do
    xdotool key "$key"
    sleep 0.3
  done
}

# The calculator's weight field, read back through the clipboard.
weight_field() {
  focus "$calc"
  xdotool mousemove --window "$calc" 610 $(( calc_top + 111 )) click 1
  xdotool key ctrl+a ctrl+c
  sleep 0.3
  timeout 5 xclip -o -selection clipboard 2>/dev/null
}

run_program() {
  local program="$1" text_file="$2"
  [[ -x "$program" ]] || fail "no program at '$program'"
  [[ -r "$text_file" ]] || fail "no text file at '$text_file'"
  xvfb_start
  open_description "$program"
  choose_print
  accept_print_dialog
  local pdf
  pdf="$(wait_for_pdf "$work/cups" 60)" || exit 1
  # The text's serif font has no greater-or-equal sign: Qt draws it from a
  # fallback font, which the queue's renderer embeds as a Type 3 font with
  # no text of its own, so pdftotext cannot read that one sign back (it is
  # on the page; gui_printing reads it back from Qt's own PDF).
  local want
  want="$(cat "$text_file")"
  if pdffonts "$pdf" | grep -q 'Type 3'; then want="${want//≥/}"; fi
  expect_text "$pdf" "$want"
  expect_bold "$pdf"
  # The job bears the program's name and the window's, in the service's
  # page log and in the name cups-pdf gives its file.
  grep -q -F " $JOB_NAME " "$work/cups/log/page_log" ||
    fail "no job named '$JOB_NAME' in the page log: $(cat "$work/cups/log/page_log")"
  [[ "$(basename "$pdf")" == *Quorvel*Description* ]] || fail "the queue named its file $(basename "$pdf")"
  kill -0 "$program_pid" 2>/dev/null || fail "the program ended after printing"
  (( $(report_count) == 0 )) || fail "the program reported a failure: $(reports)"
  echo "PASS: the program printed its description through Information, Alt, File, Print and the print dialog, as the job '$JOB_NAME'"
}

JOB_NAME="Quorvel - Description"

# ---- Prints that cannot go out -------------------------------------------------

# The lines the program writes, one for each message box, when a print fails.
reports() { grep -E '^(Nothing |The document was not saved)' "$work/program.log"; }
report_count() { reports | wc -l; }

# expect_report PATTERN SECONDS: within SECONDS, one message box says what
# failed, in a line that matches PATTERN; it is dismissed, and no other
# follows.
expect_report() {
  local deadline=$(( $(now_ms) + $2 * 1000 )) box="" id
  while (( $(now_ms) < deadline )) && [[ -z "$box" ]]; do
    kill -0 "$program_pid" 2>/dev/null || fail "the program ended: $(tail -n 5 "$work/program.log")"
    for id in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
      [[ "$id" != "$calc" && "$(xdotool getwindowname "$id" 2>/dev/null)" == Quorvel ]] &&
        xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' && box="$id"
    done
    sleep 0.1
  done
  [[ -n "$box" ]] || fail "no message box within $2 s (reports: $(reports))"
  (( $(report_count) == 1 )) || fail "$(report_count) reports, not one: $(reports)"
  reports | grep -q -E "$1" || fail "the report does not say '$1': $(reports)"
  answer "$box" Return
  sleep 2
  (( $(report_count) == 1 )) || fail "more reports followed: $(reports)"
}

# expect_nothing_lost: the program runs on with its windows and what was
# typed into them.
expect_nothing_lost() {
  kill -0 "$program_pid" 2>/dev/null || fail "the program ended: $(tail -n 5 "$work/program.log")"
  xwininfo -id "$description" 2>/dev/null | grep -q 'Map State: IsViewable' || fail "the description window went"
  local weight
  weight="$(weight_field)"
  [[ "$weight" == "$WEIGHT" ]] || fail "the weight field holds '$weight', not '$WEIGHT'"
}

# expect_quit: Ctrl+Q in the calculator ends the program at once, whatever
# the print service does.
expect_quit() {
  focus "$calc"
  xdotool key ctrl+q
  wait_program 15
  [[ "$program_status" == 0 ]] || fail "the program exited with $program_status after Ctrl+Q"
}

# run_failure CASE PROGRAM:
#   rejected   the queue rejects jobs (cupsreject)
#   hung       the scheduler is stopped (SIGSTOP) before File > Print
#   hung-open  it is stopped while the dialog is up, then Print is pressed
#   gone       it ends while the dialog is up, then Print is pressed
#   hung-file  it is stopped while the dialog is up with a file chosen (there
#              is no printer), then Print is pressed: the file needs no service
#   tmpdir     TMPDIR is missing or cannot take files: the job needs none
#   disk-full  Print to File onto a disk with too little room, then with room
run_failure() {
  local case="$1" program="$2" started
  [[ -x "$program" ]] || fail "no program at '$program'"
  xvfb_start
  case "$case" in
    rejected)
      cupsreject PDF
      open_description "$program"
      choose_print
      accept_print_dialog
      expect_report '^Nothing was printed on PDF: .*not accepting jobs\.$' 20
      [[ -z "$(lpstat -W all -o PDF 2>/dev/null)" ]] || fail "a job is queued: $(lpstat -W all -o PDF)"
      expect_nothing_lost
      ;;
    hung)
      open_description "$program"
      kill -STOP "$cupsd_pid"
      choose_print
      expect_report '^Nothing can be printed now: the print service does not answer\.$' 20
      xdotool search --onlyvisible --name '^Print$' >/dev/null 2>&1 && fail "the print dialog came up"
      expect_nothing_lost
      expect_quit
      ;;
    hung-open | gone)
      open_description "$program"
      choose_print
      local dialog
      dialog="$(find_window Print 15)" || exit 1
      if [[ "$case" == hung-open ]]; then kill -STOP "$cupsd_pid"; else cups_stop; fi
      # Once: the dialog may take a few seconds to find out.
      press "$dialog" Return
      if [[ "$case" == hung-open ]]; then
        expect_report '^Nothing can be printed now: the print service does not answer\.$' 20
      else
        expect_report '^Nothing was printed on PDF: the print service is not running or cannot be reached\.$' 20
      fi
      expect_nothing_lost
      expect_quit
      ;;
    hung-file)
      lpadmin -x PDF
      mkdir -p "$work/home/out"
      PROGRAM_DIR="$work/home/out"
      open_description "$program"
      choose_print
      local dialog pdf="$work/home/out/$JOB_NAME.pdf"
      dialog="$(find_window Print 15)" || exit 1
      kill -STOP "$cupsd_pid"
      press "$dialog" Return
      wait_for_file "$pdf" 20
      (( $(report_count) == 0 )) || fail "the print to a file reported: $(reports)"
      expect_nothing_lost
      expect_quit
      ;;
    tmpdir)
      local tmpdir
      for tmpdir in "$work/no-such-dir" /proc; do
        PROGRAM_ENV=("TMPDIR=$tmpdir")
        open_description "$program"
        choose_print
        accept_print_dialog
        wait_for_pdf "$work/cups" 60 >/dev/null || exit 1
        sleep 1
        (( $(report_count) == 0 )) || fail "TMPDIR=$tmpdir: $(reports)"
        expect_nothing_lost
        expect_quit
        rm -f "$work/cups/out"/*.pdf
      done
      ;;
    disk-full)
      # No printer: the dialog offers a file, named after the job, in the
      # folder the program was started in.
      lpadmin -x PDF
      small_disk="$work/home/out"
      mkdir -p "$small_disk"
      mount -t tmpfs -o size=64k tmpfs "$small_disk" 2>/dev/null || {
        small_disk=""
        echo "SKIP: no tmpfs can be mounted here"
        exit 77
      }
      # About 8 KB of room: less than the document needs.
      dd if=/dev/zero of="$small_disk/filler" bs=4k count=14 2>/dev/null
      PROGRAM_DIR="$small_disk"
      open_description "$program"
      choose_print
      accept_print_dialog
      expect_report "^The document was not saved as $small_disk/$JOB_NAME\\.pdf: .*No space left on device" 20
      [[ "$(ls -A "$small_disk")" == filler ]] || fail "the disk holds $(ls -A "$small_disk" | tr '\n' ' ')"
      expect_nothing_lost
      # With room, the same print writes the whole document there.
      rm "$small_disk/filler"
      choose_print
      accept_print_dialog
      local pdf="$small_disk/$JOB_NAME.pdf"
      wait_for_file "$pdf" 20
      (( $(report_count) == 1 )) || fail "the second print reported: $(reports)"
      ;;
  esac
  echo "PASS: $case: the program ran on, said what failed once and lost nothing"
}

# ---- A slow print service ---------------------------------------------------------

# relay_start MODE: the relay in front of the scheduler, in MODE (pass,
# delay:MS, dribble:MS); the program started next talks to the service
# through it. The relay writes a line for every slow answer it begins.
relay_start() {
  [[ -x "${RELAY:-}" ]] || fail "no relay at '${RELAY:-}' (set RELAY)"
  "$RELAY" "$work/relay.sock" "$CUPS_SERVER" "$1" >"$work/relay.log" 2>&1 &
  relay_pid=$!
  local i
  for i in $(seq 50); do
    grep -q '^ready$' "$work/relay.log" && break
    sleep 0.1
  done
  grep -q '^ready$' "$work/relay.log" || fail "the relay did not start: $(cat "$work/relay.log")"
  PROGRAM_ENV=("CUPS_SERVER=$work/relay.sock")
}

# relay_wait LINE COUNT SECONDS: the relay has begun COUNT slow answers of
# that kind.
relay_wait() {
  local deadline=$(( $(now_ms) + $3 * 1000 ))
  until (( $(grep -c "^$1\$" "$work/relay.log") >= $2 )); do
    (( $(now_ms) < deadline )) || fail "the relay has not $1 $2 answer(s) within $3 s: $(cat "$work/relay.log")"
    sleep 0.1
  done
}

# close_request ID: what a window manager sends when the user closes the
# window.
close_request() {
  [[ -x "${CLOSE_REQUEST:-}" ]] || fail "no close tool at '${CLOSE_REQUEST:-}' (set CLOSE_REQUEST)"
  "$CLOSE_REQUEST" "$1" || fail "no close request could be sent to window $1"
}

print_dialog_up() { xdotool search --all --onlyvisible --pid "$program_pid" --name "^Print$" >/dev/null 2>&1; }

# Once the user quits, the program waits at most this long in all for the
# jobs still on their way (2 x the service's 3 s), then ends.
QUIT_WAIT_MS=6000
# What a loaded machine (or a sanitizer build) may add to the wait.
SLACK_MS=4000

# run_slow CASE PROGRAM:
#   quit-one          one job on its way, the service answers one byte every
#                     2 s (never 3 s of silence); Ctrl+Q
#   quit-two          two such jobs; the calculator's close request
#                     Both: the windows go at once, the program ends within
#                     the quit wait, exit 0, and says of each job that it
#                     was given up
#   close-description the service holds its answer to the check before the
#                     dialog for 2.5 s; a close request for the description
#                     window meanwhile: it closes, no dialog comes up, no
#                     failure is told, the program runs on
#   close-calculator  the same for the calculator window: the program quits
#                     with 0, and no dialog comes up
run_slow() {
  local case="$1" program="$2"
  [[ -x "$program" ]] || fail "no program at '$program'"
  xvfb_start
  case "$case" in
    quit-one | quit-two)
      local jobs=1 job started gone took
      [[ "$case" == quit-two ]] && jobs=2
      relay_start dribble:2000
      open_description "$program"
      for job in $(seq "$jobs"); do
        choose_print
        accept_print_dialog
        relay_wait dribbling "$job" 20
      done
      started=$(now_ms)
      if [[ "$case" == quit-one ]]; then
        focus "$calc"
        xdotool key ctrl+q
      else
        close_request "$calc"
      fi
      until ! viewable "$calc" && ! viewable "$description"; do
        kill -0 "$program_pid" 2>/dev/null || break
        (( $(now_ms) - started < 3000 )) || fail "the windows are still up 3 s after the user quit"
        sleep 0.05
      done
      gone=$(( $(now_ms) - started ))
      wait_program 60
      took=$(( $(now_ms) - started ))
      [[ "$program_status" == 0 ]] || fail "the program exited with $program_status"
      (( took <= QUIT_WAIT_MS + SLACK_MS )) || fail "the program took $took ms to end after the user quit"
      local given_up
      given_up="$(grep -c '^quorvel: the print job for PDF was given up: the print service had not taken it when the program quit$' "$work/program.log")"
      (( given_up == jobs )) || fail "$given_up job(s) given up on standard error, not $jobs: $(cat "$work/program.log")"
      (( $(report_count) == 0 )) || fail "the program reported a failure: $(reports)"
      echo "PASS: $case: the windows went $gone ms and the program ended $took ms after the user quit, giving up $jobs job(s)"
      ;;
    close-description | close-calculator)
      relay_start delay:2500
      open_description "$program"
      local target="$description"
      [[ "$case" == close-calculator ]] && target="$calc"
      choose_print
      relay_wait held 1 10
      sleep 0.7
      close_request "$target"
      local deadline=$(( $(now_ms) + 10000 ))
      if [[ "$case" == close-description ]]; then
        while viewable "$description"; do
          print_dialog_up && fail "the print dialog came up; the description window stays"
          (( $(now_ms) < deadline )) || fail "the description window is still up 10 s after its close request"
          sleep 0.1
        done
        # Long past the held answer: no dialog comes up later either.
        deadline=$(( $(now_ms) + 5000 ))
        while (( $(now_ms) < deadline )); do
          print_dialog_up && fail "the print dialog came up after the window closed"
          sleep 0.1
        done
        kill -0 "$program_pid" 2>/dev/null || fail "the program ended: $(tail -n 5 "$work/program.log")"
        viewable "$calc" || fail "the calculator window went"
        (( $(report_count) == 0 )) || fail "the program reported a failure: $(reports)"
        expect_quit
      else
        while kill -0 "$program_pid" 2>/dev/null; do
          print_dialog_up && fail "the print dialog came up; the program runs on"
          (( $(now_ms) < deadline )) || fail "the program is still running 10 s after the calculator's close request"
          sleep 0.1
        done
        wait_program 5
        [[ "$program_status" == 0 ]] || fail "the program exited with $program_status"
        (( $(report_count) == 0 )) || fail "the program reported a failure: $(reports)"
      fi
      echo "PASS: $case: the close request during the service check closed the window in place of the print dialog"
      ;;
    *) fail "no such case: $case" ;;
  esac
}

# run_no_thread STEP PROBE: the first print fails at STEP, the second goes out.
run_no_thread() {
  local step="$1" probe="$2" want
  [[ -x "$probe" ]] || fail "no probe program at '$probe'"
  case "$step" in
    PrintServiceCheck) want='Nothing was printed: the print service could not be asked \(Resource temporarily unavailable\)\.' ;;
    PrintJobSend) want='Nothing was printed on PDF: the job could not be sent \(Resource temporarily unavailable\)\.' ;;
    *) fail "no such step: $step" ;;
  esac
  xvfb_start
  start_program "$probe" --no-thread "$step" "Heading" "A line of plain text."
  # The check fails before any dialog; a job's hand-over once it was accepted.
  [[ "$step" == PrintJobSend ]] && accept_print_dialog
  local deadline=$(( $(now_ms) + 20000 ))
  until grep -q '^message box: ' "$work/program.log"; do
    kill -0 "$program_pid" 2>/dev/null || fail "the probe ended: $(tail -n 5 "$work/program.log")"
    (( $(now_ms) < deadline )) || fail "no message box within 20 s: $(cat "$work/program.log")"
    sleep 0.1
  done
  accept_print_dialog
  wait_program 60
  [[ "$program_status" == 0 ]] || fail "the probe exited with $program_status: $(cat "$work/program.log")"
  local boxes
  boxes="$(grep '^message box: ' "$work/program.log")"
  [[ "$(wc -l <<<"$boxes")" == 1 ]] || fail "more than one message box: $boxes"
  grep -q -E "^message box: $want\$" <<<"$boxes" || fail "the message box does not say why: $boxes"
  local pdf
  pdf="$(wait_for_pdf "$work/cups" 60)" || exit 1
  expect_text "$pdf" "Heading A line of plain text."
  echo "PASS: no thread at $step: one message box said why, the probe ran on, and its next print went out"
}

mode="${1:-}"
case "$mode" in
  harness | probe | program | failure | slow | no-thread) ;;
  *)
    echo "usage: $0 harness | probe PROBE | program QUORVEL TEXT-FILE | failure CASE QUORVEL | slow CASE QUORVEL | no-thread STEP PROBE" >&2
    exit 2
    ;;
esac
if [[ "$(id -u)" -ne 0 ]]; then
  echo "SKIP: the cups-pdf backend and its settings in /etc/cups need root"
  exit 77
fi
for tool in cupsd lpadmin lp lpstat cupsreject Xvfb xdotool xwininfo xclip pdftotext pdffonts pdfinfo; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done
[[ -x /usr/lib/cups/backend/cups-pdf ]] || fail "the cups-pdf backend is not installed"

work="$(mktemp -d /tmp/quorvel-print.XXXXXX)"
chmod 755 "$work"  # the scheduler's filters run as lp
trap cleanup EXIT
trap 'exit 1' INT TERM
cups_start "$work/cups"
case "$mode" in
  harness) run_harness ;;
  probe) run_probe "${2:-}" ;;
  program) run_program "${2:-}" "${3:-}" ;;
  failure) run_failure "${2:-}" "${3:-}" ;;
  slow) run_slow "${2:-}" "${3:-}" ;;
  no-thread) run_no_thread "${2:-}" "${3:-}" ;;
esac
