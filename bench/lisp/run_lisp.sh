#!/bin/sh
# Runs the Lisp benchmark programs through `velloq --tty` and prints each
# time with its unit.  Usage: sh run_lisp.sh <release bin dir>
bin="${1:?usage: run_lisp.sh <release bin dir>}"
here="$(cd "$(dirname "$0")" && pwd)"
for name in tak fib lists format; do
  start=$(date +%s%N)
  result=$("$bin/velloq" --tty < "$here/$name.lsp" | tail -n 1)
  end=$(date +%s%N)
  ms=$(( (end - start) / 1000000 ))
  echo "lisp $name: $ms ms (last value: $result)"
done
