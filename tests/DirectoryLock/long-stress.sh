#!/usr/bin/env bash
# The directory lock's stress test run long, by hand (the build's test run
# makes a short one): 8 processes x 1000 shared and exclusive holds, 20 of
# them killed and replaced, and a holder frozen past the stale limit.
#
#   bash tests/DirectoryLock/long-stress.sh [build-dir]
#
# Takes some minutes; prints the holds made and the takeover time.
set -euo pipefail
BUILD=${1:-build}
cd "$(dirname "$0")/../.."
ninja -C "$BUILD" -j2 dirlock_tests dirlock_helper
PANDECTA_LOCK_STRESS_PROCESSES=${PANDECTA_LOCK_STRESS_PROCESSES:-8} \
PANDECTA_LOCK_STRESS_CYCLES=${PANDECTA_LOCK_STRESS_CYCLES:-1000} \
PANDECTA_LOCK_STRESS_KILLS=${PANDECTA_LOCK_STRESS_KILLS:-20} \
  "$BUILD/bin/dirlock_tests" --gtest_filter='DirectoryLockStress.*'
