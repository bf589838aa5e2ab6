#!/bin/sh
# The Windows build of snapburn under Wine: two photos burnt to an image that
# vcd-info reads as a Video CD with two stills and their waits.
#   snapburn_windows.sh WINE_RUNNER SNAPBURN_EXE CORPUS WORK
# Exits 77 (skipped) without vcd-info.
set -u
RUN=$1
EXE=$2
CORPUS=$3
WORK=$4
command -v vcd-info >/dev/null 2>&1 || exit 77
rm -rf "$WORK"
mkdir -p "$WORK"
win() { echo "Z:$1" | tr / '\\'; }
"$RUN" "$EXE" burn --delay 5 --out "$(win "$WORK")" "$(win "$CORPUS/photos/kpa_snow.jpg")" \
    "$(win "$CORPUS/photos/kpa_skagen.jpg")" >"$WORK/out.txt" 2>&1 || {
    echo "snapburn.exe failed:"; cat "$WORK/out.txt"; exit 1; }
cue=$(ls "$WORK"/*.cue 2>/dev/null | head -1)
[ -n "$cue" ] || { echo "no image was written"; cat "$WORK/out.txt"; exit 1; }
info=$(vcd-info -B -c "$cue" 2>&1)
# The two photos and their index page.
echo "$info" | grep -q "number of segments: 3" || { echo "vcd-info:"; echo "$info"; exit 1; }
echo "$info" | grep -q "wait: 5s" || { echo "vcd-info finds no 5 s wait:"; echo "$info"; exit 1; }
echo "snapburn.exe: image read back by vcd-info"
