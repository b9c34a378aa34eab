#!/bin/sh
# norvix --export then --import gives back each example file byte for byte,
# and an import that fails leaves the file it would write untouched.
#   text_roundtrip.sh NORVIX SOURCE_DIR
set -u
norvix=$1 src=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
for base in "$src"/examples/*.dat; do
  name=$(basename "$base" .dat)
  "$norvix" --export "$base" > "$tmp/$name.txt" || { echo "export of $name failed"; fail=1; continue; }
  "$norvix" --import "$tmp/$name.txt" "$tmp/$name.dat" || { echo "import of $name failed"; fail=1; continue; }
  cmp "$base" "$tmp/$name.dat" || fail=1
done
echo "old contents" > "$tmp/kept.dat"
printf 'Формат: Norvix 1\nНеизвестно: x\n' > "$tmp/bad.txt"
if "$norvix" --import "$tmp/bad.txt" "$tmp/kept.dat" 2>/dev/null; then echo "bad text imported"; fail=1; fi
[ "$(cat "$tmp/kept.dat")" = "old contents" ] || { echo "failed import changed its output"; fail=1; }
"$norvix" --import "$tmp/bad.txt" "$tmp/new.dat" 2>/dev/null
[ ! -e "$tmp/new.dat" ] || { echo "failed import created its output"; fail=1; }
[ -z "$(ls "$tmp" | grep -v -e '\.txt$' -e '\.dat$')" ] || { echo "temporary files left: $(ls "$tmp")"; fail=1; }
exit $fail
