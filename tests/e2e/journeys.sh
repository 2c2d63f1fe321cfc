#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Journeys of the real program on a private X server, driven with xdotool as a
# player would drive it. Usage: journeys.sh PROGRAM TEST_DATA_DIR
set -euo pipefail
program=$1
data=$2
here=$(dirname "$0")
source "$here/../../scripts/lib.sh"
source "$here/xdotool.sh"
privateX

# Starts the program in directory $1; sets $pid.
start() { launch "$1" "$program"; }
changed() { [ -e "$1" ] && ! cmp -s "$1" "$2"; }
# Waits until file $1 exists and differs from what $2 held.
written() { waitFor changed "$1" "${2:-/dev/null}" || fail "$1 was not written"; }
# Answers the question titled $1 with key $2; the main window has the focus again.
answer() {
    question=$(window "$1")
    xdotool key "$2"
    gone "$1"
    main=$(window Zenbalo)
}
# Clears the focused box and types $1.
retype() {
    xdotool key End shift+Home BackSpace
    [ -z "$1" ] || xdotool type --delay 20 "$1"
}
# Types the values into the specification column from the focused box on, one
# box each, in one xdotool run: "-" skips the fall rate, which takes no focus;
# with --retype each box is cleared first.
fill() {
    local clear=() args=()
    [ "$1" = --retype ] && { clear=(key End shift+Home BackSpace); shift; }
    for value in "$@"; do
        [ "$value" = - ] && continue
        args+=("${clear[@]}")
        [ -z "$value" ] || args+=(type --args 1 --delay 10 "$value")
        args+=(key Tab)
    done
    xdotool "${args[@]}"
}
# The first line of log.txt in directory $1.
logTitle() { head -n 1 "$1/log.txt" | iconv -f CP932 -t UTF-8; }
# Closes the main window and saves the library: Yes to the question.
closeSaving() {
    closeByMenu
    question=$(window 'Zenbalo - 終了')
    xdotool key y
    waitExit
}
# Starts the program in directory $1 again and closes it untouched; sets
# $shown to the first line of the log it leaves: the machine it showed.
shownAfterRestart() {
    start "$1"
    main=$(window Zenbalo)
    closeByMenu
    waitExit
    shown=$(logTitle "$1")
}

step "first start in an empty directory shows a calculated sample machine and writes only its lock"
first=$work/first
mkdir "$first"
start "$first"
main=$(window Zenbalo)
[ "$(ls -A "$first")" = .zenbalo.lock ] || fail "start-up wrote files: $(ls -A "$first")"

step "a start in another directory runs beside it and clears what interrupted saves left there"
other=$work/other
mkdir "$other"
printf 'cut short' > "$other/.zenbalo.dat.AbC123"
printf 'cut short' > "$other/.log.txt.Zz9xY0"
printf 'mine' > "$other/zenbalo.dat.AbC123"
firstPid=$pid
firstWindow=$main
start "$other"
otherPid=$pid
windows() { [ "$(xdotool search --onlyvisible --name '^Zenbalo$' | wc -l)" -eq "$1" ]; }
waitFor windows 2 || fail "the start in another directory shows no window"
otherWindow=$(xdotool search --onlyvisible --name '^Zenbalo$' | grep -vx "$firstWindow" | head -n 1)
[ "$(ls -A "$other" | tr '\n' ' ')" = ".zenbalo.lock zenbalo.dat.AbC123 " ] || fail "left in the directory: $(ls -A "$other")"

# The place of a window in the X server's stacking order, the top one first.
stackPlace() { xwininfo -root -children | awk -v id="$(printf '0x%x' "$1")" '$1 == id { print NR }'; }
above() { [ "$(stackPlace "$1")" -lt "$(stackPlace "$2")" ]; }
step "second starts in one directory, with another runtime directory or none, end at once and raise the first"
above "$otherWindow" "$firstWindow" || fail "the later window is not on top"
mkdir -m 700 "$work/runtime2"
(cd "$first" && XDG_RUNTIME_DIR=$work/runtime2 timeout 5 "$program") || fail "the second start did not end by itself"
waitFor above "$firstWindow" "$otherWindow" || fail "the running window was not brought to the front"
main=$otherWindow
xdotool windowraise "$otherWindow"
(cd "$first" && env -u XDG_RUNTIME_DIR timeout 5 "$program") || fail "a start without runtime directory did not end"
waitFor above "$firstWindow" "$otherWindow" || fail "the running window was not brought to the front again"
[ "$(ls -A "$first")" = .zenbalo.lock ] || fail "the second starts wrote files: $(ls -A "$first")"
windows 2 || fail "a third window appeared"
pid=$otherPid
main=$otherWindow
closeByMenu
waitExit
[ ! -e "$other/.zenbalo.lock" ] || fail "the lock file stayed after the end"
pid=$firstPid
main=$firstWindow

step "closing untouched asks nothing and leaves the settings and the log"
closeByMenu
waitExit
[ "$(ls -A "$first" | tr '\n' ' ')" = "log.txt zenbalo.cfg " ] || fail "files after close: $(ls -A "$first")"
logTitle "$first" | grep -q '^\*\*\* サンプル' || fail "log.txt does not show the sample machine"

step "another group chosen comes back at the next start"
start "$first"
main=$(window Zenbalo)
click 212 72 # the third group's greyed title
closeByMenu
waitExit
[ "$(sed -n 9p "$first/zenbalo.cfg" | tr -d '\r')" = 2 ] || fail "the group was not saved"
chosen=$(logTitle "$first")
shownAfterRestart "$first"
[ "$shown" = "$chosen" ] || fail "another machine came back: $shown"

step "the worked example typed and saved with Ctrl+S gives the log byte for byte"
typed=$work/typed
mkdir "$typed"
start "$typed"
main=$(window Zenbalo)
fill --retype TEST 1/300 "" 50 - 10000 10000 "" "" "" "" "" "" "" "" 1500
click 480 328 # total rotations
retype 2000
click 480 304 # rotation rate
retype 20
xdotool key Return ctrl+s
written "$typed/log.txt"
expected=$work/expected.txt
{ printf '*** TEST(1500\x8c\xc2) ***\r\n'; tail -n +2 "$data/log/worked_example.txt"; } > "$expected"
cmp "$typed/log.txt" "$expected" || { iconv -f CP932 -t UTF-8 "$typed/log.txt" | head -12; fail "log.txt differs from the worked example"; }

step "a visit analysed after Ctrl+B and saved with Ctrl+S is appended to bunseki.txt"
xdotool key ctrl+b
analysis=$(window 'TEST - 分析')
xdotool type --delay 20 Ekimae
for total in 1000 12 20000 30000; do
    xdotool key Tab
    xdotool type --delay 20 "$total"
done
xdotool key Return ctrl+s
written "$typed/bunseki.txt"
xdotool key alt+f x
gone 'TEST - 分析'
[ "$(grep -c $'\r$' "$typed/bunseki.txt")" -eq 14 ] || fail "bunseki.txt does not hold one record of 14 lines"
journal=$(iconv -f CP932 -t UTF-8 "$typed/bunseki.txt" | tr -d '\r')
head -n 1 <<< "$journal" | grep -Eq '^\*\*\* .+ \*\*\*$' || fail "no date line: $(head -n 1 <<< "$journal")"
# The yen sign is the byte 0x5C, a backslash once decoded.
diff <(tail -n +2 <<< "$journal") - <<'RECORD' || fail "bunseki.txt holds another record"
Ekimae(3.571円)
TEST(1500個)
総回転数:     1000回転
総大当たり数: 12回
換金出玉数:   20000個
投資金額:     30000円

収支 :    \41429円
仕事量:   \12857円
誤差:     5.333回
ツキ指数: 180.000%
回転率:   45.455回転/千円
RECORD

step "the saved visit is in the journal opened with Ctrl+J, and --export-journal reads it back beside the program"
main=$(window Zenbalo)
xdotool key ctrl+j
kiroku=$(window 'Zenbalo - 収支記録')
# The export needs neither the display nor the single-instance lock the running program holds.
(cd "$typed" && DISPLAY= "$program" --export-journal -) >"$work/journal.csv" 2>"$work/export.err" ||
    fail "the export failed: $(cat "$work/export.err")"
{
    printf '\xEF\xBB\xBF日付,店名,機種名,大当たり出玉,換金率,総回転数,総大当たり数,換金出玉数,投資金額,収支,仕事量,誤差,ツキ指数,回転率\r\n'
    printf '%s,Ekimae,TEST,1500,3.571,1000,12,20000,30000,41429,12857,5.333,180.000,45.455\r\n' "$(date +%F)"
} >"$work/expected.csv"
cmp "$work/journal.csv" "$work/expected.csv" || { cat "$work/journal.csv"; fail "the export holds another journal"; }
xdotool key Escape
gone 'Zenbalo - 収支記録'

step "the first-hit table opens with Ctrl+H over the calculated machine"
main=$(window Zenbalo)
xdotool key ctrl+h
firstHit=$(window 'TEST - 初当たり回転数')
xdotool key Escape
gone 'TEST - 初当たり回転数'

step "the distribution of a day opens with Ctrl+R over the calculated machine and closes with Escape"
main=$(window Zenbalo)
xdotool key ctrl+r
window 'TEST - 収支の分布' >/dev/null
xdotool key Escape
gone 'TEST - 収支の分布'
main=$(window Zenbalo)
click 480 304 # the rotation rate again, which the next step edits

step "the save question: Cancel keeps the window, No keeps the library as it was"
xdotool key BackSpace # an edit of the total rotations
closeByMenu
answer 'Zenbalo - 終了' Escape
stillRunning
[ -e "$typed/zenbalo.cfg" ] || fail "Cancel did not write the settings"
closeByMenu
question=$(window 'Zenbalo - 終了')
xdotool key n
waitExit
[ ! -e "$typed/zenbalo.dat" ] || fail "No wrote the library"

step "Yes saves the library"
start "$typed"
main=$(window Zenbalo)
click 480 328 # total rotations
xdotool key End 5
closeByMenu
question=$(window 'Zenbalo - 終了')
xdotool key y
waitExit
[ -e "$typed/zenbalo.dat" ] || fail "Yes did not write the library"
[ "$(sed -n 10p "$typed/zenbalo.cfg" | tr -d '\r')" = 20005 ] || fail "total rotations not saved: $(tr "\r\n" "  " < "$typed/zenbalo.cfg")"

step "a machine typed in New mode and added comes back selected at the next start"
added=$work/added
mkdir "$added"
start "$added"
main=$(window Zenbalo)
click 100 25 # the name box
xdotool key ctrl+n
answer 'Zenbalo - 新規作成' y # without a window manager the main window gets the focus back only from us
fill JOURNEY 1/300 "" 50 - 10000 10000 "" "" "" "" "" "" "" "" 1500 # New emptied the boxes
xdotool key ctrl+a
answer 'Zenbalo - 追加' y
closeSaving
grep -q '^"JOURNEY"' "$added/zenbalo.dat" || fail "the machine was not saved"
shownAfterRestart "$added"
grep -q '^\*\*\* JOURNEY(1500' <<< "$shown" || fail "the machine is not the one shown: $shown"

step "a machine cut in one group and pasted in another is saved there, nothing lost"
moved=$work/moved
mkdir "$moved"
start "$moved"
main=$(window Zenbalo)
click 100 25 # the name box: the first group's sample machine is shown
xdotool key ctrl+x
click 212 145 # the sixth group's greyed title
xdotool key ctrl+p
closeSaving
counts=$(sed -n 8,14p "$moved/zenbalo.dat" | tr -d '\r' | tr '\n' ' ')
[ "$counts" = "0 1 1 1 0 1 0 " ] || fail "the groups hold $counts"
[ "$(sed -n 15p "$moved/zenbalo.dat" | iconv -f CP932 -t UTF-8 | tr -d '\r')" = '"サンプル ライトミドル199"' ] ||
    fail "the second group's machine moved"
shownAfterRestart "$moved"
grep -q '^\*\*\* サンプル ミドル319(' <<< "$shown" || fail "the pasted machine is not shown: $shown"

step "a damaged library is reported before the window and kept"
damaged=$work/damaged
mkdir "$damaged"
printf '"one title only' > "$damaged/zenbalo.dat"
start "$damaged"
message=$(window Zenbalo)
xdotool key Return
main=$(window Zenbalo)
closeByMenu
waitExit
[ "$(cat "$damaged/zenbalo.dat")" = '"one title only' ] || fail "the damaged library was touched"

step "another user's socket of the directory's name keeps no one from starting"
if [ "$(id -u)" -eq 0 ]; then
    taken=$work/taken
    mkdir "$taken"
    name="zenbalo-0-$(stat -c '%d-%i' "$taken")"
    setpriv --reuid=65534 --regid=65534 --clear-groups perl -MSocket -e '
        my $s;
        socket($s, AF_UNIX, SOCK_STREAM, 0) && bind($s, pack_sockaddr_un("\0$ARGV[0]")) && listen($s, 4) || die "$!";
        $| = 1;
        print "listening\n";
        sleep 60;' "$name" > "$work/squatter" &
    atExit "kill $! 2>/dev/null"
    waitFor grep -q listening "$work/squatter" || fail "no socket of another user's"
    start "$taken"
    main=$(window Zenbalo)
    (cd "$taken" && timeout 5 "$program") || fail "the second start did not end by itself"
    stillRunning
    closeByMenu
    waitExit
else
    echo "skipped: needs root to act as another user"
fi

echo "all journeys passed"
