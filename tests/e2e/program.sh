# Sourced by the end-to-end scripts: starts the program under Wine and
# gives the helpers they share. Needs RUN, PROGRAM and NAME set.
"$RUN" "$PROGRAM" >/dev/null 2>&1 &
pid=$!

fail() {
    echo "$NAME: $1"
    kill "$pid" 2>/dev/null
    exit 1
}

# wait_window TITLE TRIES: sets found to a visible window of that exact
# title, trying every 0.2 s; false if none appears.
wait_window() {
    found=""
    for _ in $(seq 1 "$2"); do
        found=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
        [ -n "$found" ] && return 0
        sleep 0.2
    done
    return 1
}

# Sets wid to the visible main window, waiting up to 20 s; false if none.
find_window() {
    wait_window Snapdisc 100 && wid=$found
}

# dialog TITLE: waits for a dialog of that title and sets dlg to it
dialog() {
    wait_window "$1" 50 || fail "the \"$1\" dialog did not appear"
    dlg=$found
}
# type_into TEXT: types into the focused control of the dialog and presses Enter
type_into() {
    xdotool windowfocus --sync "$dlg" 2>/dev/null
    xdotool type --delay 20 "$1"
    xdotool key Return
    sleep 0.8
}
click() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep 0.4; }
shot() { import -window root "$WORK/$1.png"; }
# Clicks "exit" of the window at X, Y and waits for the program to end.
exit_program() {
    xdotool mousemove $((X + 520)) $((Y + 15)) click 1
    for _ in $(seq 1 50); do
        kill -0 "$pid" 2>/dev/null || exit 0
        sleep 0.2
    done
    fail "the exit element did not end the program"
}
