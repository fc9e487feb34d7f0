#!/bin/bash
# The Internet update from a distant server: a generated base served by
# distant_server.py, which waits D ms before each answer (D = 0 and 30), is
# installed by `pandecta-tool update` into an empty data folder; in the same
# run `curl --parallel --parallel-max 8` fetches the same document files from
# the same server, the anchor. Prints documents per second, peak RSS and
# wall time of each, and the update's longest step (PANDECTA_STEP_TIMES).
#
# Run alone, from the worktree, after building:
#   flock -x /work/.machine.lock bench/Update/distant_update_bench.sh [ENTRIES DOCUMENTS [WORK]]
# (defaults 30000 entries, 25000 documents, /tmp/bench-distant-update)
set -euo pipefail
ENTRIES=${1:-30000}
DOCUMENTS=${2:-25000}
WORK=${3:-/tmp/bench-distant-update}
HERE=$(cd "$(dirname "$0")" && pwd)
TOOL=${TOOL:-$HERE/../../build/bin/pandecta-tool}
PORT=${PORT:-18931}

rm -rf "$WORK" && mkdir -p "$WORK"
"$TOOL" generate-base "$WORK/base" --entries "$ENTRIES" --documents "$DOCUMENTS" --seed 7 >/dev/null
"$TOOL" refresh-sizes "$WORK/base" >/dev/null
"$TOOL" make-server "$WORK/base" "$WORK/www/atualizacao" >/dev/null
(cd "$WORK/www" && find atualizacao -name 'doc*.dat' | sort) >"$WORK/files"
COUNT=$(wc -l <"$WORK/files")
echo "base: $ENTRIES entries, $COUNT documents, $(du -sm "$WORK/www" | cut -f1) MB served"

for DELAY in 0 30; do
  python3 "$HERE/distant_server.py" "$WORK/www" "$PORT" "$DELAY" &
  SERVER=$!
  trap 'kill $SERVER 2>/dev/null' EXIT
  sleep 1
  URL="http://127.0.0.1:$PORT"

  sed "s|^|url = \"$URL/|; s|$|\"\noutput = \"/dev/null\"|" "$WORK/files" >"$WORK/curl.cfg"
  START=$(date +%s.%N)
  curl --parallel --parallel-max 8 -s -K "$WORK/curl.cfg" 2>/dev/null
  CURL=$(echo "$(date +%s.%N) - $START" | bc)

  export PANDECTA_SETTINGS_FILE="$WORK/settings-$DELAY.ini"
  rm -rf "$WORK/data-$DELAY" "$WORK/extra-$DELAY" "$WORK/download-$DELAY"
  "$TOOL" config DataFolder "$WORK/data-$DELAY" >/dev/null
  "$TOOL" config ExtraFolder "$WORK/extra-$DELAY" >/dev/null
  "$TOOL" config DownloadFolder "$WORK/download-$DELAY" >/dev/null
  START=$(date +%s.%N)
  PANDECTA_STEP_TIMES=1 /usr/bin/time -f "%M" -o "$WORK/rss" "$TOOL" update --url "$URL/atualizacao" 2>"$WORK/log-$DELAY"
  UPDATE=$(echo "$(date +%s.%N) - $START" | bc)
  unset PANDECTA_SETTINGS_FILE
  grep -a "Atualização concluída\|Passos:" "$WORK/log-$DELAY"

  printf 'D=%s ms  update: %.1f s, %.1f docs/s, peak RSS %d MB  |  curl-parallel-8: %.1f s, %.1f docs/s  |  ratio %.2f\n' \
    "$DELAY" "$UPDATE" "$(echo "$COUNT / $UPDATE" | bc -l)" "$(( $(cat "$WORK/rss") / 1024 ))" \
    "$CURL" "$(echo "$COUNT / $CURL" | bc -l)" "$(echo "$CURL / $UPDATE" | bc -l)"
  kill $SERVER; wait $SERVER 2>/dev/null || true
  trap - EXIT
done
