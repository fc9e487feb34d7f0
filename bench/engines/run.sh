#!/bin/sh
# Runs the whole engine comparison: installs and renders the corpus, builds
# bench_engines, and runs it. See README.md.
#   bench/engines/run.sh [WORK_FOLDER] [DOCUMENTS]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
work=${1:-/tmp/pandecta-engines}
documents=${2:-25000}
build=${BUILD_DIR:-$source_dir/build-perf}

"$here/render-manpages.sh" "$work/manpages"
cmake -S "$source_dir" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPANDECTA_GUI=OFF >/dev/null
ninja -C "$build" -j2 bench_engines
"$build/bin/bench_engines" run "$work/run" --pages "$work/manpages" --documents "$documents"
