#!/bin/sh
# Renders the Brazilian Portuguese manual pages of Debian's manpages-pt-br and
# manpages-pt-br-dev to plain text, one file per page, in Windows-1252 (the
# word index's character set). Installs what it needs on first use.
#   bench/engines/render-manpages.sh OUTPUT_FOLDER
# Pages already rendered are kept, so running it again is cheap.
set -eu
out=${1:?"usage: render-manpages.sh OUTPUT_FOLDER"}

packages="manpages-pt-br manpages-pt-br-dev man-db groff-base libsqlite3-dev libxapian-dev liburing-dev"
missing=""
for package in $packages; do
  dpkg -s "$package" >/dev/null 2>&1 || missing="$missing $package"
done
if [ -n "$missing" ]; then
  echo "installing:$missing" >&2
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi

mkdir -p "$out"
count=0
for page in $(dpkg -L manpages-pt-br manpages-pt-br-dev | grep '^/usr/share/man/pt_BR/man./.' | sort); do
  [ -f "$page" ] || continue
  name=$(basename "$page" .gz)
  target="$out/$name.txt"
  if [ ! -s "$target" ]; then
    # Plain text without overstrikes; characters outside Windows-1252 are
    # transliterated.
    MANWIDTH=80 man -l -E UTF-8 "$page" 2>/dev/null | col -bx |
      iconv -f UTF-8 -t WINDOWS-1252//TRANSLIT > "$target.part" 2>/dev/null || true
    mv "$target.part" "$target"
  fi
  count=$((count + 1))
done
echo "$count pages in $out" >&2
