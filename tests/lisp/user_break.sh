#!/bin/sh
# Ctrl-C during a long evaluation prints "*User-Break*", returns to the top
# level and the session reads on: first in a loop typed at the top level,
# then in one inside a function that has run before (its body analysed).
# Each signal is sent once its loop is known to run (its marker is on the
# output).
#   user_break.sh VELLOQ
velloq="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkfifo "$work/in"
printf 'LOAD_DB_AT_STARTUP  FALSE\nSAVE_DB_ON_EXIT     FALSE\n' > "$work/velloq.ini"
cd "$work" || exit 1
"$velloq" --tty < "$work/in" > "$work/out" 2>&1 &
pid=$!
exec 3> "$work/in"

# break_when MARKER: waits until MARKER is on the output, then sends Ctrl-C.
break_when() {
  i=0
  while ! grep -q "$1" "$work/out" 2>/dev/null; do
    i=$((i + 1))
    if [ $i -gt 600 ]; then echo "the loop $1 never started"; kill $pid; exit 1; fi
    sleep 0.1
  done
  kill -INT $pid
}

printf '(progn (print (quote looping)) (loop))\n' >&3
break_when LOOPING
printf '(+ 1 2)\n' >&3
printf '(defun spin (n) (let ((k 0)) (when (> n 0) (print (quote spinning)) (loop (setq k (1+ k))))))\n' >&3
printf '(spin 0)\n(spin 1)\n' >&3
break_when SPINNING
printf '(+ 3 4)\n' >&3
exec 3>&-
wait $pid
status=$?
expected="$(printf 'LOOPING\n*User-Break*\n3\nSPIN\nNIL\nSPINNING\n*User-Break*\n7')"
actual="$(cat "$work/out")"
if [ $status -ne 0 ] || [ "$actual" != "$expected" ]; then
  echo "status $status, output:"
  cat "$work/out"
  exit 1
fi
echo "user break: ok"
