#!/usr/bin/env bash
# scripts/check-format.sh on a scratch repository with the tree's own
# .clang-format: lines nobody touched are never checked, a badly formatted
# changed line fails with its diff (uncommitted or committed), a base given as
# argument moves the start, git clang-format <base> is all the repair takes,
# a file moved with git mv is checked on its changed lines alone (and --fix
# formats just those), and a shallow clone whose history starts after the
# base still checks.
#
#   bash tests/scripts/CheckFormatTest.sh <source folder>
set -euo pipefail
source_dir=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

export GIT_CONFIG_GLOBAL=/dev/null GIT_CONFIG_NOSYSTEM=1
export GIT_AUTHOR_NAME=Teste GIT_AUTHOR_EMAIL=teste@example.invalid
export GIT_COMMITTER_NAME=Teste GIT_COMMITTER_EMAIL=teste@example.invalid

fail() { echo "FALHOU: $*" >&2; exit 1; }
check() { bash scripts/check-format.sh "$@" >"$work/out" 2>&1; }
expect_pass() { check "$@" || { cat "$work/out"; fail "check-format $* should pass"; }; }
expect_fail() {
  local wanted=$1
  shift
  if check "$@"; then cat "$work/out"; fail "check-format $* should fail"; fi
  grep -qF -- "$wanted" "$work/out" || { cat "$work/out"; fail "the output lacks: $wanted"; }
}
commit() { git add -A && git commit -q -m "$1"; }

repo=$work/repo
mkdir -p "$repo/scripts"
cd "$repo"
git init -q
# Older code, formatted otherwise, before the configuration arrives.
old_code='int  old( ) {return 1;}
int  older( ) {return 0;}
int  oldest( ) {return -1;}
'
printf '%s' "$old_code" >old.cpp
commit "old code"
cp "$source_dir/.clang-format" .
cp "$source_dir/scripts/check-format.sh" scripts/
commit "formatting configuration"
base=$(git rev-parse HEAD)
expect_pass

# A formatted line added to an old file: its old line stays unchecked.
printf '%sint added() { return 2; }\n' "$old_code" >old.cpp
expect_pass
printf 'int  bad( ){return 3;}\n' >new.cpp
git add new.cpp
expect_fail "+int bad() { return 3; }"
commit "a badly formatted change"
expect_fail "git clang-format ${base:0:12}"
# Since the change itself nothing is touched.
expect_pass HEAD
expect_fail "não está neste clone" no-such-commit

git clang-format -q "$base" >/dev/null
grep -qx 'int bad() { return 3; }' new.cpp || fail "git clang-format did not format new.cpp"
grep -qx 'int  old( ) {return 1;}' old.cpp || fail "git clang-format touched an old line"
commit "formatted"
expect_pass

# A file moved with git mv: its old lines stay unchecked, a changed one is not.
mkdir lib
git mv old.cpp lib/old.cpp
commit "moved"
expect_pass
printf 'int  moved( ){return 5;}\n' >>lib/old.cpp
expect_fail "+int moved() { return 5; }"
bash scripts/check-format.sh --fix >/dev/null
grep -qx 'int moved() { return 5; }' lib/old.cpp || fail "--fix did not format lib/old.cpp"
grep -qx 'int  old( ) {return 1;}' lib/old.cpp || fail "--fix touched an old line"
commit "moved and formatted"
expect_pass

# A clone of the last commit alone: the check still runs, on what follows it.
git clone -q --depth 1 "file://$repo" "$work/shallow"
cd "$work/shallow"
expect_pass
printf 'int  worse( ){return 4;}\n' >>new.cpp
expect_fail "+int worse() { return 4; }"
echo "check-format: ok"
