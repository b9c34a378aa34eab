#!/bin/sh
# Piped input against LOAD: one data list of 20,000 lines, piped into
# `velloq --tty` line by line and loaded from a file, each timed whole
# (start-up included).  Usage: sh run_piped.sh <release bin dir> [lines]
bin="$(cd "${1:?usage: run_piped.sh <release bin dir> [lines]}" && pwd)"
lines="${2:-20000}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
printf 'LOAD_DB_AT_STARTUP  FALSE\nSAVE_DB_ON_EXIT     FALSE\n' > velloq.ini
awk -v n="$lines" 'BEGIN {
  print "(setq data (quote ("
  for (i = 1; i < n - 1; i++) printf "(item %d \"name %d\" %d.5 (a b c))\n", i, i, i
  print ")))"
}' > data.lsp
echo '(length data)' >> data.lsp
time_ms() {
  start=$(date +%s%N)
  "$@" > out.txt
  end=$(date +%s%N)
  echo $(( (end - start) / 1000000 ))
}
piped=$(time_ms sh -c "\"$bin/velloq\" --tty < data.lsp")
piped_result=$(tail -n 1 out.txt)
loaded=$(time_ms sh -c "printf '(load \"data\" (quote /verbose) nil)\n(length data)\n' | \"$bin/velloq\" --tty")
loaded_result=$(tail -n 1 out.txt)
echo "lisp piped input, $lines lines: $piped ms (length $piped_result)"
echo "lisp LOAD of the same file: $loaded ms (length $loaded_result)"
