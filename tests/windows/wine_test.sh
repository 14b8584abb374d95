#!/usr/bin/env bash
# The Windows platform files, cross-compiled with mingw-w64 around a probe
# in place of the rest of Plyfold, and run under wine on a virtual display.
# Usage: wine_test.sh SOURCE_FOLDER WORK_FOLDER
set -uo pipefail
source=$1 work=$2
mkdir -p "$work"
cd "$work" || exit 1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
xvfb_pid=""
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null' EXIT

x86_64-w64-mingw32-g++ -std=c++17 -O2 -Wall -Wextra -Werror -static -mwindows \
  -I"$source" "$source/platform/entry-win32.cc" \
  "$source/platform/message_box-win32.cc" "$source/platform/files-win32.cc" \
  "$source/tests/windows/platform_probe.cc" -o probe.exe -luser32 ||
  { echo "cross-compilation failed"; exit 1; }
file probe.exe | grep -q 'GUI' || fail "probe.exe is not a GUI-subsystem program"

exec 3>display
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp >xvfb.log 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do [ -s display ] && break; sleep 0.1; done
export DISPLAY=":$(cat display)"
# A prefix of our own, kept in the work folder so later runs start at once.
export WINEPREFIX="$work/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=C.UTF-8  # wine then hands arguments over in code page 1252
[ -d "$WINEPREFIX" ] || timeout 300 wineboot --init >wineboot.log 2>&1

run_probe() { timeout 120 wine ./probe.exe "$@" </dev/null >/dev/null 2>&1; }

echo "== arguments arrive byte for byte, in the 8-bit code page"
args=("two words" 'quote"inside' "" 'back\slash' 'trailing\' '\"' $'tab\there' 'é%s')
run_probe args args.txt "${args[@]}" || fail "probe args did not run"
expected="count $(( ${#args[@]} + 3 ))"$'\n'
for arg in "${args[@]}"; do
  bytes=$(printf '%s' "$arg" | iconv -f UTF-8 -t CP1252 | od -An -tx1 | tr -d ' \n')
  expected+="[$bytes]"$'\n'
done
[ "$(cat args.txt 2>/dev/null)"$'\n' = "$expected" ] ||
  fail "arguments differ: got $(cat args.txt 2>/dev/null), expected $expected"

echo "== the box shows caption, text and one OK button, and blocks"
run_probe box box.txt || fail "probe box did not run"
box=$(cat box.txt 2>/dev/null)
grep -qx waiting <<<"$box" || fail "the box did not block its caller: $box"
[ "$(grep -c '^child Button' <<<"$box")" -eq 1 ] || fail "not one button: $box"
grep -qx 'child Button OK' <<<"$box" || fail "no OK button: $box"
grep -q '^child Static First line 100%s' <<<"$box" || fail "text not shown: $box"
grep -qx 'box returned' <<<"$box" || fail "the box did not return: $box"

echo "== file facts"
printf 'twelve bytes' >a.bin
mkdir -p folder
run_probe files files.txt 'a.bin' '.\folder\..\a.bin' || fail "probe files did not run"
[ "$(cat files.txt 2>/dev/null)" = $'1 0 1 12\n1 0 1 12\n0 0 0 0\nsame 1' ] ||
  fail "file facts: $(cat files.txt 2>/dev/null)"
run_probe files files.txt 'a.bin' 'folder'
[ "$(sed -n '2p;4p' files.txt 2>/dev/null)" = $'1 1 0 0\nsame 0' ] ||
  fail "folder facts: $(cat files.txt 2>/dev/null)"

[ "$failures" -eq 0 ] && echo "wine test: all checks passed"
exit $((failures > 0))
