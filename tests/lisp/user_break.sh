#!/bin/sh
# Ctrl-C during a long evaluation prints "*User-Break*", returns to the top
# level and the session reads on.  The signal is sent once the loop is known
# to run (its marker is on the output).
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
printf '(progn (print (quote looping)) (loop))\n' >&3
i=0
while ! grep -q LOOPING "$work/out" 2>/dev/null; do
  i=$((i + 1))
  if [ $i -gt 600 ]; then echo "the loop never started"; kill $pid; exit 1; fi
  sleep 0.1
done
kill -INT $pid
printf '(+ 1 2)\n' >&3
exec 3>&-
wait $pid
status=$?
expected="$(printf 'LOOPING\n*User-Break*\n3')"
actual="$(cat "$work/out")"
if [ $status -ne 0 ] || [ "$actual" != "$expected" ]; then
  echo "status $status, output:"
  cat "$work/out"
  exit 1
fi
echo "user break: ok"
