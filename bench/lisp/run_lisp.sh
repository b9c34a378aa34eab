#!/bin/sh
# Runs the Lisp benchmark programs through `velloq --tty` and prints each
# time with its unit.  Usage: sh run_lisp.sh <release bin dir>
bin="${1:?usage: run_lisp.sh <release bin dir>}"
here="$(cd "$(dirname "$0")" && pwd)"
# A scratch folder with settings that leave the frame databases alone.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
printf 'LOAD_DB_AT_STARTUP  FALSE\nSAVE_DB_ON_EXIT     FALSE\n' > velloq.ini
for name in tak fib lists format; do
  start=$(date +%s%N)
  result=$("$bin/velloq" --tty < "$here/$name.lsp" | tail -n 1)
  end=$(date +%s%N)
  ms=$(( (end - start) / 1000000 ))
  echo "lisp $name: $ms ms (last value: $result)"
done
