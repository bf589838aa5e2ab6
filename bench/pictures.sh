#!/bin/bash
# The picture path against the decode floor: `snapburn still` (read, orient,
# frame, encode the normal and the high-resolution still, pack them) on a
# camera-like 12-megapixel JPEG, against libjpeg-turbo's own
# `djpeg -scale 1/4` of the same file, in the same run on one core. Two
# photos: a landscape and a portrait stored sideways with EXIF orientation 6,
# as cameras write them. The two commands run by turns, ROUNDS times each;
# each one's best time counts, so that other work on the machine weighs on
# neither.
#   bench/pictures.sh [ROUNDS]      (default 15)
# Needs: imagemagick libjpeg-turbo-progs (tools/dev.sh bench installs them)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
ROUNDS=${1:-15}
BUILD="$ROOT/build/bench"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD" --target snapburn >/dev/null
SNAPBURN="$BUILD/bin/snapburn"
ONE_CORE="taskset -c 0"

# 4000x3000 from a real photo, with noise so that it decodes like a camera
# file (about 3.4 MB).
SEED="$ROOT/tests/data/corpus/photos/kpa_blackie.jpg"
/usr/bin/convert "$SEED" -resize '4000x3000!' -seed 1 -attenuate 0.5 +noise Gaussian ppm:- |
    cjpeg -quality 88 > "$WORK/landscape.jpg"
# The same pixels marked "turn 90 degrees clockwise to view": an APP1 segment
# with a one-entry EXIF directory, orientation 6, after the start of image.
{
    printf '\xff\xd8\xff\xe1\x00\x22Exif\x00\x00II*\x00\x08\x00\x00\x00'
    printf '\x01\x00\x12\x01\x03\x00\x01\x00\x00\x00\x06\x00\x00\x00\x00\x00\x00\x00'
    tail -c +3 "$WORK/landscape.jpg"
} > "$WORK/portrait.jpg"

# Wall time of one run, in microseconds.
run_us() {
    local start end
    start=$(date +%s%N)
    "$@" > /dev/null
    end=$(date +%s%N)
    echo $(((end - start) / 1000))
}

for photo in landscape portrait; do
    ours=0 floor=0
    for _ in $(seq 1 "$ROUNDS"); do
        t=$(run_us $ONE_CORE "$SNAPBURN" still "$WORK/$photo.jpg" "$WORK/$photo.mpg")
        [ "$ours" = 0 ] || [ "$t" -lt "$ours" ] && ours=$t
        t=$(run_us $ONE_CORE djpeg -scale 1/4 -outfile "$WORK/$photo.ppm" "$WORK/$photo.jpg")
        [ "$floor" = 0 ] || [ "$t" -lt "$floor" ] && floor=$t
    done
    printf 'pictures, %s (%d KB): snapburn still %.1f ms, djpeg -scale 1/4 %.1f ms, ratio %.2f\n' \
        "$photo" $(($(stat -c %s "$WORK/$photo.jpg") / 1024)) "$(echo "$ours / 1000" | bc -l)" \
        "$(echo "$floor / 1000" | bc -l)" "$(echo "$ours / $floor" | bc -l)"
done
