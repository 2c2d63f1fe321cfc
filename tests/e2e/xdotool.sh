# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the journeys and the screenshots: drives the real program on the
# X server of $DISPLAY with xdotool, as a player would, waiting for what is
# needed instead of sleeping. Needs scripts/lib.sh sourced first.
unset QT_SCALE_FACTOR # a caller's scaling would move what the journeys click

# launch DIR COMMAND...: starts the command in directory DIR; sets $pid. Every
# program started is ended with the script.
launch() {
    (cd "$1" && shift && exec "$@") &
    pid=$!
    atExit "kill $pid 2>/dev/null"
}
# Waits until the command succeeds, for 10 s at the most.
waitFor() {
    for _ in $(seq 200); do "$@" && return 0; sleep 0.05; done
    return 1
}
visible() { [ -n "$(xdotool search --onlyvisible --name "^$1\$")" ]; }
hidden() { ! visible "$1"; }
ended() { ! kill -0 "$pid" 2>/dev/null; }
# Waits for a visible window titled $1, gives it the focus and prints its id.
window() {
    local id
    # xdotool's own --sync looks only every half second.
    waitFor visible "$1" || fail "no window '$1'"
    id=$(xdotool search --onlyvisible --name "^$1\$" | head -n 1)
    xdotool windowfocus --sync "$id"
    echo "$id"
}
# Waits until the window titled $1 has closed.
gone() { waitFor hidden "$1" || fail "the window '$1' stayed open"; }
waitExit() { waitFor ended || fail "the program did not end"; }
stillRunning() { kill -0 "$pid" 2>/dev/null || fail "the program ended"; }
# Clicks at x, y of the main window $main's client area (below the menu bar),
# in its unscaled pixels whatever the whole-number QT_SCALE_FACTOR.
click() {
    local scale=${QT_SCALE_FACTOR:-1}
    local menu=$(( $(xdotool getwindowgeometry "$main" | awk '/Geometry/ {split($2, s, "x"); print s[2]}') - 421 * scale ))
    xdotool mousemove --window "$main" $(( $1 * scale )) $(( $2 * scale + menu )) click 1
}
# The menu takes the second key as soon as it has opened on the first.
closeByMenu() {
    xdotool windowfocus --sync "$main"
    xdotool key alt+f x
}
