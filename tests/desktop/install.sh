#!/bin/sh
# `cmake --install` into a temporary prefix puts the programs, Norvix's
# desktop entry and icon, and the examples in place.
#   install.sh CMAKE BUILD_DIR HAS_VELLOQ HAS_PROJBASE HAS_VELLOQ_WINDOWED
#   (the last three 1 or 0)
set -u
cmake=$1 build=$2 velloq=$3 projbase=$4 windowed=$5
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
# The installed velloq finds its installed windows.
if [ "$velloq" = 1 ] && [ "$windowed" = 1 ]; then
  (cd "$prefix" &&
   printf 'LOAD_DB_AT_STARTUP  FALSE\nSAVE_DB_ON_EXIT     FALSE\n' > velloq.ini &&
   printf '(exit)\n' > init.lsp &&
   QT_QPA_PLATFORM=offscreen timeout 60 bin/velloq --no-splash > out 2>&1 &&
   ! grep -q 'cannot be started' out) ||
    { echo "the installed velloq does not start its windows: $(cat "$prefix/out")"; fail=1; }
fi
exit $fail
