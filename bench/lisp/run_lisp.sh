#!/bin/sh
# Runs the Lisp benchmark programs through `velloq --tty` and, for each peer
# interpreter that is installed (clisp interpreting the source, newlisp,
# picolisp), the same program written for it under peers/.  Checks that
# every run printed the same result and prints a table of times with the
# ratio peer/Velloq (above 1: Velloq is faster) and the worst ratio per peer.
# Times are the wall-clock seconds of the fastest of BENCH_RUNS runs (3 by
# default) on a machine left otherwise idle.  Benchmarks report; a wrong
# result is shown, never fatal.
#   sh run_lisp.sh <release bin dir> [program ...]
# The peers are Debian packages that install-deps.sh leaves out:
#   sudo apt-get install clisp newlisp picolisp
set -u
bin="$(cd "${1:?usage: run_lisp.sh <release bin dir> [program ...]}" && pwd)"
shift
here="$(cd "$(dirname "$0")" && pwd)"
programs="${*:-tak fib queens deriv destructive strings alist sort closures}"
# Every run happens in a scratch folder with settings that leave the frame
# databases alone.
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1
printf 'LOAD_DB_AT_STARTUP  FALSE\nSAVE_DB_ON_EXIT     FALSE\n' > velloq.ini

# run INPUT COMMAND...: runs COMMAND with INPUT as its standard input
# $runs times and sets `secs` to the fastest run's wall-clock seconds and
# `result` to the last line that run printed.  The fastest of a few runs is
# the one least disturbed by the rest of the machine, and a nanosecond clock
# resolves the short programs, where CPU time's 10 ms ticks would not.
runs="${BENCH_RUNS:-3}"
run() {
  input=$1
  shift
  best=""
  i=0
  while [ "$i" -lt "$runs" ]; do
    start=$(date +%s%N)
    "$@" < "$input" > "$scratch/out" 2>&1
    end=$(date +%s%N)
    if [ -z "$best" ] || [ $((end - start)) -lt "$best" ]; then best=$((end - start)); fi
    i=$((i + 1))
  done
  secs=$(awk -v ns="$best" 'BEGIN { printf "%.3f", ns / 1e9 }')
  result=$(grep -v '^[[:space:]]*$' "$scratch/out" | tail -n 1 | tr -d '\r' | tr -s ' ' | sed 's/^ //; s/ $//' | tr 'a-z' 'A-Z')
}

peers=""
command -v clisp > /dev/null && peers="$peers clisp"
command -v newlisp > /dev/null && peers="$peers newlisp"
command -v pil > /dev/null && peers="$peers picolisp"
if [ -z "$peers" ]; then
  echo "(no peer interpreter installed: sudo apt-get install clisp newlisp picolisp)"
fi

printf '%-12s %9s' program velloq
for p in $peers; do printf ' %9s %6s' "$p" ratio; done
printf '   result\n'
worst=""
for name in $programs; do
  run "$here/$name.lsp" "$bin/velloq" --tty
  vsecs=$secs
  vresult=$result
  printf '%-12s %9s' "$name" "$vsecs"
  mismatch=""
  for p in $peers; do
    case $p in
      clisp) run /dev/null clisp -q -norc "$here/peers/clisp/$name.lisp" ;;
      newlisp) run /dev/null newlisp "$here/peers/newlisp/$name.lsp" ;;
      picolisp) run /dev/null pil "$here/peers/picolisp/$name.l" ;;
    esac
    ratio=$(awk -v p="$secs" -v v="$vsecs" 'BEGIN { if (v > 0) printf "%.2f", p / v; else print "-" }')
    printf ' %9s %6s' "$secs" "$ratio"
    worst="$worst $p:$ratio"
    [ "$result" = "$vresult" ] || mismatch="$mismatch $p=$result"
  done
  if [ -n "$mismatch" ]; then printf '   %s  DIFFERENT:%s\n' "$vresult" "$mismatch"
  else printf '   %s\n' "$vresult"; fi
done
for p in $peers; do
  echo "$worst" | tr ' ' '\n' | awk -F: -v p=$p '$1 == p && $2 != "-" { if (w == "" || $2 + 0 < w + 0) w = $2 }
    END { if (w != "") printf "worst ratio %s/velloq: %s\n", p, w }'
done
# The frame system: build 101,110 frames with a trigger on every slot store,
# save them to ten databases, restore them into a fresh interpreter.  Save
# is the time of build and save less the time of the build alone.
frames_dir="$(mktemp -d)"
cp velloq.ini "$frames_dir/"
ms_of() {
  start=$(date +%s%N)
  (cd "$frames_dir" && cat "$@" | "$bin/velloq" --tty > /dev/null)
  end=$(date +%s%N)
  echo $(( (end - start) / 1000000 ))
}
build=$(ms_of "$here/frames_build.lsp")
both=$(ms_of "$here/frames_build.lsp" "$here/frames_save.lsp")
restore=$(ms_of "$here/frames_restore.lsp")
echo "lisp frames build: $build ms"
echo "lisp frames save: $((both - build)) ms"
echo "lisp frames restore: $restore ms"
rm -rf "$frames_dir"
