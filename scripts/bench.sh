#!/bin/sh
# Builds the release configuration and runs every benchmark, printing each
# figure with its unit.  Benchmarks report; they never fail.
set -e
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
"$ROOT/scripts/install-deps.sh"
cmake -S "$ROOT" -B "$ROOT/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSUITE_BENCH=ON >/dev/null
cmake --build "$ROOT/build/release" -j "$(nproc 2>/dev/null || echo 2)"
for b in $(find "$ROOT/build/release/bench" -type f -name 'bench_*' -perm -u+x | sort); do
  echo "== $(basename "$b")"
  "$b" || true
done
for s in $(find "$ROOT/bench" -name 'run_*.sh' | sort); do
  echo "== $(basename "$s")"
  sh "$s" "$ROOT/build/release/bin" || true
done
