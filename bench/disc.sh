#!/bin/bash
# Whole slideshow images from 12-megapixel photos (4 generated files listed
# many times): 100 photos with our engine against the reference pipeline of
# Debian's tools (djpeg scaling, mpeg2enc -f 6 for the normal and the
# high-resolution still, mplex -f 6, vcdxbuild) in the same run, then 1900
# photos with ours alone, with and without the index pages, the image
# writer's own speed against a plain file copy, and our peak memory.
#   bench/disc.sh
# Needs: imagemagick libjpeg-turbo-progs ffmpeg mjpegtools vcdimager bc (tools/dev.sh bench installs them)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD="$ROOT/build/bench"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD" --target snapburn writer_bench >/dev/null
SNAPBURN="$BUILD/bin/snapburn"

SEED="$ROOT/tests/data/corpus/photos/kpa_blackie.jpg"
for i in 1 2 3 4; do
    /usr/bin/convert "$SEED" -resize '4000x3000!' -seed "$i" -attenuate 0.2 +noise Gaussian \
        -roll "+$((i * 97))+$((i * 53))" ppm:- | cjpeg -quality 88 > "$WORK/photo_$i.jpg"
done
photos() {  # the 4 files listed until there are $1
    for n in $(seq 0 $(($1 - 1))); do echo "$WORK/photo_$((n % 4 + 1)).jpg"; done
}

now() { date +%s.%N; }
elapsed() { echo "$(now) - $1" | bc -l; }

# Ours: 100 photos, then 1900 with the peak memory.
start=$(now)
"$SNAPBURN" burn --pal --delay 5 $(photos 100) --out "$WORK/ours100" >/dev/null
ours100=$(elapsed "$start")
start=$(now)
peak_kb=$( { /usr/bin/time -f '%M' "$SNAPBURN" burn --pal --delay 5 $(photos 1900) --out "$WORK/ours1900" >/dev/null; } 2>&1 | tail -1)
ours1900=$(elapsed "$start")
rm -rf "$WORK/ours1900"
# The same without the index pages: what the index costs.
start=$(now)
plain_peak_kb=$( { /usr/bin/time -f '%M' "$SNAPBURN" burn --pal --delay 5 --no-index $(photos 1900) --out "$WORK/ours1900" >/dev/null; } 2>&1 | tail -1)
plain1900=$(elapsed "$start")
rm -rf "$WORK/ours100" "$WORK/ours1900"

# Reference: the same 100 photos through Debian's tools.
mkdir -p "$WORK/ref"
start=$(now)
xml="$WORK/ref/disc.xml"
{
    echo '<?xml version="1.0"?>'
    echo '<!DOCTYPE videocd PUBLIC "-//GNU//DTD VideoCD//EN" "http://www.gnu.org/software/vcdimager/videocd.dtd">'
    echo '<videocd xmlns="http://www.gnu.org/software/vcdimager/1.0/" class="vcd" version="2.0">'
    echo '<info><album-id>BENCH</album-id><volume-count>1</volume-count><volume-number>1</volume-number><restriction>0</restriction></info>'
    echo '<pvd><volume-id>BENCH</volume-id><system-id>CD-RTOS CD-BRIDGE</system-id><application-id></application-id><preparer-id></preparer-id><publisher-id></publisher-id></pvd>'
    echo '<segment-items>'
} > "$xml"
n=0
for photo in $(photos 100); do
    n=$((n + 1))
    djpeg -scale 1/4 -ppm "$photo" > "$WORK/ref/p.ppm"
    for still in 352x288:30 704x576:120; do
        size=${still%:*}
        ffmpeg -v error -y -i "$WORK/ref/p.ppm" -vf "scale=${size/x/:}" -pix_fmt yuv420p -f yuv4mpegpipe - |
            mpeg2enc -v 0 -f 6 -T "${still#*:}" -a 2 -n p -o "$WORK/ref/s_$size.m1v"
    done
    mplex -v 0 -f 6 -o "$WORK/ref/item$n.mpg" "$WORK/ref/s_352x288.m1v" "$WORK/ref/s_704x576.m1v"
    echo "<segment-item src=\"item$n.mpg\" id=\"seg-$n\"/>" >> "$xml"
done
ffmpeg -v error -y -loop 1 -i "$WORK/photo_1.jpg" -f lavfi -i anullsrc=r=44100:cl=stereo -t 3 \
    -vf "scale=352:288,setsar=12/11" -target pal-vcd "$WORK/ref/seq.mpg"
{
    echo '</segment-items><sequence-items><sequence-item src="seq.mpg" id="seq-1"><default-entry id="entry-1"/></sequence-item></sequence-items><pbc>'
    for k in $(seq 1 100); do
        next="lid-$((k + 1))"; [ $k = 100 ] && next="lid-end"
        prev=""; [ $k -gt 1 ] && prev="<prev ref=\"lid-$((k - 1))\"/>"
        echo "<playlist id=\"lid-$k\">$prev<next ref=\"$next\"/><return ref=\"lid-end\"/><wait>5</wait><play-item ref=\"seg-$k\"/></playlist>"
    done
    echo '<endlist id="lid-end" rejected="true"/></pbc></videocd>'
} >> "$xml"
(cd "$WORK/ref" && vcdxbuild -c ref.cue -b ref.bin disc.xml >/dev/null 2>&1)
theirs100=$(elapsed "$start")
rm -rf "$WORK/ref"

# The writer alone against a plain copy of a file of the same size.
read -r bytes writer_s < <("$BUILD/bin/writer_bench" "$WORK/writer.bin")
start=$(now)
cp "$WORK/writer.bin" "$WORK/copy.bin"
copy_s=$(elapsed "$start")
writer_mbs=$(echo "$bytes / 1000000 / $writer_s" | bc -l)
copy_mbs=$(echo "$bytes / 1000000 / $copy_s" | bc -l)

printf 'disc: 100 photos in %.2f s, reference %.2f s, ratio %.2f; 1900 photos in %.2f s; writer %.0f MB/s, copy %.0f MB/s; peak %.0f MB\n' \
    "$ours100" "$theirs100" "$(echo "$theirs100 / $ours100" | bc -l)" "$ours1900" "$writer_mbs" "$copy_mbs" \
    "$(echo "$peak_kb / 1024" | bc -l)"
printf 'index: 1900 photos in %.2f s with the index pages, %.2f s without, ratio %.3f; peak %.0f MB with, %.0f MB without\n' \
    "$ours1900" "$plain1900" "$(echo "$ours1900 / $plain1900" | bc -l)" "$(echo "$peak_kb / 1024" | bc -l)" \
    "$(echo "$plain_peak_kb / 1024" | bc -l)"
