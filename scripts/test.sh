#!/usr/bin/env bash
# Sets up, builds and runs every test: first the formatting of the lines
# changed since .clang-format arrived (scripts/check-format.sh, seconds), then
# a short run of every fuzz target from its corpus, the normal build, then the
# non-window code again under AddressSanitizer and UndefinedBehaviorSanitizer,
# and last the Debian packages made from the normal build
# (scripts/check-package.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

# The format check needs only clang-format, so it runs before the builds.
bash scripts/setup.sh --packages
bash scripts/check-format.sh
bash scripts/setup.sh --asan

# About 15 s per fuzz target (a few minutes in all); fuzz/run.sh with a longer
# time searches deeper.
bash fuzz/run.sh 15

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build --output-on-failure -j2 --timeout 600
ctest --test-dir build-asan --output-on-failure -j2 --timeout 900
bash scripts/check-package.sh
