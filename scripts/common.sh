# Shared by run.sh, test.sh and soak.sh: installs what is missing, sets the
# sanitizers up and builds.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PACKAGES=(cmake make g++ pkg-config qt6-base-dev qt6-wayland libgl-dev libxcb1-dev libgtest-dev
          xvfb xauth xdotool x11-utils x11-apps openbox fonts-liberation2 locales
          libcups2-dev cups-daemon cups-client cups-filters printer-driver-cups-pdf poppler-utils xclip
          binutils-mingw-w64-x86-64 desktop-file-utils clang-format)

install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

# A locale with a decimal comma, for the test that Val and Format ignore the
# process's locale. It is built the ordinary way, into the system's locale
# archive, so that nothing needs LOCPATH.
ensure_test_locale() {
  locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8' && return 0
  echo "Building the locale de_DE.UTF-8"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
}

# The sanitizers' settings for runs of the build-asan programs: leaks are
# reported, less the known ones in tests/lsan.supp, and undefined behaviour
# ends the run with its stack.
sanitizer_env() {
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
  export LSAN_OPTIONS="suppressions=$ROOT/tests/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
}

# build DIR [cmake options...]
build() {
  local dir="$1"; shift
  cmake -S "$ROOT" -B "$ROOT/$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$ROOT/$dir" -j"$(nproc)"
}

# Fails when a C++ file of the tree differs from what .clang-format makes
# of it, and names the files.
check_format() {
  local files drift=()
  mapfile -t files < <(git -C "$ROOT" ls-files '*.cpp' '*.h')
  for f in "${files[@]}"; do
    clang-format --style=file "$ROOT/$f" | cmp -s - "$ROOT/$f" || drift+=("$f")
  done
  if [ ${#drift[@]} -gt 0 ]; then
    echo "Not formatted as .clang-format says (run clang-format -i on them):"
    printf '  %s\n' "${drift[@]}"
    return 1
  fi
}
