#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through ctest: once
# under AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/), then
# in the plain build (build/); and builds the Qt-free core alone, with Qt
# hidden from CMake, and runs its unit tests (build-core/), so that nothing
# in the core comes to need Qt. The tree must keep its .clang-format. Exits
# non-zero when anything fails.
source "$(dirname "$0")/common.sh"
install_missing
ensure_test_locale
export QT_QPA_PLATFORM=offscreen
sanitizer_env

status=0
check_format || status=1
build build-asan -DQUORVEL_SANITIZE=ON
(cd "$ROOT/build-asan" && ctest --output-on-failure -j"$(nproc)") || status=1
build build
(cd "$ROOT/build" && ctest --output-on-failure -j"$(nproc)") || status=1
build build-core -DQUORVEL_QT=OFF -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON
(cd "$ROOT/build-core" && ctest --output-on-failure -j"$(nproc)") || status=1
exit $status
