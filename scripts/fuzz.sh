#!/bin/sh
# Runs every fuzz target for SECONDS each (default 600), one after another,
# and merges what the runs found into the committed corpora (fuzz/*/...).
# libFuzzer's -merge=1 adds only inputs that reach new coverage, so the
# corpora stay small.  Prints one line per target: executions, coverage,
# corpus size before and after, crashes found.  Inputs that crashed or hung
# a target are kept in build/fuzz-runs/TARGET/findings; the script then ends
# with status 1 (after running every target).
#
#   scripts/fuzz.sh [SECONDS]
set -e
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
EACH="${1:-600}"
JOBS="${JOBS:-2}"
BUILD="$ROOT/build/fuzz"
RUNS="$ROOT/build/fuzz-runs"

cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DSUITE_FUZZ=ON >/dev/null
cmake --build "$BUILD" -j "$JOBS" >/dev/null

# The figures of libFuzzer's last status line ("#N DONE cov: C ft: F ...").
figure() {
  grep -E "^#[0-9]+" "$1" | tail -n 1 | sed -n "s/.*$2: *\([0-9]*\).*/\1/p"
}

failed=0
for spec in $(find "$BUILD" -name '*.fuzz' | sort); do
  name=$(basename "$spec" .fuzz)
  bin="$(dirname "$spec")/$name"
  [ -x "$bin" ] || continue
  corpus=$(sed -n 1p "$spec")
  options=$(sed -n 2p "$spec")
  work="$RUNS/$name"
  rm -rf "$work"
  mkdir -p "$work/new" "$work/findings" "$corpus"
  before=$(ls "$corpus" | wc -l)
  # A crash ends the run early; the remaining time is not made up.
  if ! "$bin" -max_total_time="$EACH" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
       -artifact_prefix="$work/findings/" $options "$work/new" "$corpus" >"$work/run.log" 2>&1; then
    failed=1
  fi
  "$bin" -merge=1 -rss_limit_mb=2048 -timeout=10 $options "$corpus" "$work/new" \
       >"$work/merge.log" 2>&1 || failed=1
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/run.log")
  printf '%-22s %10s execs  cov %6s  ft %6s  corpus %4s -> %4s  findings %s\n' \
    "$name" "${execs:-?}" "$(figure "$work/run.log" cov)" "$(figure "$work/run.log" ft)" \
    "$before" "$(ls "$corpus" | wc -l)" "$(ls "$work/findings" | wc -l)"
done
exit "$failed"
