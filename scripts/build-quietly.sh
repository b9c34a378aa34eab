#!/bin/sh
# Configures and builds one configuration, saying what it does only when
# there is something to do: a line before configuring a new build folder,
# and a progress count while building.  When everything is up to date it
# prints nothing.  On failure the tail of the build's output is shown.
#   build-quietly.sh BUILD_DIR [CMAKE_ARGS...]
set -u
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
build=$1
shift
mkdir -p "$build"
log="$build/last-build.log"

if [ ! -f "$build/build.ninja" ]; then
  echo "Configuring the build in ${build#$ROOT/} ..."
  if ! cmake -S "$ROOT" -B "$build" -G Ninja "$@" > "$log" 2>&1; then
    tail -n 30 "$log"
    echo "Configuration failed; the whole output is in $log" >&2
    exit 1
  fi
fi

if ninja -C "$build" -n 2>/dev/null | grep -q "no work to do"; then
  exit 0
fi

echo "Building (the first build takes several minutes) ..."
tty=0
[ -t 1 ] && tty=1
status_file="$build/last-build.status"
{ NINJA_STATUS="[%f/%t] " cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" 2>&1
  echo $? > "$status_file"; } |
  awk -v tty="$tty" -v logfile="$log" '
    BEGIN { printf "" > logfile }
    /^\[[0-9]+\/[0-9]+\] / {
      split(substr($1, 2, length($1) - 2), n, "/")
      if (tty) printf "\r  %d of %d steps", n[1], n[2]
      else if (n[1] == n[2] || n[1] - shown >= n[2] / 10) { printf "  %d of %d steps\n", n[1], n[2]; shown = n[1] }
      fflush()
      next
    }
    { print >> logfile }
    END { if (tty) printf "\n" }'
status=$(cat "$status_file" 2>/dev/null || echo 1)
rm -f "$status_file"
if [ "$status" -ne 0 ]; then
  tail -n 40 "$log"
  echo "Build failed; the whole output is in $log" >&2
  exit 1
fi
echo "Build finished."
