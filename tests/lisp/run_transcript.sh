#!/bin/sh
# Runs one Lisp transcript through `velloq --tty` and compares its output
# with the expected text byte for byte.
#   run_transcript.sh VELLOQ TRANSCRIPT.lsp
# The expected output is TRANSCRIPT.out; under VELLOQ_GC_STRESS=1 a
# TRANSCRIPT.stress.out, when present, is used instead (collection counts
# and freed segments differ when every allocation collects).
set -u
velloq="$1"
input="$2"
base="${input%.lsp}"
expected="$base.out"
if [ "${VELLOQ_GC_STRESS:-}" = "1" ] && [ -f "$base.stress.out" ]; then
  expected="$base.stress.out"
fi
# TRANSCRIPT.env, when present, holds environment settings for the run.
if [ -f "$base.env" ]; then set -a; . "$base.env"; set +a; fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The session runs in a scratch folder holding the transcript's data files.
if [ -d "$base.data" ]; then cp -R "$base.data/." "$work/"; fi
(cd "$work" && LC_ALL=C.UTF-8 "$velloq" --tty < "$input" > "$work/actual.txt" 2>&1)
status=$?
if [ $status -ne 0 ]; then
  echo "velloq exited with status $status"
  cat "$work/actual.txt"
  exit 1
fi
if ! cmp -s "$expected" "$work/actual.txt"; then
  echo "transcript $(basename "$input") differs from $(basename "$expected"):"
  diff "$expected" "$work/actual.txt" | head -60
  exit 1
fi
exit 0
