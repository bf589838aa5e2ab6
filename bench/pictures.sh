#!/bin/bash
# Throughput of the picture path: read, orient, frame, encode the normal and
# the high-resolution still and pack them, on 12-megapixel camera-like JPEGs,
# against the reference pipeline made of Debian's tools (djpeg scaling,
# ffmpeg framing, mpeg2enc -f 6 for both pictures, mplex -f 6), measured in
# the same run on one core.
#   bench/pictures.sh [COUNT]      (default 8 photos)
# Needs: imagemagick libjpeg-turbo-progs ffmpeg mjpegtools bc (tools/dev.sh bench installs them)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
COUNT=${1:-8}
BUILD="$ROOT/build/bench"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD" --target snapburn >/dev/null
SNAPBURN="$BUILD/bin/snapburn"
ONE_CORE="taskset -c 0"

# Camera-like 4000x3000 pictures: a real photo enlarged, with mild noise so
# the files decode like camera files (about 3 MB each).
SEED="$ROOT/tests/data/corpus/photos/kpa_blackie.jpg"
for i in $(seq 1 "$COUNT"); do
    /usr/bin/convert "$SEED" -resize '4000x3000!' -seed "$i" -attenuate 0.2 +noise Gaussian \
        -roll "+$((i * 97))+$((i * 53))" ppm:- | cjpeg -quality 88 > "$WORK/photo_$i.jpg"
done

now() { date +%s.%N; }

start=$(now)
for i in $(seq 1 "$COUNT"); do
    $ONE_CORE "$SNAPBURN" still "$WORK/photo_$i.jpg" "$WORK/ours_$i.mpg"
done
ours=$(echo "$(now) - $start" | bc -l)

start=$(now)
for i in $(seq 1 "$COUNT"); do
    $ONE_CORE djpeg -scale 1/4 -ppm "$WORK/photo_$i.jpg" > "$WORK/ref.ppm"
    # target sizes as in the verified recipe: 30 KB normal, 120 KB high
    for still in 352x288:30 704x576:120; do
        size=${still%:*}
        $ONE_CORE ffmpeg -v error -y -i "$WORK/ref.ppm" -vf "scale=${size/x/:}" -pix_fmt yuv420p \
            -f yuv4mpegpipe - | $ONE_CORE mpeg2enc -v 0 -f 6 -T "${still#*:}" -a 2 -n p -o "$WORK/ref_$size.m1v"
    done
    $ONE_CORE mplex -v 0 -f 6 -o "$WORK/ref_$i.mpg" "$WORK/ref_352x288.m1v" "$WORK/ref_704x576.m1v"
done
theirs=$(echo "$(now) - $start" | bc -l)

ours_rate=$(echo "$COUNT / $ours" | bc -l)
theirs_rate=$(echo "$COUNT / $theirs" | bc -l)
printf 'ours: %d photos in %.2f s; reference: %d photos in %.2f s\n' "$COUNT" "$ours" "$COUNT" "$theirs"
printf 'pictures: %.2f photos/s, reference %.2f photos/s, ratio %.2f\n' \
    "$ours_rate" "$theirs_rate" "$(echo "$ours_rate / $theirs_rate" | bc -l)"
