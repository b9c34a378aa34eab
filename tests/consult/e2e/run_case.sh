#!/bin/sh
# Runs one end-to-end case of norvix and compares standard output, standard
# error and the exit status with the case's expected files.
#   run_case.sh NORVIX CASE_DIR SOURCE_DIR NAME [--update]
# NAME.args holds one argument a line (@SRC@ = the source tree, @E2E@ =
# CASE_DIR); NAME.in is standard input (none: empty); NAME.out, NAME.err and
# NAME.status are what must come out (a missing .err means none).
set -u
norvix=$1 dir=$2 src=$3 name=$4 update=${5:-}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

set --
while IFS= read -r arg || [ -n "$arg" ]; do
  set -- "$@" "$(printf '%s' "$arg" | sed "s|@SRC@|$src|g; s|@E2E@|$dir|g")"
done < "$dir/$name.args"
input=/dev/null
[ -f "$dir/$name.in" ] && input="$dir/$name.in"

"$norvix" "$@" < "$input" > "$tmp/out" 2> "$tmp/err"
echo $? > "$tmp/status"
sed "s|$dir|@E2E@|g; s|$src|@SRC@|g" "$tmp/err" > "$tmp/err.shown"

if [ "$update" = "--update" ]; then
  cp "$tmp/out" "$dir/$name.out"
  cp "$tmp/status" "$dir/$name.status"
  if [ -s "$tmp/err.shown" ]; then cp "$tmp/err.shown" "$dir/$name.err"; else rm -f "$dir/$name.err"; fi
  exit 0
fi

fail=0
[ -f "$dir/$name.err" ] || : > "$tmp/none"
cmp -s "$tmp/out" "$dir/$name.out" || { echo "standard output differs:"; diff "$dir/$name.out" "$tmp/out"; fail=1; }
expected_err="$dir/$name.err"
[ -f "$expected_err" ] || expected_err="$tmp/none"
cmp -s "$tmp/err.shown" "$expected_err" || { echo "standard error differs:"; diff "$expected_err" "$tmp/err.shown"; fail=1; }
cmp -s "$tmp/status" "$dir/$name.status" || { echo "exit status $(cat "$tmp/status"), expected $(cat "$dir/$name.status")"; fail=1; }
exit $fail
