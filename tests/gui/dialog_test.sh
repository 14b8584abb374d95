#!/usr/bin/env bash
# The message box as a real window: under Xvfb with openbox, plyfold is run
# on a join whose second input is missing, and the box is checked from the
# outside (title, text and button through its Ctrl+C copy, the process still
# holding the output open), dismissed in each of the ways a user can, and the
# exit status and the output checked afterwards.
# Usage: dialog_test.sh PLYFOLD MAKE_SAMPLES ARTIFACT_FOLDER
set -uo pipefail
plyfold=$1 make_samples=$2 artifacts=$3
work=$(mktemp -d)
failures=0
xvfb_pid="" wm_pid=""
cleanup() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Waits up to 60 s for COMMAND to succeed (the first GTK start on a new
# machine builds the font cache first, which can take a while).
wait_for() {
  for _ in $(seq 600); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
  return 1
}

# A display of our own; the accessibility bus is off for this test only.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
wait_for test -s "$work/display" || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=":$(cat "$work/display")" NO_AT_BRIDGE=1 GDK_BACKEND=x11
unset WAYLAND_DISPLAY
openbox >"$work/openbox.log" 2>&1 &
wm_pid=$!
wait_for xprop -root _NET_SUPPORTING_WM_CHECK || { echo "no window manager"; exit 1; }

cd "$work" && "$make_samples" . || exit 1
missing=$'missing <b>&amp; \xff.tif'
shown=$'missing <b>&amp; \xef\xbf\xbd.tif'  # the invalid byte replaced

box_window() { xdotool search --onlyvisible --name '^Plyfold$' | head -1; }

# One run per way of dismissing the box.
for how in return escape close_button click_ok; do
  echo "== dismissed by $how"
  rm -f out.tif
  timeout 120 "$plyfold" fax.tif "$missing" out.tif >stdout 2>stderr &
  pid=$!
  if ! wait_for box_window; then
    fail "$how: no window titled Plyfold"
    kill "$pid"; wait "$pid"; continue
  fi
  window=$(box_window)
  xdotool windowactivate --sync "$window" >/dev/null 2>&1
  printf '' | xclip -selection clipboard
  xdotool key ctrl+c
  expected=$(printf -- '---------------------------\nPlyfold\n---------------------------\nCould not read input file %s\n---------------------------\nOK\n---------------------------' "$shown")
  wait_for test "$(xclip -o -selection clipboard 2>/dev/null)" = "$expected" ||
    fail "$how: the box does not hold the message and one OK button: $(xclip -o -selection clipboard)"
  child=$(pgrep -P "$pid")  # plyfold itself, under timeout
  kill -0 "$child" 2>/dev/null || fail "$how: plyfold did not wait for the box"
  ls -l "/proc/$child/fd" 2>/dev/null | grep -q "$work/out.tif" ||
    fail "$how: the output is not held open while the box is up"
  if [ "$how" = return ]; then
    mkdir -p "$artifacts" && import -window root "$artifacts/dialog.png"
  fi
  case $how in
    return) xdotool key Return ;;
    escape) xdotool key Escape ;;
    close_button) xdotool key alt+F4 ;;  # openbox: close the active window
    click_ok)
      eval "$(xdotool getwindowgeometry --shell "$window")"
      xdotool mousemove --window "$window" $((WIDTH - 59)) $((HEIGHT - 34)) click 1 ;;
  esac
  wait "$pid"
  status=$?
  [ "$status" -eq 1 ] || fail "$how: exit status $status, expected 1"
  pages=$(tiffinfo out.tif 2>/dev/null | grep -c 'TIFF Directory')
  [ "$pages" -eq 2 ] || fail "$how: output holds $pages pages, expected 2"
  # libtiff's own line is all that standard error may hold: no toolkit noise.
  grep -v '^TIFFOpen: missing' stderr && fail "$how: unexpected standard error"
done

echo "== a successful run loads no toolkit"
LD_DEBUG=files timeout 60 "$plyfold" fax.tif photo.tif out.tif >/dev/null 2>ld.log ||
  fail "the join failed"
grep -q 'libgtk-3' ld.log && fail "a successful run loaded GTK"
box_window >/dev/null && [ -n "$(box_window)" ] && fail "a window appeared"

echo "== a display that cannot be reached falls back to standard error"
DISPLAY=:4321 timeout 60 "$plyfold" >stdout 2>stderr
status=$?
[ "$status" -eq 2 ] || fail "usage: exit status $status"
head -1 stderr | grep -qx 'Plyfold: Please specify two files or list of files to combine' ||
  fail "usage not on standard error: $(cat stderr)"

[ "$failures" -eq 0 ] && echo "dialog test: all checks passed"
exit $((failures > 0))
