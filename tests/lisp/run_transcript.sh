#!/bin/sh
# Runs one Lisp transcript through `velloq --tty` and compares its output
# with the expected text byte for byte.
#   run_transcript.sh VELLOQ NAME.transcript
#
# A transcript interleaves what is typed with what the session answers,
# one line of the file at a time:
#   > TEXT      an input line: TEXT and a line feed go to standard input
#   >           (alone) an empty input line
#   normal| T   an output line T expected only in a plain run
#   stress| T   an output line T expected only under VELLOQ_GC_STRESS=1
#               (every allocation collects, so counts of collections and
#               of free nodes differ)
#   \ T         an output line T whatever T begins with: the escape for an
#               output line that itself begins like one of these markers
#   @restart    the session ends (its input is over) and a new `velloq
#               --tty` starts in the same folder, so what one session left
#               in files (saved databases) is read by a fresh interpreter
#   any other   an output line, as written
# The output lines after an input line are what the session writes once
# that line is in; a line the session writes in pieces stands where it is
# completed.  Every expected line ends with a line feed.  Expected output
# never holds an address, a time or anything else that differs between
# builds, so the same transcript passes in release and sanitizer builds
# (`ctest -R '^lisp_'` in a build folder runs every transcript against
# that folder's velloq).
#
# NAME.env, when present, holds environment settings for the run
# (VELLOQ_EXPECT_STATUS there is the exit status expected, 0 otherwise); the
# folder NAME.data, when present, is copied into the scratch folder the
# session runs in.  That folder starts with a "velloq.ini" that leaves the
# frame databases alone at start and exit (NAME.data may replace it).
set -u
velloq="$1"
transcript="$2"
base="${transcript%.transcript}"
stress=0
if [ "${VELLOQ_GC_STRESS:-}" = "1" ]; then stress=1; fi
if [ -f "$base.env" ]; then set -a; . "$base.env"; set +a; fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
printf 'LOAD_DB_AT_STARTUP  FALSE\nSAVE_DB_ON_EXIT     FALSE\n' > "$work/velloq.ini"
if [ -d "$base.data" ]; then cp -R "$base.data/." "$work/"; fi
LC_ALL=C awk -v dir="$work" '
  BEGIN { n = 1; out = dir "/.input1"; printf "" > out }
  /^@restart$/ { close(out); n++; out = dir "/.input" n; printf "" > out; next }
  /^> / { print substr($0, 3) > out; next }
  /^>$/ { print "" > out }
' "$transcript"
LC_ALL=C awk -v stress=$stress '
  /^> / || /^>$/ || /^@restart$/ { next }
  /^normal\| / { if (!stress) print substr($0, 9); next }
  /^stress\| / { if (stress) print substr($0, 9); next }
  /^\\ / { print substr($0, 3); next }
  { print }
' "$transcript" > "$work/.expected"
# Each session's exit status is checked; a session that ended otherwise than
# expected stops the run.
status=0
: > "$work/.actual"
for input in $(cd "$work" && ls .input* | sort -V); do
  (cd "$work" && LC_ALL=C.UTF-8 "$velloq" --tty < "$input" >> .actual 2>&1)
  status=$?
  if [ $status -ne "${VELLOQ_EXPECT_STATUS:-0}" ]; then break; fi
done
if [ $status -ne "${VELLOQ_EXPECT_STATUS:-0}" ]; then
  echo "velloq exited with status $status"
  cat "$work/.actual"
  exit 1
fi
if ! cmp -s "$work/.expected" "$work/.actual"; then
  echo "transcript $(basename "$transcript") differs (< expected, > actual):"
  diff "$work/.expected" "$work/.actual" | head -60
  exit 1
fi
exit 0
