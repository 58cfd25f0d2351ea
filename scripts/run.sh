#!/usr/bin/env bash
# Installs what is missing, builds Quorvel into build/ and starts it.
source "$(dirname "$0")/common.sh"
install_missing
build build -DQUORVEL_TESTS=OFF
exec "$ROOT/build/quorvel" "$@"
