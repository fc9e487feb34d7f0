#!/bin/sh
# Runs the whole engine comparison: installs and renders the corpus, builds
# bench_engines (with the network-folder simulator and pandecta-tool), and
# runs it on the local disk and on a simulated network folder. See README.md.
#   bench/engines/run.sh [WORK_FOLDER] [DOCUMENTS]
# Environment: DELAYS  milliseconds added to each file call under the index
#                      folders, comma-separated (default 0,0.2,1; 0 is the
#                      plain local disk)
#              ENGINES the engines (default lexdex,lexdex-engine,sqlite,xapian)
#              REUSE   1: keep indexes and queries of an earlier run
#              PER_CLASS rare, medium and phrase queries of each class
#                      (default 20; the common words are always the 10 most
#                      frequent)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
work=${1:-/tmp/pandecta-engines}
documents=${2:-25000}
build=${BUILD_DIR:-$source_dir/build-perf}
delays=${DELAYS:-0,0.2,1}
engines=${ENGINES:-lexdex,lexdex-engine,sqlite,xapian}
per_class=${PER_CLASS:-20}
reuse=""
[ "${REUSE:-0}" = 1 ] && reuse="--reuse"

"$here/render-manpages.sh" "$work/manpages"
cmake -S "$source_dir" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPANDECTA_GUI=OFF >/dev/null
ninja -C "$build" -j2 bench_engines network_folder_shim pandecta-tool
# What else ran meanwhile: the machine's busy CPU time (user, nice, system,
# interrupts, from /proc/stat) against this benchmark's own.
busy_ticks() { awk '/^cpu /{print $2 + $3 + $4 + $7 + $8; exit}' /proc/stat; }
echo "uptime before: $(uptime)"
ticks_before=$(busy_ticks)
start=$(date +%s.%N)
/usr/bin/time -f "%U %S" -o "$work/bench.cpu" \
  "$build/bin/bench_engines" run "$work/run" --pages "$work/manpages" --documents "$documents" \
  --engines "$engines" --delays "$delays" --per-class "$per_class" $reuse
ticks_after=$(busy_ticks)
end=$(date +%s.%N)
echo "uptime after: $(uptime)"
awk -v t0="$ticks_before" -v t1="$ticks_after" -v hz="$(getconf CLK_TCK)" -v s0="$start" -v s1="$end" \
    -v cores="$(nproc)" '{ ours = $1 + $2; all = (t1 - t0) / hz;
  printf "CPU time: %.1f s busy on the machine in %.1f s on %d cores; this benchmark %.1f s; everything else %.1f s\n",
         all, s1 - s0, cores, ours, all - ours }' "$work/bench.cpu"
