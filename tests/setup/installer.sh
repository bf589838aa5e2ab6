#!/bin/sh
# Snapdisc-Setup.exe in a fresh Wine prefix, silently:
#  1. install: the program folder under the 64-bit Program Files with its
#     sample, the Start-menu folder, the uninstall entry, the .snz
#     association and the engine's registration; with a display, the
#     installed program opens the sample through the association and burns
#     it on the image recorder from the mouse (vcd-info reads the image);
#     uninstall: the registry and the drive are as before the install, but
#     for the user's settings, which stay;
#  2. with another engine registered: install and uninstall leave its
#     value alone, and again nothing else is left behind.
#   installer.sh SETUP_EXE DIST_DIR WORK
set -u
SETUP=$1
DIST=$2
WORK=$3
NAME=installer
WINE=/usr/lib/wine/wine64
export WINEPREFIX="$WORK/prefix" WINEARCH=win64 WINEDEBUG=-all
# No .NET or HTML engine downloads, and no menu entries in the Linux desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
FOLDER="$WINEPREFIX/drive_c/Program Files/Snapdisc"
MENU="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Snapdisc"
pid=""

fail() {
    echo "$NAME: $1"
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    wineserver -k 2>/dev/null
    exit 1
}

# The registry as lines "[key]" and "[key]|value" without Wine's times,
# leaving out what Wine itself rewrites whenever it starts (driver dates)
# and the console defaults it writes the first time a console program runs.
registry() {
    wineserver -w
    for hive in system user; do
        awk '
/^\[/ { key = $0; sub(/\] [0-9]+$/, "]", key); skip = (key == "[Console]"); if (!skip) print key; next }
skip || /^#/ || /^$/ || /^WINE REGISTRY/ || /^;;/ || /"DriverDateData"=/ { next }
{ print key "|" $0 }' "$WINEPREFIX/$hive.reg"
    done | sort
}
# The drive's files, without the temporary folders.
files() {
    (cd "$WINEPREFIX/drive_c" && find . | grep -v '^\./users/[^/]*/Temp\(/\|$\)\|^\./windows/temp\(/\|$\)' | sort)
}
# Silent uninstall; the uninstaller runs from a copy in the temporary
# folder that Windows deletes at the next start, so the prefix restarts.
uninstall() {
    $WINE "C:\\Program Files\\Snapdisc\\Uninstall.exe" /S || fail "the uninstaller failed"
    wineserver -w
    $WINE wineboot -r >/dev/null 2>&1
    wineserver -w
}
# value KEY [NAME]: a value of the 64-bit registry view (the key's default
# without NAME).
value() {
    if [ $# = 2 ]; then set -- "$1" /v "$2" "$2"; else set -- "$1" /ve "" "(Default)"; fi
    $WINE reg query "$1" "$2" ${3:+"$3"} /reg:64 2>/dev/null | tr -d '\r' |
        awk -v v="$4" '$1 == v { $1 = ""; $2 = ""; sub(/^  /, ""); print }'
}

# The registry and the drive are as they were before the install, but for
# the user's own settings (the program's key), which stay.
as_before() {
    registry | grep -v '^\[Software\\\\Larkfield_SNZ' >"$WORK/reg.after"
    grep -v '^\[Software\\\\Larkfield_SNZ' "$WORK/reg.before" | diff - "$WORK/reg.after" >"$WORK/reg.diff" ||
        fail "the registry differs after the uninstall:
$(head -40 "$WORK/reg.diff")"
    files >"$WORK/files.after"
    diff "$WORK/files.before" "$WORK/files.after" >"$WORK/files.diff" ||
        fail "the drive differs after the uninstall:
$(head -40 "$WORK/files.diff")"
}

rm -rf "$WORK"
mkdir -p "$WORK/images"
$WINE wineboot -i >/dev/null 2>&1 || fail "no Wine prefix"
wineserver -w
$WINE reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11,null /f >/dev/null 2>&1
$WINE reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
$WINE reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
# The user's own setting: the image recorder writes into the work folder.
WIN_IMAGES="Z:$(echo "$WORK/images" | tr / '\\')"
$WINE reg add 'HKCU\Software\Larkfield_SNZ\NeroAPI' /v ImageFolder /d "$WIN_IMAGES" /f >/dev/null 2>&1

# 1. A machine without Snapdisc.
registry >"$WORK/reg.before"
files >"$WORK/files.before"
$WINE "$SETUP" /S || fail "the silent install failed"
wineserver -w
for f in $(cd "$DIST" && find . -type f ! -path './Sample/*' | sed 's|^\./||'); do
    cmp -s "$DIST/$f" "$FOLDER/$f" || fail "the installed folder lacks $f or holds another one"
done
[ -f "$FOLDER/Uninstall.exe" ] || fail "no uninstaller in the program folder"
[ -f "$FOLDER/Sample/Sample.snz" ] || fail "no sample project in the program folder"
[ -f "$MENU/Snapdisc.lnk" ] || fail "no Start-menu entry"
[ "$(value 'HKLM\SOFTWARE\ahead\Shared' NeroAPI)" = 'C:\Program Files\Snapdisc' ] ||
    fail "the engine is not registered"
[ "$(value 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Snapdisc' DisplayName)" = Snapdisc ] ||
    fail "no entry in Add/Remove Programs"
[ "$(value 'HKLM\Software\Classes\.snz')" = Snapdisc.Project ] || fail "no .snz association"

if [ -n "${DISPLAY:-}" ] && command -v xdotool >/dev/null 2>&1 && command -v vcd-info >/dev/null 2>&1; then
    # Double-clicking the sample: the association starts the program with it.
    $WINE start /wait "C:\\Program Files\\Snapdisc\\Sample\\Sample.snz" >/dev/null 2>&1 &
    pid=$!
    wid=""
    for _ in $(seq 1 100); do
        wid=$(xdotool search --onlyvisible --name '^Snapdisc$' 2>/dev/null | head -1)
        [ -n "$wid" ] && break
        sleep 0.2
    done
    [ -n "$wid" ] || fail "the installed program did not open the sample"
    sleep 2
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    box() {
        for _ in $(seq 1 "$1"); do
            b=$(xdotool search --onlyvisible --name '^Snapdisc$' 2>/dev/null | grep -v "^$wid\$" | head -1)
            [ -n "$b" ] && return 0
            sleep 0.2
        done
        return 1
    }
    xdotool mousemove $((X + 489)) $((Y + 88)) click 1      # "start"
    box 50 || fail "no readiness question"
    xdotool windowfocus --sync "$b" 2>/dev/null
    xdotool key Return                                       # Yes
    for _ in $(seq 1 50); do
        xdotool search --onlyvisible --name '^Burning Video CD$' >/dev/null 2>&1 && break
        sleep 0.2
    done
    box 300 || fail "no message after the burn"
    import -window root "$WORK/burnt.png" 2>/dev/null
    xdotool windowfocus --sync "$b" 2>/dev/null
    xdotool key Return
    cue=$(ls "$WORK"/images/*.cue 2>/dev/null | head -1)
    [ -n "$cue" ] || fail "the installed program wrote no image"
    photos=$(ls "$FOLDER/Sample/"*.jpg | wc -l)
    vcd-info -B -c "$cue" 2>&1 | grep -q "number of segments: $((photos + 1))" ||
        fail "vcd-info does not find the sample's $photos photos and their index page in the image"
    xdotool mousemove $((X + 520)) $((Y + 15)) click 1      # "exit"
    for _ in $(seq 1 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.2
    done
    kill -0 "$pid" 2>/dev/null && fail "the installed program did not end"
    pid=""
fi

uninstall
[ -d "$FOLDER" ] && fail "the program folder is left: $(cd "$FOLDER" && find .)"
[ -n "$(value 'HKCU\Software\Larkfield_SNZ\NeroAPI' ImageFolder)" ] || fail "the user's settings went with the program"
as_before

# 2. Another engine registered before Snapdisc comes.
$WINE reg add 'HKLM\SOFTWARE\ahead\Shared' /v NeroAPI /d 'C:\Other Engine' /reg:64 /f >/dev/null 2>&1
registry >"$WORK/reg.before"
files >"$WORK/files.before"
$WINE "$SETUP" /S || fail "the silent install failed with another engine registered"
wineserver -w
[ "$(value 'HKLM\SOFTWARE\ahead\Shared' NeroAPI)" = 'C:\Other Engine' ] ||
    fail "the install overwrote another engine's registration"
uninstall
as_before
wineserver -k 2>/dev/null
echo "$NAME: installed, used and removed cleanly"
