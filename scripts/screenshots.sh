#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the README's screenshots of every window from the real program on a
# private X server: docs/screenshot.png (the main window), docs/analysis.png,
# docs/firsthit.png, docs/bunpu.png, docs/about.png and docs/journal.png. Usage:
# scripts/screenshots.sh [SCALE] (QT_SCALE_FACTOR; 1 by default, 2 to look at 200 %).
set -euo pipefail
source "$(dirname "$0")/lib.sh"
source "$root/tests/e2e/xdotool.sh"
scale=${1:-1}
need build x pictures
releaseProgram
privateX 1600x1200x24
export QT_SCALE_FACTOR=$scale
out=$root/docs
suffix=$([ "$scale" = 1 ] && echo "" || echo "-x$scale")

shoot() {
    sleep 0.3 # the first paint
    import -window "$id" "$out/$1$suffix.png"
}

launch "$work" "$program"
id=$(window Zenbalo)
shoot screenshot

xdotool key ctrl+b
id=$(window 'サンプル ミドル319 - 分析')
xdotool type --delay 10 駅前店
for total in 1000 3 4000 20000; do xdotool key Tab type --delay 10 "$total"; done
xdotool key Return
shoot analysis
xdotool key Escape
window '分析 - 終了' >/dev/null
xdotool key n # not saved into the journal
gone 'サンプル ミドル319 - 分析'

window Zenbalo >/dev/null
xdotool key ctrl+h
id=$(window 'サンプル ミドル319 - 初当たり回転数')
shoot firsthit
xdotool key Escape
gone 'サンプル ミドル319 - 初当たり回転数'

window Zenbalo >/dev/null
xdotool key ctrl+r
id=$(window 'サンプル ミドル319 - 収支の分布')
shoot bunpu
xdotool key Escape
gone 'サンプル ミドル319 - 収支の分布'

window Zenbalo >/dev/null
xdotool key alt+h a
id=$(window 'Zenbalo - バージョン情報')
shoot about
xdotool key Escape
gone 'Zenbalo - バージョン情報'
main=$(window Zenbalo)
closeByMenu
waitExit

# Visits saved from the analysis window, each on a day of its own (faketime):
# day, parlour, group of the machine, rotations, big hits, balls exchanged, yen invested.
visits=(
    "2026-09-05 駅前店 0 2200 22 23500 73000"
    "2026-09-12 駅前店 0 2200 13 13900 94000"
    "2026-09-19 パーラー銀河 1 1800 39 31700 36000"
    "2026-09-26 駅前店 0 2500 27 22500 61000"
    "2026-10-03 パーラー銀河 1 2200 36 24700 41000"
    "2026-10-10 ホール・ニュー大阪 0 2500 21 23300 113000"
    "2026-10-17 駅前店 0 2200 14 13700 83000"
    "2026-10-24 パーラー銀河 1 1700 42 38100 34000"
    "2026-10-31 ホール・ニュー大阪 0 1600 12 10000 61000"
    "2026-11-07 駅前店 1 1800 40 35700 39000"
    "2026-11-14 パーラー銀河 1 2000 39 35500 56000"
    "2026-11-21 ホール・ニュー大阪 0 2300 21 18300 77000"
)
for visit in "${visits[@]}"; do
    read -r day parlour group rotations hits balls yen <<<"$visit"
    launch "$work" env FAKETIME_DONT_FAKE_MONOTONIC=1 faketime "$day 20:00:00" "$program"
    main=$(window Zenbalo)
    click 212 $((24 + 24 * group)) # the group's row
    xdotool key ctrl+b
    window '.* - 分析' >/dev/null
    # Pasted: xdotool types kana and kanji through keys it lends for a moment,
    # and the program sometimes reads a key already given back.
    printf '%s' "$parlour" | xclip -selection clipboard
    xdotool key ctrl+v
    for total in "$rotations" "$hits" "$balls" "$yen"; do xdotool key Tab type --delay 10 "$total"; done
    xdotool key Return ctrl+s Escape # saved: closing asks nothing
    gone '.* - 分析'
    main=$(window Zenbalo)
    closeByMenu
    waitExit
done
launch "$work" "$program"
window Zenbalo >/dev/null
xdotool key ctrl+j
id=$(window 'Zenbalo - 収支記録')
shoot journal
echo "screenshots in $out"
