#!/usr/bin/env bash
# Layout fidelity against LibreOffice (not part of the tests). For every RTF
# file under RTF_FOLDER, prints the program's view to PDF (fidelity_print) and
# has LibreOffice convert the same file to PDF, then compares where both place
# paragraphs, second lines and table columns (compare.py). Files are grouped
# into classes by their first subfolder of RTF_FOLDER.
#
#   bench/fidelity/run.sh RTF_FOLDER OUT [-v]
#
# Builds fidelity_print in build/ if needed; installs LibreOffice Writer and
# poppler-utils from Debian when missing. Run alone, under
# `flock -x /work/.machine.lock`: LibreOffice is heavy.
set -euo pipefail
if [ $# -lt 2 ]; then
  echo "usage: $0 RTF_FOLDER OUT [-v]" >&2
  exit 2
fi
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
INPUT="$(cd "$1" && pwd)"
OUT="$2"
shift 2
mkdir -p "$OUT"
OUT="$(cd "$OUT" && pwd)"

missing=()
for package in libreoffice-writer-nogui poppler-utils; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" ||
    { $sudo apt-get update -q && $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"; }
fi

PRINT="$ROOT/build/bin/fidelity_print"
[ -x "$PRINT" ] || ninja -C "$ROOT/build" fidelity_print

PROFILE="$OUT/.libreoffice-profile"
rm -rf "$OUT/work"
find -L "$INPUT" -type f -iname '*.rtf' | sort | while read -r file; do
  relative="${file#"$INPUT"/}"
  case "$relative" in */*) class="${relative%%/*}" ;; *) class="all" ;; esac
  stem="$(echo "${relative#"$class"/}" | sed 's/\.[rR][tT][fF]$//; s#/#_#g')"
  dir="$OUT/work/$class"
  mkdir -p "$dir/ref"
  cp "$file" "$dir/ref/$stem.rtf"
  QT_QPA_PLATFORM=offscreen "$PRINT" "$file" "$dir/$stem.ours.pdf" "$dir/$stem.json" 2>/dev/null
  pdftotext -bbox "$dir/$stem.ours.pdf" "$dir/$stem.ours.html"
done
for dir in "$OUT"/work/*/; do
  soffice -env:UserInstallation="file://$PROFILE" --headless --convert-to pdf --outdir "$dir/ref" "$dir"/ref/*.rtf >/dev/null 2>&1
  for pdf in "$dir"/ref/*.pdf; do
    stem="$(basename "$pdf" .pdf)"
    mv "$pdf" "$dir/$stem.ref.pdf"
    pdftotext -bbox "$dir/$stem.ref.pdf" "$dir/$stem.ref.html"
  done
done
python3 "$ROOT/bench/fidelity/compare.py" "$OUT/work" "$@"
