#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) in build-fuzz/ and runs each from its corpus in
# fuzz/corpus/<target>/ for a bounded time. Any crash, leak or undefined
# behaviour stops the run with the target's report and the input that caused
# it (saved under build-fuzz/findings/<target>/).
#
#   bash fuzz/run.sh               every target for 25 s (scripts/test.sh runs 15 s)
#   bash fuzz/run.sh 600           every target for 10 minutes
#   bash fuzz/run.sh 3600 fuzz_rtf one target for an hour
#
# New inputs that reach new code stay in build-fuzz/corpus-new/<target>/; to
# keep some, minimise them into the committed corpus with fuzz/minimize.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

SECONDS_PER_TARGET=${1:-25}
shift || true
BUILD=build-fuzz
# Inputs larger than this teach the fuzzer nothing the small ones do not, and
# keep the committed corpus small.
MAX_INPUT_BYTES=65536

cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DPANDECTA_FUZZ=ON -DPANDECTA_GUI=OFF -DPANDECTA_TESTS=OFF -DPANDECTA_BENCH=OFF >/dev/null
ninja -C "$BUILD" -j2 fuzzers

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for corpus in fuzz/corpus/*/; do targets+=("$(basename "$corpus")"); done
fi

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/fuzz/lsan-suppressions.txt
summary=()
for target in "${targets[@]}"; do
  findings="$BUILD/findings/$target"
  fresh="$BUILD/corpus-new/$target"
  mkdir -p "$findings" "$fresh"
  log="$BUILD/findings/$target.log"
  echo "== $target: ${SECONDS_PER_TARGET} s"
  if ! "$BUILD/fuzz/$target" "$fresh" "fuzz/corpus/$target" -max_total_time="$SECONDS_PER_TARGET" \
       -max_len="$MAX_INPUT_BYTES" -rss_limit_mb=2048 -timeout=10 -artifact_prefix="$findings/" \
       -print_final_stats=1 >"$log" 2>&1; then
    tail -n 60 "$log"
    for input in "$findings"/*; do
      [ -f "$input" ] || continue
      echo "-- input $input (base64):"
      base64 "$input" | head -c 4000
      echo
    done
    echo "FALHA: $target"
    exit 1
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  summary+=("$target: $runs execuções")
done
printf '%s\n' "${summary[@]}"
echo "Fuzz: ${#summary[@]} alvos sem falhas"
