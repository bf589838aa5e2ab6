#!/bin/sh
# End to end under X, from the mouse and keyboard: "add" opens the real open
# dialog and three pictures typed into its name box as a quoted list become
# rows; a row is moved down, a delay is edited in place, a row is removed;
# the project is saved under a new name, cleared with "new" and opened
# again. snapburn show must find the photos and delays in the saved file; a
# photo deleted before the project is opened again shows as not found and
# its path survives another save. Screenshots are left in WORK.
#   project_round_trip.sh WINE_RUNNER PROGRAM SNAPBURN CORPUS WORK
# Exits 77 (skipped) without a display, xdotool, ImageMagick or snapburn.
set -u
RUN=$1
PROGRAM=$2
SNAPBURN=$3
CORPUS=$4
WORK=$5
NAME=project_round_trip
[ -n "${DISPLAY:-}" ] && command -v xdotool >/dev/null 2>&1 && command -v import >/dev/null 2>&1 &&
    [ -x "$SNAPBURN" ] || exit 77

rm -rf "$WORK"
mkdir -p "$WORK/photos"
cp "$CORPUS/photos/kpa_snow.jpg" "$WORK/photos/a.jpg"
cp "$CORPUS/photos/kpa_blackie.jpg" "$WORK/photos/b.jpg"
cp "$CORPUS/photos/skimage_rocket.jpg" "$WORK/photos/c.jpg"
WIN_WORK="Z:$(echo "$WORK" | tr / '\\')"
. "$(dirname "$0")/program.sh"

# The photo list's rows, in window coordinates: names at x 76, delays at 176.
row_y() { echo $((262 + 13 * $1)); }

find_window || fail "the main window did not appear"
sleep 1
eval "$(xdotool getwindowgeometry --shell "$wid")"

click 62 386                           # "add"
dialog Open
type_into "$WIN_WORK\\photos\\"        # to the folder
type_into '"a.jpg" "b.jpg" "c.jpg"'    # three pictures at once
sleep 0.5
click 76 "$(row_y 0)"                  # a, then "next": b a c
click 317 340
click 176 "$(row_y 1)"                 # a's delay, in place
sleep 0.5
xdotool type --delay 50 25
xdotool key Return
sleep 0.4
click 76 "$(row_y 2)"                  # c, then "del"
click 91 386
shot edited

click 389 88                           # "save": a new name
dialog "Save As"
type_into "$WIN_WORK\\trip.snz"
[ -f "$WORK/trip.snz" ] || fail "the project was not saved"
expected="1: 10 $WIN_WORK\\photos\\b.jpg
2: 25 $WIN_WORK\\photos\\a.jpg"
shown=$("$SNAPBURN" show "$WORK/trip.snz" | grep '^[0-9]*: ')
[ "$shown" = "$expected" ] || fail "the saved project holds
$shown
instead of
$expected"
"$SNAPBURN" show "$WORK/trip.snz" | grep -q '^title: trip$' || fail "the saved title is not trip"

click 189 88                           # "new"
shot cleared
rm "$WORK/photos/b.jpg"
click 289 88                           # "load"
dialog Open
type_into "$WIN_WORK\\trip.snz"
click 76 "$(row_y 1)"                  # a: its picture in the preview
shot reopened
click 389 88                           # "save": to the remembered file
shown=$("$SNAPBURN" show "$WORK/trip.snz" | grep '^[0-9]*: ')
[ "$shown" = "$expected" ] || fail "after the second save the project holds
$shown"

exit_program
