#!/bin/sh
# Builds the release configuration and runs every benchmark, printing each
# figure with its unit.  Benchmarks report; they never fail.
#   scripts/bench.sh          everything
#   scripts/bench.sh lisp     only the Lisp programs (bench/lisp/run_lisp.sh),
#                             side by side with clisp, newlisp and picolisp
#                             when those are installed:
#                               sudo apt-get install clisp newlisp picolisp
#   scripts/bench.sh lisp-count  the instructions each Lisp program runs
#                             (bench/lisp/count_lisp.sh, under valgrind)
set -e
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
only="${1:-}"
"$ROOT/scripts/install-deps.sh"
cmake -S "$ROOT" -B "$ROOT/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSUITE_BENCH=ON >/dev/null
case "$only" in
  lisp | lisp-count)
    cmake --build "$ROOT/build/release" -j "$(nproc 2>/dev/null || echo 2)" --target velloq
    runner=run_lisp.sh
    [ "$only" = lisp-count ] && runner=count_lisp.sh
    sh "$ROOT/bench/lisp/$runner" "$ROOT/build/release/bin"
    exit 0
    ;;
esac
cmake --build "$ROOT/build/release" -j "$(nproc 2>/dev/null || echo 2)"
for b in $(find "$ROOT/build/release/bench" -type f -name 'bench_*' -perm -u+x | sort); do
  echo "== $(basename "$b")"
  "$b" || true
done
for s in $(find "$ROOT/bench" -name 'run_*.sh' | sort); do
  echo "== $(basename "$s")"
  sh "$s" "$ROOT/build/release/bin" || true
done
