#!/bin/sh
# Builds the release configuration and starts a program.
#   ./run.sh                         Norvix with the bundled example
#   ./run.sh norvix|velloq|projbase [ARGS]
set -e
ROOT="$(cd "$(dirname "$0")" && pwd)"
"$ROOT/scripts/install-deps.sh"
# Says what it does when there is work (configuring, building with a
# progress count); silent when everything is up to date.
"$ROOT/scripts/build-quietly.sh" "$ROOT/build/release" -DCMAKE_BUILD_TYPE=Release -DSUITE_BENCH=ON

BIN="$ROOT/build/release/bin"
EXAMPLE="$ROOT/examples/computer.dat"

if [ $# -gt 0 ]; then
  program="$1"
  shift
  case "$program" in
    norvix|velloq|projbase) exec "$BIN/$program" "$@" ;;
    *) echo "usage: ./run.sh [norvix|velloq|projbase] [ARGS]" >&2; exit 2 ;;
  esac
fi

if [ -x "$BIN/norvix" ]; then
  if [ -z "$DISPLAY" ] && [ -z "$WAYLAND_DISPLAY" ]; then
    echo "No display: running the console consultation of $(basename "$EXAMPLE")."
    exec "$BIN/norvix" --consult "$EXAMPLE"
  fi
  exec "$BIN/norvix" "$EXAMPLE"
fi
exec "$BIN/projbase"
