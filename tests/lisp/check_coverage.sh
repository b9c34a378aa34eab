#!/bin/sh
# Fails when a named entry of the built-in table is called by no transcript.
# A call is the name right after an opening parenthesis, or quoted as a
# function argument ('NAME or #'NAME), on an input line ("> ") of a
# transcript.
table="$1"
dir="$2"
missing=0
names=$(sed -n 's/.*{"\([^"]*\)", K_[F]*SUBR.*/\1/p' "$table")
if [ -z "$names" ]; then
  echo "no built-in names found in $table"
  exit 1
fi
calls="$(mktemp)"
trap 'rm -f "$calls"' EXIT
sed -n 's/^> //p' "$dir"/*.transcript | tr 'a-z' 'A-Z' > "$calls"
set -f
for n in $names; do
  if ! grep -F -q -e "($n " -e "($n)" -e "'$n " -e "'$n)" "$calls"; then
    echo "built-in $n is called by no transcript"
    missing=1
  fi
done
exit $missing
