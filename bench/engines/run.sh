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
set -eu
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
work=${1:-/tmp/pandecta-engines}
documents=${2:-25000}
build=${BUILD_DIR:-$source_dir/build-perf}
delays=${DELAYS:-0,0.2,1}
engines=${ENGINES:-lexdex,lexdex-engine,sqlite,xapian}
reuse=""
[ "${REUSE:-0}" = 1 ] && reuse="--reuse"

"$here/render-manpages.sh" "$work/manpages"
cmake -S "$source_dir" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPANDECTA_GUI=OFF >/dev/null
ninja -C "$build" -j2 bench_engines network_folder_shim pandecta-tool
echo "uptime before: $(uptime)"
"$build/bin/bench_engines" run "$work/run" --pages "$work/manpages" --documents "$documents" \
  --engines "$engines" --delays "$delays" $reuse
echo "uptime after: $(uptime)"
