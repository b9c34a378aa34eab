#!/bin/sh
# `cmake --install` into a temporary prefix puts the programs, Norvix's
# desktop entry and icon, and the examples in place.
#   install.sh CMAKE BUILD_DIR HAS_VELLOQ HAS_PROJBASE   (the last two 1 or 0)
set -u
cmake=$1 build=$2 velloq=$3 projbase=$4
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
"$cmake" --install "$build" --prefix "$prefix" > "$prefix.log" 2>&1 || {
  cat "$prefix.log"; rm -f "$prefix.log"; exit 1; }
rm -f "$prefix.log"

fail=0
expect() {
  [ -e "$prefix/$1" ] || { echo "not installed: $1"; fail=1; }
}
expect_program() {
  [ -x "$prefix/bin/$1" ] || { echo "not installed as a program: bin/$1"; fail=1; }
}
expect_program norvix
[ "$velloq" = 1 ] && expect_program velloq
[ "$projbase" = 1 ] && expect_program projbase
expect share/applications/norvix.desktop
expect share/icons/hicolor/128x128/apps/norvix.png
expect share/knowledge-suite/examples/fruit.dat
grep -qx "Exec=norvix %f" "$prefix/share/applications/norvix.desktop" ||
  { echo "the desktop entry does not start norvix"; fail=1; }
grep -qx "Icon=norvix" "$prefix/share/applications/norvix.desktop" ||
  { echo "the desktop entry does not name the icon"; fail=1; }
exit $fail
