#!/bin/sh
# End to end under X with a real pointer: the main window opens with its
# list and preview in place; "help" lights up under the pointer and goes
# back to normal when the pointer moves on onto the photo list; "min" hides
# the window and a double click on the tray icon brings it back; "exit"
# ends the program. Screenshots are left in SHOTS.
#   hover_and_tray.sh WINE_RUNNER PROGRAM SHOTS
# Exits 77 (skipped) without a display, xdotool or ImageMagick.
set -u
RUN=$1
PROGRAM=$2
SHOTS=$3
NAME=hover_and_tray
[ -n "${DISPLAY:-}" ] && command -v xdotool >/dev/null 2>&1 && command -v import >/dev/null 2>&1 || exit 77
mkdir -p "$SHOTS"
. "$(dirname "$0")/program.sh"

# shot NAME: screenshot of the whole screen
shot() { import -window root "$SHOTS/$1.png"; }
# pixel NAME X Y: the colour at a point of the window in a screenshot
pixel() { convert "$SHOTS/$1.png" -format "%[pixel:p{$((X + $2)),$((Y + $3))}]" info:; }

find_window || fail "the main window did not appear"
sleep 1
eval "$(xdotool getwindowgeometry --shell "$wid")"
xdotool mousemove 1000 700   # well away from the window
sleep 0.5
shot normal
[ "$(pixel normal 405 256)" = "srgb(185,183,245)" ] || fail "the preview's background is not shown"
[ "$(pixel normal 120 320)" = "srgb(255,255,255)" ] || fail "the photo list is not shown"
help_normal=$(pixel normal 403 17)

xdotool mousemove $((X + 403)) $((Y + 17))
sleep 0.5
shot help_hovered
[ "$(pixel help_hovered 403 17)" != "$help_normal" ] || fail "\"help\" did not light up under the pointer"

# Straight onto the photo list: the face hears no more moves, yet "help"
# must go back to its normal face.
xdotool mousemove $((X + 120)) $((Y + 320))
sleep 1.2
shot left_onto_list
[ "$(pixel left_onto_list 403 17)" = "$help_normal" ] || fail "\"help\" kept its hover face after the pointer left it"

# "min" hides the window; a double click on the tray icon brings it back.
xdotool mousemove $((X + 483)) $((Y + 17)) click 1
sleep 0.8
xdotool search --onlyvisible --name '^Snapdisc$' >/dev/null 2>&1 && fail "\"min\" did not hide the window"
# Wine's own tray window stands in for a notification area when the
# display has none.
if ! wait_window "Wine System Tray" 15; then
    echo "hover_and_tray: the display has a notification area of its own; the tray icon was not clicked"
    kill "$pid" 2>/dev/null
    exit 0
fi
eval "$(xdotool getwindowgeometry --shell "$found" | sed 's/^/TRAY_/')"
xdotool mousemove $((TRAY_X + 13)) $((TRAY_Y + TRAY_HEIGHT - 12)) click --repeat 2 --delay 80 1
find_window || fail "a double click on the tray icon did not bring the window back"
shot restored

eval "$(xdotool getwindowgeometry --shell "$wid")"
exit_program
