#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The launcher as a desktop menu starts it, with little or odd environment:
# the data directory is chosen as the base-directory rules say, any value of
# ZENBALO_DATA is a path, and every failure to make it ready reaches the
# player as a Japanese message window, and standard error as one line.
# Usage: launcher_journey.sh PROGRAM LAUNCHER SHARE_DIR
set -euo pipefail
program=$(readlink -f "$1")
launcher=$(readlink -f "$2")
share=$(readlink -f "$3")
here=$(dirname "$0")
source "$here/../../scripts/lib.sh"
source "$here/xdotool.sh"
privateX
mkdir "$work/start" "$work/old" "$work/bin"

# A stand-in for xdg-open that notes what it got and fails after a while.
cat >"$work/bin/xdg-open" <<SCRIPT
#!/bin/sh
printf '%s|%s\n' "\${LC_ALL:-}\${LC_CTYPE:-}\${LANG:-}" "\$1" >"$work/opened"
sleep 1.2
exit 3
SCRIPT
chmod +x "$work/bin/xdg-open"

# Starts the launcher in $work/start with only the environment a display
# needs and the variables given ("NAME=value"); its standard error goes to
# $work/err.
run() {
    launch "$work/start" env -i PATH="$work/bin:$PATH" DISPLAY="$DISPLAY" QT_QPA_PLATFORM=xcb \
        XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" ZENBALO_PROGRAM="$program" ZENBALO_SHARE="$share" "$@" "$launcher" \
        2>"$work/err"
}
# The launcher started as run does must refuse to start with the failure
# message $1 (its two lines), shown and on standard error, and status 1.
refused() {
    local box
    waitFor visible 'Zenbalo - 起動' || fail "no message window; standard error: $(cat "$work/err")"
    box=$(window 'Zenbalo - 起動')
    grep -qxF "zenbalo: ${1/$'\n'/ }" "$work/err" || fail "standard error: $(cat "$work/err")"
    xdotool key Return
    gone 'Zenbalo - 起動'
    local status=0
    wait "$pid" || status=$?
    [ "$status" -eq 1 ] || fail "exit status $status"
}
# The launcher started as run does must run the program in directory $1.
ranIn() {
    main=$(window Zenbalo)
    closeByMenu
    waitExit
    [ -e "$1/zenbalo.cfg" ] || fail "the program did not run in $1: $(ls -A "$work/start")"
    cmp -s "$1/zenbalo.kan" "$share/zenbalo.kan" || fail "zenbalo.kan not put in $1"
}
failure() { printf 'データの置き場所 %s を用意できませんでした。\n%s' "$1" "$2"; }

step "HOME unset"
run
refused "$(failure '$HOME/.local/share/zenbalo' '環境変数 HOME が設定されていません。')"

step "XDG_DATA_HOME naming a file"
: >"$work/file"
run HOME="$work/home" XDG_DATA_HOME="$work/file"
refused "$(failure "$work/file/zenbalo" "$work/file はフォルダーではなくファイルです。")"

step "a ZENBALO_DATA whose parent cannot be written"
run ZENBALO_DATA=/sys/zenbalo
refused "$(failure /sys/zenbalo '/sys に書き込む権限がありません。')"
[ ! -e /sys/zenbalo ] || fail "made /sys/zenbalo"

step "ZENBALO_DATA=-x is a directory, not an option"
run ZENBALO_DATA=-x
ranIn "$work/start/-x"

step "ZENBALO_DATA=- is a directory, not the previous one"
run ZENBALO_DATA=- OLDPWD="$work/old"
ranIn "$work/start/-"
[ -z "$(ls -A "$work/old")" ] || fail "ran in OLDPWD"

step "a relative XDG_DATA_HOME is ignored"
run HOME="$work/home" XDG_DATA_HOME=rel
ranIn "$work/home/.local/share/zenbalo"
[ ! -e "$work/start/rel" ] || fail "used the relative XDG_DATA_HOME"

step "without a locale the opener gets UTF-8, and its late failure is reported"
run HOME="$work/home"
main=$(window Zenbalo)
xdotool key alt+h r
waitFor test -s "$work/opened" || fail "the manual was not handed to the opener"
[ "$(cat "$work/opened")" = "C.UTF-8|$work/home/.local/share/zenbalo/説明書.txt" ] ||
    fail "the opener got: $(cat "$work/opened")"
# The window answers while the opener runs: its menu opens before the failure comes.
menus() { [ "$(xdotool search --onlyvisible --class zenbalo | wc -l)" -gt 1 ]; }
xdotool key alt+h
waitFor menus || fail "the menu did not open"
hidden 'Zenbalo - 説明書を開く' || fail "the window waited for the opener"
xdotool key Escape
box=$(window 'Zenbalo - 説明書を開く')
xdotool key Return
gone 'Zenbalo - 説明書を開く'
main=$(window Zenbalo)
closeByMenu
waitExit

echo "launcher journey passed"
