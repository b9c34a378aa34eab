#!/bin/sh
# Runs every answer script of a folder against a knowledge base and compares
# the dialogue (with its explanation) to the expected one.
#   examples/check_answers.sh BASE.dat FOLDER [--update]
# For each FOLDER/NAME.answers: norvix --consult BASE.dat --answers
# NAME.answers --explain --log ..., compared with NAME.expected, and the
# exit status with NAME.status when that file exists; when FOLDER holds
# check.expected, the output of norvix --check BASE.dat is compared with it
# as well.  --update rewrites the
# expected files instead.  The norvix used is $NORVIX, else the release
# build's.  Exit status: 0 when every script gives what is expected.
set -u
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
NORVIX="${NORVIX:-$ROOT/build/release/bin/norvix}"
base=$1 folder=$2 update=${3:-}
export LC_ALL=C  # the dialogue in UTF-8 whatever the user's locale
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

failed=0
for script in "$folder"/*.answers; do
  [ -e "$script" ] || continue
  name=${script%.answers}
  "$NORVIX" --consult "$base" --answers "$script" --explain --log "$tmp/log" >/dev/null 2>"$tmp/err"
  status=$?
  if [ "$update" = "--update" ]; then
    cp "$tmp/log" "$name.expected"
    echo $status > "$name.status"
    continue
  fi
  if ! cmp -s "$tmp/log" "$name.expected"; then
    echo "FAIL $(basename "$name"): the dialogue differs"
    diff "$name.expected" "$tmp/log" | head -20
    failed=$((failed + 1))
  elif [ -f "$name.status" ] && [ "$(cat "$name.status")" != "$status" ]; then
    echo "FAIL $(basename "$name"): exit status $status, expected $(cat "$name.status")"
    failed=$((failed + 1))
  else
    echo "ok   $(basename "$name")"
  fi
done
if [ -f "$folder/check.expected" ]; then
  "$NORVIX" --check "$base" > "$tmp/check" 2>&1
  if [ "$update" = "--update" ]; then
    cp "$tmp/check" "$folder/check.expected"
  elif cmp -s "$tmp/check" "$folder/check.expected"; then
    echo "ok   check"
  else
    echo "FAIL check: the findings differ"
    diff "$folder/check.expected" "$tmp/check" | head -20
    failed=$((failed + 1))
  fi
fi
[ $failed -eq 0 ]
