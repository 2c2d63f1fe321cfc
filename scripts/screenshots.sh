#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the README's screenshots of every window from the real program on a
# private X server: docs/screenshot.png (the main window), docs/analysis.png,
# docs/firsthit.png, docs/bunpu.png and docs/about.png. Usage: scripts/screenshots.sh [SCALE]
# (QT_SCALE_FACTOR; 1 by default, 2 to look at 200 %).
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
echo "screenshots in $out"
