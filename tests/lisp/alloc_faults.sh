#!/bin/sh
# Makes allocations of node memory fail one at a time (VELLOQ_FAIL_ALLOC_AT,
# test build only) and checks that every run ends as documented: with
# "insufficient ... space" or, at start-up, "fatal initialization error"
# and status 1 - never a crash, a hang or a sanitizer report.
#   alloc_faults.sh VELLOQ STARTUP_STRIDE TRANSCRIPT...
# Start-up makes the same allocations for every input: they fail in turn
# once, the first ten and then every STARTUP_STRIDE-th of them (the count
# is large and each run starts a process).  For each transcript every allocation after start-up
# fails in turn.
set -u
velloq="$1"
stride="$2"
shift 2
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
documented='insufficient node space|insufficient string space|insufficient vector space|insufficient memory|fatal initialization error'
failures=0
runs=0

# run INPUT N: runs the session with the N-th allocation failing; sets
# $status and leaves the output in $work/out, the count in $work/count.
run() {
  (cd "$work/scratch" && VELLOQ_FAIL_ALLOC_AT=$2 timeout 60 "$velloq" --tty < "$1" > "$work/out" 2> "$work/err")
  status=$?
  sed -n 's/^velloq: \([0-9]*\) allocations$/\1/p' "$work/err" > "$work/count"
  sed '/^velloq: [0-9]* allocations$/d' "$work/err" >> "$work/out"
  runs=$((runs + 1))
}

# check INPUT N EXPECTED: the run with the N-th allocation failing gives the
# normal output, or stops with a documented message.
check() {
  run "$1" "$2"
  bad=""
  if grep -q -E 'Sanitizer|runtime error' "$work/out"; then bad="sanitizer report"
  elif [ $status -ge 124 ]; then bad="status $status (crash or hang)"
  elif [ $status -eq 1 ] && ! grep -q -E 'fatal initialization error|insufficient memory' "$work/out"; then bad="status 1"
  elif [ $status -ne 0 ] && [ $status -ne 1 ]; then bad="status $status"
  elif ! cmp -s "$work/out" "$3" && ! grep -q -E "$documented" "$work/out"; then
    bad="output differs without a documented message"
  fi
  if [ -n "$bad" ]; then
    failures=$((failures + 1))
    echo "$(basename "$1") with allocation $2 failing: $bad"
    head -20 "$work/out"
  fi
}

mkdir -p "$work/scratch"
: > "$work/empty"
run "$work/empty" 0
startup=$(cat "$work/count")
cp "$work/out" "$work/empty.expected"
n=1
while [ "$n" -le "$startup" ]; do
  check "$work/empty" "$n" "$work/empty.expected"
  # The first allocations make the permanent segments and the first
  # segment of nodes: each of them is tried.
  if [ "$n" -lt 10 ]; then n=$((n + 1)); else n=$((n + stride)); fi
done
for t in "$@"; do
  name=$(basename "$t" .transcript)
  LC_ALL=C awk '/^> / { print substr($0, 3); next } /^>$/ { print "" }' "$t" > "$work/$name.in"
  run "$work/$name.in" 0
  total=$(cat "$work/count")
  cp "$work/out" "$work/$name.expected"
  n=$((startup + 1))
  while [ "$n" -le "$total" ]; do
    check "$work/$name.in" "$n" "$work/$name.expected"
    n=$((n + 1))
  done
done
echo "allocation failures: $runs runs (start-up: $startup allocations, every $stride-th), $failures bad"
[ $failures -eq 0 ]
