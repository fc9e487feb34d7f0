#!/bin/bash
# The Internet update from a distant server: a generated base served by
# distant_server.py, which waits D ms before each answer. For each D (30, then
# 0), in one run against one server:
#   anchor    curl --parallel --parallel-max 8 fetches every document file
#   fresh     pandecta-tool update installs the base into an empty data
#             folder, without and with a word index (an empty index to follow)
#   anchor    curl fetches the CHANGED documents the second tree lists as newer
#   changed   the update brings the installed base to that tree (CHANGED
#             documents), without and with the word index
# Prints documents per second, the ratio to the anchor, peak RSS, the longest
# step and the time of each phase (PANDECTA_STEP_TIMES), and the load average.
#
# Run alone, from the worktree, after building:
#   flock -x /work/.machine.lock bench/Update/distant_update_bench.sh [ENTRIES DOCUMENTS [WORK]]
# (defaults 30000 entries, 25000 documents, /tmp/bench-distant-update;
# DELAYS="30 0" and CHANGED=2000 in the environment). The generated base is
# kept in WORK and reused by the next run with the same sizes: prepare it
# beforehand with PREPARE_ONLY=1, outside the lock.
set -euo pipefail
ENTRIES=${1:-30000}
DOCUMENTS=${2:-25000}
WORK=${3:-/tmp/bench-distant-update}
DELAYS=${DELAYS:-30 0}
CHANGED=${CHANGED:-2000}
HERE=$(cd "$(dirname "$0")" && pwd)
TOOL=${TOOL:-$HERE/../../build/bin/pandecta-tool}
PORT=${PORT:-18931}

# Document number -> its path under a make-server folder.
document_paths() { awk -v root="$1" '{ printf "%s/doc%05d/doc%05d.dat\n", root, int($1 / 100) * 100, $1 }'; }

prepare() {
  rm -rf "$WORK" && mkdir -p "$WORK"
  "$TOOL" generate-base "$WORK/base" --entries "$ENTRIES" --documents "$DOCUMENTS" --seed 7 >/dev/null
  "$TOOL" refresh-sizes "$WORK/base" >/dev/null 2>&1
  "$TOOL" make-server "$WORK/base" "$WORK/www/atualizacao" >/dev/null
  (cd "$WORK" && find www/atualizacao -name 'doc*.dat' | sort) >"$WORK/files-all"
  # The second tree: CHANGED documents newer; the same document files.
  mkdir -p "$WORK/changed-base" "$WORK/www-changed/atualizacao"
  cp "$WORK/base/TOMOIdx.dat" "$WORK/changed-base/"
  python3 "$HERE/newer_documents.py" "$WORK/changed-base/TOMOIdx.dat" "$CHANGED" "$WORK/changed-numbers" >/dev/null
  for folder in "$WORK"/base/Doc*; do ln -s "$folder" "$WORK/changed-base/"; done
  "$TOOL" make-server "$WORK/changed-base" "$WORK/changed-server" >/dev/null
  mv "$WORK/changed-server/tomoidxz.dat" "$WORK/www-changed/atualizacao/"
  rm -rf "$WORK/changed-server"
  for folder in "$WORK"/www/atualizacao/doc*; do ln -s "$folder" "$WORK/www-changed/atualizacao/"; done
  document_paths www-changed/atualizacao <"$WORK/changed-numbers" >"$WORK/files-changed"
  # The installed base and its word index, for the changed case.
  cp -r "$WORK/base" "$WORK/installed"
  "$TOOL" index "$WORK/installed" "$WORK/installed-index" >/dev/null 2>&1
  # An empty word index, for the fresh install to follow.
  "$TOOL" generate-base "$WORK/empty" --entries 2 --documents 0 >/dev/null
  "$TOOL" index "$WORK/empty" "$WORK/empty-index" >/dev/null 2>&1
  echo "$ENTRIES $DOCUMENTS $CHANGED" >"$WORK/prepared"
}

if [ "$(cat "$WORK/prepared" 2>/dev/null)" != "$ENTRIES $DOCUMENTS $CHANGED" ]; then prepare; fi
[ -n "${PREPARE_ONLY:-}" ] && exit 0
COUNT=$(wc -l <"$WORK/files-all")
echo "base: $ENTRIES entries, $COUNT documents, $(du -smL "$WORK/www" | cut -f1) MB served; $CHANGED changed"
echo "load before: $(cat /proc/loadavg)"

# curl over a file list; prints its seconds.
anchor() {
  sed "s|^|url = \"$URL/|; s|$|\"\noutput = \"/dev/null\"|" "$1" >"$WORK/curl.cfg"
  local start; start=$(date +%s.%N)
  curl --parallel --parallel-max 8 -s -K "$WORK/curl.cfg" 2>/dev/null
  echo "$(date +%s.%N) - $start" | bc
}

# One update: NAME SERVER_FOLDER DATA_SOURCE INDEX_SOURCE DOCUMENTS ANCHOR_SECONDS
run_update() {
  local name=$1 server=$2 data=$3 index=$4 documents=$5 anchorSeconds=$6
  local run="$WORK/run-$DELAY-$name"
  rm -rf "$run" && mkdir -p "$run"
  if [ -n "$data" ]; then cp -r "$data" "$run/data"; else mkdir "$run/data"; fi
  if [ -n "$index" ]; then cp -r "$index" "$run/extra"; else mkdir "$run/extra"; fi
  export PANDECTA_SETTINGS_FILE="$run/settings.ini"
  "$TOOL" config DataFolder "$run/data" >/dev/null
  "$TOOL" config ExtraFolder "$run/extra" >/dev/null
  "$TOOL" config DownloadFolder "$run/download" >/dev/null
  local start; start=$(date +%s.%N)
  PANDECTA_STEP_TIMES=1 /usr/bin/time -f "%M" -o "$run/rss" "$TOOL" update --url "$URL/$server" 2>"$run/log" || true
  local seconds; seconds=$(echo "$(date +%s.%N) - $start" | bc)
  unset PANDECTA_SETTINGS_FILE
  grep -aq "Atualização concluída com êxito" "$run/log" || echo "  $name: NOT COMPLETED ($(tail -1 "$run/log"))"
  printf 'D=%s ms  %-18s %7.1f s  %6.1f docs/s  ratio %.2f  peak RSS %d MB\n' "$DELAY" "$name" "$seconds" \
    "$(echo "$documents / $seconds" | bc -l)" "$(echo "$anchorSeconds / $seconds" | bc -l)" \
    "$(( $(tail -1 "$run/rss") / 1024 ))"
  grep -a "^Passos:" "$run/log" | sed 's/^/    /'
  # Phases: the tree file and the list (20-22), requests (23), installs (24,
  # 26), indexing (27), the end (25); the rest is waiting for the network.
  grep -a "^Tempo por estado:" "$run/log" | awk -v wall="$seconds" '{
      n = split(substr($0, 18), items, ";")
      for (i = 1; i <= n; i++) {
        split(items[i], kv, ":"); state = kv[1] + 0; t[state] += kv[2] + 0
        split(items[i], mm, "máx. "); m[state] = mm[2] + 0
      }
      list = t[20] + t[21] + t[22]; install = t[24] + t[26]; steps = list + t[23] + install + t[27] + t[25]
      printf "    phases: list %.1f%%, requests %.1f%%, installs %.1f%%, indexing %.1f%%, end %.1f%%, waiting %.1f%%\n",
        100 * list / wall, 100 * t[23] / wall, 100 * install / wall, 100 * t[27] / wall, 100 * t[25] / wall,
        100 * (wall - steps) / wall
      batch = m[23]; if (m[24] > batch) batch = m[24]; if (m[26] > batch) batch = m[26]; if (m[27] > batch) batch = m[27]
      printf "    longest step: of the documents (23, 24, 26, 27) %.1f ms; once a run: list (22) %.1f ms, end (25) %.1f ms\n",
        batch, m[22], m[25] }'
}

for DELAY in $DELAYS; do
  python3 "$HERE/distant_server.py" "$WORK" "$PORT" "$DELAY" &
  SERVER=$!
  trap 'kill $SERVER 2>/dev/null' EXIT
  sleep 1
  URL="http://127.0.0.1:$PORT"

  ALL=$(anchor "$WORK/files-all")
  printf 'D=%s ms  %-18s %7.1f s  %6.1f docs/s\n' "$DELAY" "anchor, all" "$ALL" "$(echo "$COUNT / $ALL" | bc -l)"
  run_update fresh www/atualizacao "" "" "$COUNT" "$ALL"
  run_update fresh-indexed www/atualizacao "" "$WORK/empty-index" "$COUNT" "$ALL"
  SOME=$(anchor "$WORK/files-changed")
  printf 'D=%s ms  %-18s %7.1f s  %6.1f docs/s\n' "$DELAY" "anchor, changed" "$SOME" "$(echo "$CHANGED / $SOME" | bc -l)"
  run_update changed www-changed/atualizacao "$WORK/installed" "" "$CHANGED" "$SOME"
  run_update changed-indexed www-changed/atualizacao "$WORK/installed" "$WORK/installed-index" "$CHANGED" "$SOME"

  kill $SERVER; wait $SERVER 2>/dev/null || true
  trap - EXIT
  rm -rf "$WORK"/run-*
done
echo "load after: $(cat /proc/loadavg)"
