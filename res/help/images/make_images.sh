#!/bin/sh
# Draws the pictures of the help pages from the program's own face
# (res/face_normal.bmp, res/setup_shown.bmp): the main window with numbered
# callouts and each button on its own. The PNGs are committed; run this
# again only after the face changes. Needs ImageMagick 6 (convert) and the
# DejaVu fonts (apt-get install imagemagick fonts-dejavu-core).
set -e
here=$(cd "$(dirname "$0")" && pwd)
res=$(cd "$here/../.." && pwd)
face="$res/face_normal.bmp"
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
command -v convert >/dev/null || { echo "make_images.sh: ImageMagick (convert) is needed" >&2; exit 1; }
[ -f "$font" ] || { echo "make_images.sh: $font is needed (fonts-dejavu-core)" >&2; exit 1; }

# No dates or other text chunks, so the same face gives the same bytes.
png() { convert "$@" -strip -define png:exclude-chunks=date,time,text,zTXt "PNG24:$out"; }

# name x y width height (the element rectangles of skin/CSkinElement.cpp);
# the four big buttons at half size, so that the help's table stays compact.
while read -r name x y w h; do
    out="$here/btn_$name.png"
    case $name in
    new | load | save | start) png "$face" -crop "${w}x${h}+${x}+${y}" +repage -filter Lanczos -resize 50% ;;
    *) png "$face" -crop "${w}x${h}+${x}+${y}" +repage ;;
    esac
done <<LIST
help 385 3 37 29
about 425 3 37 29
min 465 3 37 29
exit 503 3 36 29
new 152 43 74 90
load 252 43 74 90
save 352 43 74 90
start 452 43 74 90
language 108 131 35 35
setup_hidden 504 166 35 24
first 294 231 46 44
prev 294 275 46 44
next 294 319 46 43
last 294 362 46 44
play 414 372 28 28
stop 448 372 28 28
add 48 373 30 26
del 78 373 27 26
delall 105 373 30 26
delay 219 373 24 26
LIST
out="$here/btn_setup_shown.png"
png "$res/setup_shown.bmp"

# The whole window: the key colour becomes the page's white, the panel is
# shown (up chevron), and numbered circles mark the parts the help names.
# number x y (the circle's centre)
set -- "$face" -fill white -opaque '#ff00ff' "$res/setup_shown.bmp" -geometry +504+166 -composite \
    -font "$font" -pointsize 10
while read -r n cx cy; do
    set -- "$@" -fill '#ffd23c' -stroke '#1c1a4a' -strokewidth 1.5 -draw "circle $cx,$cy $((cx + 8)),$cy" \
        -stroke none -fill '#1c1a4a' -annotate "+$((cx - (n > 9 ? 6 : 3)))+$((cy + 4))" "$n"
done <<LIST
1 403 38
2 443 38
3 483 38
4 521 38
5 150 130
6 250 130
7 350 130
8 450 130
9 104 128
10 528 151
11 498 177
12 12 200
13 14 239
14 63 364
15 91 364
16 120 364
17 145 380
18 231 364
19 349 253
20 349 297
21 349 340
22 349 384
23 362 213
24 428 409
25 462 409
26 9 413
LIST
out="$here/window.png"
png "$@"
