#!/bin/sh
# A named pipe given as the file: norvix (windowed and --consult) and
# projbase refuse it at once, with an exit status and a message that names
# the file and the reason, instead of waiting for a writer.
#   special_files.sh NORVIX PROJBASE
set -u
norvix=$1 projbase=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0

# check NAME STATUS TEXT COMMAND...: COMMAND ends within a second with
# STATUS, and TEXT is a line of its standard error.
check() {
  name=$1 want=$2 text=$3
  shift 3
  timeout 1 "$@" < /dev/null > "$tmp/out" 2> "$tmp/err"
  status=$?
  if [ "$status" -eq 124 ]; then
    echo "$name: still waiting after a second"
    fail=1
    return
  fi
  [ "$status" -eq "$want" ] || { echo "$name: exit status $status, expected $want"; fail=1; }
  grep -qxF "$text" "$tmp/err" || {
    echo "$name: standard error lacks the line \"$text\":"
    cat "$tmp/err"
    fail=1
  }
}

mkfifo "$tmp/kb.dat"
check "norvix --consult" 2 "$tmp/kb.dat: не обычный файл" "$norvix" --consult "$tmp/kb.dat"
check "norvix" 2 "$tmp/kb.dat: не обычный файл" \
  env QT_QPA_PLATFORM=offscreen "$norvix" --no-splash "$tmp/kb.dat"
check "norvix, missing file" 2 "$tmp/none.dat: нет такого файла или папки" \
  env QT_QPA_PLATFORM=offscreen "$norvix" --no-splash "$tmp/none.dat"

mkdir "$tmp/records"
mkfifo "$tmp/records/knolbases.ddb"
cd "$tmp/records" || exit 1
check "projbase" 2 "Не удалось прочитать файл knolbases.ddb: не обычный файл" "$projbase"
exit $fail
