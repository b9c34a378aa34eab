#!/bin/sh
# Runs the Lisp benchmark programs through `velloq --tty` and prints each
# time with its unit.  Usage: sh run_lisp.sh <release bin dir>
bin="$(cd "${1:?usage: run_lisp.sh <release bin dir>}" && pwd)"
here="$(cd "$(dirname "$0")" && pwd)"
for name in tak fib lists format; do
  start=$(date +%s%N)
  result=$("$bin/velloq" --tty < "$here/$name.lsp" | tail -n 1)
  end=$(date +%s%N)
  ms=$(( (end - start) / 1000000 ))
  echo "lisp $name: $ms ms (last value: $result)"
done
# The frame system: build 101,110 frames with a trigger on every slot store,
# save them to ten databases, restore them into a fresh interpreter.  Save
# is the time of build and save less the time of the build alone.
scratch="$(mktemp -d)"
ms_of() {
  start=$(date +%s%N)
  (cd "$scratch" && cat "$@" | "$bin/velloq" --tty > /dev/null)
  end=$(date +%s%N)
  echo $(( (end - start) / 1000000 ))
}
build=$(ms_of "$here/frames_build.lsp")
both=$(ms_of "$here/frames_build.lsp" "$here/frames_save.lsp")
restore=$(ms_of "$here/frames_restore.lsp")
echo "lisp frames build: $build ms"
echo "lisp frames save: $((both - build)) ms"
echo "lisp frames restore: $restore ms"
rm -rf "$scratch"
