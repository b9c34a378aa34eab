#!/bin/sh
# How velloq starts: without a display, or without its windowed program, it
# says so in one line and runs the terminal session; with one (the offscreen platform) the windows run until
# EXIT, here from "init.lsp", ends them as closing the main window does.
velloq="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
printf 'LOAD_DB_AT_STARTUP  FALSE\nSAVE_DB_ON_EXIT     FALSE\n' > velloq.ini
fail() { echo "FAIL: $*"; exit 1; }

out=$(printf '(+ 1 2)\n' | env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$velloq" 2>err)
[ $? -eq 0 ] || fail "no display: exit status"
[ "$out" = "3" ] || fail "no display: output '$out'"
[ "$(wc -l < err)" -eq 1 ] || fail "no display: standard error has $(wc -l < err) lines"
grep -q 'no display' err || fail "no display: $(cat err)"

# Without the windowed program beside it (nor installed), velloq says so
# and runs the terminal session.
cp "$velloq" ./velloq-alone
out=$(printf '(+ 1 2)\n' | QT_QPA_PLATFORM=offscreen ./velloq-alone 2>err)
[ $? -eq 0 ] || fail "no windowed program: exit status"
[ "$out" = "3" ] || fail "no windowed program: output '$out'"
grep -q 'the windows cannot be started' err || fail "no windowed program: $(cat err)"
# One that is there but cannot run is named with its error.
: > velloq-windowed
printf '(+ 1 2)\n' | QT_QPA_PLATFORM=offscreen ./velloq-alone > /dev/null 2>err
grep -q 'velloq-windowed: Permission denied' err || fail "windowed program not runnable: $(cat err)"
rm -f velloq-alone velloq-windowed

"$velloq" --help | grep -q -- '--no-splash' || fail "--help"
[ "$("$velloq" --version)" = "velloq 1.0" ] || fail "--version"

rm -f velloq.ini VELLOQ.LOG
printf '(setq started 1)\n(exit)\n' > init.lsp
QT_QPA_PLATFORM=offscreen timeout 60 "$velloq" --no-splash > out 2>&1
status=$?
[ $status -eq 0 ] || fail "windows: exit status $status: $(cat out)"
grep -q '^USELOG      TRUE$' velloq.ini || fail "windows: velloq.ini not written"
grep -q 'Log off' VELLOQ.LOG || fail "windows: no log-off line"
# The interpreter's output went to the terminal window, not to standard output.
grep -q 'loading "init.lsp"' VELLOQ.LOG || fail "windows: init.lsp not loaded"
if grep -q 'loading' out; then fail "windows: the terminal session ran instead"; fi
echo ok
