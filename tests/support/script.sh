# Sourced by the script tests: how they fail and how they check their tools.
#
#   fail MESSAGE...        prints "FAIL: MESSAGE" and the program's output
#                          ($work/program.log, where the test has one), then
#                          ends the test with status 1
#   require_tools TOOL...  fails naming the first tool that is not installed

fail() {
  echo "FAIL: $*"
  if [[ -n "${work:-}" && -s "$work/program.log" ]]; then
    echo "--- program output ---"
    cat "$work/program.log"
  fi
  exit 1
}

require_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
  done
}
