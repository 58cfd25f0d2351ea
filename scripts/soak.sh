#!/usr/bin/env bash
# A long random session on the real windows under AddressSanitizer and
# UndefinedBehaviorSanitizer: builds build-asan/ and runs
# gui_random_session with EVENTS events (default 20000) from SEED (default
# one drawn now), and prints the seed, so that a failure can be replayed.
#   scripts/soak.sh [EVENTS] [SEED]
source "$(dirname "$0")/common.sh"
install_missing
export QT_QPA_PLATFORM=offscreen
sanitizer_env

events="${1:-20000}"
seed="${2:-$(( ($(date +%s) * 32768 + RANDOM) % 4294967296 ))}"
build build-asan -DQUORVEL_SANITIZE=ON
echo "Random session: seed $seed, $events events"
status=0
QUORVEL_RANDOM_SEED="$seed" QUORVEL_RANDOM_EVENTS="$events" "$ROOT/build-asan/tests/gui_random_session" || status=$?
echo "Random session: seed $seed, $events events: $([ $status -eq 0 ] && echo passed || echo "FAILED ($status)")"
exit $status
