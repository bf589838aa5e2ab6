#!/bin/sh
# End to end under X: the program shows its shaped face, a drag on a point
# that is no element moves the window, and the "exit" element ends it.
#   drag_and_exit.sh WINE_RUNNER PROGRAM
# Exits 77 (skipped) without a display or xdotool.
set -u
RUN=$1
PROGRAM=$2
NAME=drag_and_exit
[ -n "${DISPLAY:-}" ] && command -v xdotool >/dev/null 2>&1 || exit 77
. "$(dirname "$0")/program.sh"

find_window || fail "the main window did not appear"
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$wid")"
[ "$WIDTH" = 550 ] && [ "$HEIGHT" = 425 ] || fail "the window is ${WIDTH}x$HEIGHT, not the face's 550x425"
x0=$X
y0=$Y

# Drag from inside the passive logo area.
xdotool mousemove $((x0 + 20)) $((y0 + 60)) mousedown 1
for step in 1 2 3 4 5; do
    sleep 0.1
    xdotool mousemove $((x0 + 20 + 20 * step)) $((y0 + 60 + 10 * step))
done
sleep 0.2
xdotool mouseup 1
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$wid")"
[ "$X" -gt "$x0" ] && [ "$Y" -gt "$y0" ] || fail "the window did not move ($x0,$y0 -> $X,$Y)"

exit_program
