#!/bin/sh
# End to end under X with the program folder's engine: three pictures added
# through the open dialog, "start", the readiness question answered, the
# progress dialog runs to its end, the success message; the image in the
# image folder is read by vcd-info as a Video CD with one still per photo
# and their waits. Then a second, longer burn is aborted from the progress
# dialog: no message, no image and no partial file left.
#   burn_and_abort.sh WINE_RUNNER PROGRAM CORPUS WORK
# Exits 77 (skipped) without a display, xdotool, ImageMagick or vcd-info.
set -u
RUN=$1
PROGRAM=$2
CORPUS=$3
WORK=$4
NAME=burn_and_abort
[ -n "${DISPLAY:-}" ] && command -v xdotool >/dev/null 2>&1 && command -v import >/dev/null 2>&1 &&
    command -v vcd-info >/dev/null 2>&1 || exit 77

rm -rf "$WORK"
mkdir -p "$WORK/photos" "$WORK/images"
cp "$CORPUS/photos/kpa_snow.jpg" "$WORK/photos/a.jpg"
cp "$CORPUS/photos/kpa_blackie.jpg" "$WORK/photos/b.jpg"
cp "$CORPUS/photos/kpa_skagen.jpg" "$WORK/photos/c.jpg"
WIN_WORK="Z:$(echo "$WORK" | tr / '\\')"
"$RUN" reg add 'HKCU\Software\Larkfield_SNZ\NeroAPI' /v ImageFolder /d "$WIN_WORK\\images" /f >/dev/null 2>&1
. "$(dirname "$0")/program.sh"

# A window titled "Snapdisc" other than the main window: a message box.
message_box() {
    box=""
    for _ in $(seq 1 "$1"); do
        box=$(xdotool search --onlyvisible --name '^Snapdisc$' 2>/dev/null | grep -v "^$wid\$" | head -1)
        [ -n "$box" ] && return 0
        sleep 0.2
    done
    return 1
}
add_photos() {
    click 62 386                       # "add"
    dialog Open
    type_into "$WIN_WORK\\photos\\"
    xdotool windowfocus --sync "$dlg" 2>/dev/null
    xdotool type --delay 4 "$1"
    xdotool key Return
    sleep 1
}

find_window || fail "the main window did not appear"
sleep 1
eval "$(xdotool getwindowgeometry --shell "$wid")"
add_photos '"a.jpg" "b.jpg" "c.jpg"'
click 489 88                           # "start"
message_box 25 || fail "no readiness question"
xdotool windowfocus --sync "$box" 2>/dev/null
xdotool key Return                     # Yes
wait_window "Burning Video CD" 25 && shot progress
message_box 300 || fail "no message after the burn"
shot done
xdotool windowfocus --sync "$box" 2>/dev/null
xdotool key Return
cue=$(ls "$WORK"/images/*.cue 2>/dev/null | head -1)
[ -n "$cue" ] || fail "no image in the image folder"
info=$(vcd-info -B -c "$cue" 2>&1)
echo "$info" | grep -q "number of segments: 4" || fail "vcd-info does not find three photos and their index page:
$info"
echo "$info" | grep -q "wait: 10s" || fail "vcd-info does not find the photos' waits"
rm -f "$WORK"/images/*

# A long burn, aborted while it works: so many large pictures that no
# machine, however many cores it lends the still encoder, ends it before
# the Abort.
convert -size 5000x4000 gradient:navy-orange "$WORK/photos/big.bmp" || fail "ImageMagick could not make a picture"
list=""
for _ in $(seq 1 200); do list="$list \"big.bmp\""; done
add_photos "$list"
sleep 0.5
click 489 88
message_box 25 || fail "no readiness question for the second burn"
xdotool windowfocus --sync "$box" 2>/dev/null
xdotool key Return
wait_window "Burning Video CD" 25 || fail "the progress dialog did not appear"
progress=$found
sleep 1.5                              # under way
# A finished burn shows its message over the dialog, which would take the key.
message_box 1 && fail "the burn ended before Abort"
xdotool search --onlyvisible --name '^Burning Video CD$' >/dev/null 2>&1 || fail "the burn ended before Abort"
xdotool windowfocus --sync "$progress" 2>/dev/null
xdotool key Return                     # Abort
for _ in $(seq 1 100); do
    xdotool search --onlyvisible --name '^Burning Video CD$' >/dev/null 2>&1 || break
    sleep 0.2
done
sleep 1
message_box 3 && fail "a message after the aborted burn"
[ -z "$(ls -A "$WORK/images")" ] || fail "the aborted burn left $(ls "$WORK/images")"

# Nothing left to save: the project was never saved, so "exit" asks; say No.
click 520 15
if message_box 15; then
    xdotool windowfocus --sync "$box" 2>/dev/null
    xdotool key n
fi
for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || exit 0
    sleep 0.2
done
fail "the program did not end"
