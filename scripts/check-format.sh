#!/usr/bin/env bash
# Checks that the C and C++ lines a change touches are formatted as
# .clang-format says: clang-format over the lines that differ between a base
# commit and the working tree. Prints the diff and fails when any of them is
# not formatted; lines nobody touched are never checked, and a file moved with
# git mv counts only for the lines changed in it.
#
#   bash scripts/check-format.sh               since the commit that added .clang-format
#   bash scripts/check-format.sh main          since main (any commit or ref)
#   bash scripts/check-format.sh --fix [base]  formats those lines in place instead
#
# git clang-format <base> formats the same lines, except that it does not
# follow moves: it formats a moved file whole.
set -euo pipefail
cd "$(dirname "$0")/.."

fix=false
if [ "${1:-}" = "--fix" ]; then
  fix=true
  shift
fi

if ! git rev-parse --is-inside-work-tree >/dev/null; then
  echo "Formatação não verificada: a pasta não é um clone do git."
  exit 0
fi

base=${1:-}
if [ -z "$base" ]; then
  # The most recent commit that added the file. In a shallow clone the oldest
  # commit present adds every file, so the check then covers what lies after it.
  base=$(git log --diff-filter=A --format=%H -1 -- .clang-format)
  # .clang-format not committed yet: only the uncommitted lines are checked.
  base=${base:-HEAD}
fi
if ! git rev-parse --verify --quiet "$base^{commit}" >/dev/null; then
  echo "Formatação: o commit base \"$base\" não está neste clone (git fetch --deepen, ou dê outro base)." >&2
  exit 2
fi

# The changed lines, with moves found (-M) and deleted files left out, as a
# diff with no context whose hunks clang-format-diff turns into -lines ranges.
# Options that a user's git configuration could change are given explicitly.
changed_lines() {
  git diff -M -U0 --diff-filter=d --no-color --no-ext-diff --src-prefix=a/ --dst-prefix=b/ \
    "$base" -- '*.c' '*.h' '*.cpp'
}
export PYTHONUTF8=1
if $fix; then
  changed_lines | clang-format-diff -p1 -i
  exit 0
fi
diff=$(changed_lines | clang-format-diff -p1)
if [ -z "$diff" ]; then
  echo "Formatação: as linhas alteradas desde ${base:0:12} estão formatadas."
  exit 0
fi
printf '%s\n' "$diff"
echo "FALHA: linhas alteradas desde ${base:0:12} fora da formatação de .clang-format." >&2
echo "Para formatá-las: bash scripts/check-format.sh --fix ${base:0:12} (ou git clang-format ${base:0:12})" >&2
exit 1
