#!/bin/sh
# Counts the instructions each Lisp benchmark program runs in `velloq --tty`,
# under valgrind's callgrind, less those of starting and ending an empty
# session.  Unlike the times of run_lisp.sh, the counts do not move with
# the machine's load or the code's layout, so a change of a percent or two
# shows; run both builds to compare.  About fifty times slower than a plain
# run.  Benchmarks report; they never fail.
#   sh count_lisp.sh <release bin dir> [program ...]
# valgrind is a Debian package that install-deps.sh leaves out:
#   sudo apt-get install valgrind
set -u
bin="$(cd "${1:?usage: count_lisp.sh <release bin dir> [program ...]}" && pwd)"
shift
here="$(cd "$(dirname "$0")" && pwd)"
programs="${*:-tak fib queens deriv destructive strings alist sort closures}"
if ! command -v valgrind > /dev/null; then
  echo "(valgrind is not installed: sudo apt-get install valgrind)"
  exit 0
fi
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1
printf 'LOAD_DB_AT_STARTUP  FALSE\nSAVE_DB_ON_EXIT     FALSE\n' > velloq.ini

# count FILE: prints the instructions velloq runs for the program in FILE.
count() {
  valgrind --tool=callgrind --callgrind-out-file="$scratch/cg" "$bin/velloq" --tty \
    < "$1" > /dev/null 2> "$scratch/log"
  sed -n 's/.*Collected : *\([0-9]*\).*/\1/p' "$scratch/log" | tail -n 1
}

: > "$scratch/empty.lsp"
base=$(count "$scratch/empty.lsp")
printf '%-12s %14s\n' program instructions
for name in $programs; do
  n=$(count "$here/$name.lsp")
  printf '%-12s %14s\n' "$name" "$((n - base))"
done
printf 'start-up and exit, subtracted: %s\n' "$base"
