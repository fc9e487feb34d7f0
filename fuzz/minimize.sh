#!/usr/bin/env bash
# Merges what a longer fuzz run found (build-fuzz/corpus-new/<target>/) into
# the committed corpus (fuzz/corpus/<target>/), keeping only the inputs that
# reach code the corpus does not reach yet. libFuzzer's -merge=1 picks the
# smallest input for each new piece of coverage.
#
#   bash fuzz/minimize.sh               every target
#   bash fuzz/minimize.sh fuzz_rtf      one target
#
# Run fuzz/run.sh first (it builds the targets). Review what was added with
# `git status fuzz/corpus` before committing: inputs over MAX_INPUT_BYTES are
# never added.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD=build-fuzz
MAX_INPUT_BYTES=65536

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for corpus in fuzz/corpus/*/; do targets+=("$(basename "$corpus")"); done
fi

export ASAN_OPTIONS=detect_leaks=0:allocator_may_return_null=1
for target in "${targets[@]}"; do
  fresh="$BUILD/corpus-new/$target"
  committed="fuzz/corpus/$target"
  if [ ! -x "$BUILD/fuzz/$target" ]; then
    echo "$target: não construído; rode fuzz/run.sh antes" >&2
    exit 1
  fi
  [ -d "$fresh" ] || continue
  mkdir -p "$BUILD/findings"
  before=$(find "$committed" -type f | wc -l)
  "$BUILD/fuzz/$target" -merge=1 -max_len="$MAX_INPUT_BYTES" "$committed" "$fresh" \
    >"$BUILD/findings/$target.merge.log" 2>&1
  after=$(find "$committed" -type f | wc -l)
  echo "$target: $before -> $after entradas"
done
