#!/usr/bin/env bash
# Makes the README's screenshots of every window from the real program under
# Xvfb: docs/screenshot.png (the main window), docs/analysis.png,
# docs/firsthit.png and docs/about.png. Usage: scripts/screenshots.sh [SCALE]
# (QT_SCALE_FACTOR; 1 by default, 2 to look at 200 %).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
scale=${1:-1}
if [ -z "${ZENBALO_SCREENSHOTS_IN_X:-}" ]; then
    "$root/scripts/packages.sh" cmake g++ make qt6-base-dev qt6-translations-l10n fonts-ipafont-gothic xvfb xauth \
        xdotool imagemagick
    cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=Release -DZENBALO_BUILD_TESTS=OFF >/dev/null
    cmake --build "$root/build/release" --target zenbalo -j"$(nproc)"
    ZENBALO_SCREENSHOTS_IN_X=1 exec xvfb-run -a -s "-screen 0 1600x1200x24 -noreset" "$0" "$scale"
fi

unset QT_QPA_PLATFORM
export QT_SCALE_FACTOR=$scale
work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
trap 'kill $pid 2>/dev/null || true; rm -rf "$work"' EXIT
out=$root/docs
suffix=$([ "$scale" = 1 ] && echo "" || echo "-x$scale")

window() {
    for _ in $(seq 200); do
        id=$(xdotool search --onlyvisible --name "^$1\$" | head -n 1 || true)
        [ -z "$id" ] || { xdotool windowfocus --sync "$id"; return 0; }
        sleep 0.05
    done
    echo "no window '$1'" >&2
    exit 1
}
gone() {
    for _ in $(seq 200); do
        [ -n "$(xdotool search --onlyvisible --name "^$1\$" || true)" ] || return 0
        sleep 0.05
    done
    echo "the window '$1' stayed open" >&2
    exit 1
}
shoot() {
    sleep 0.3 # the first paint
    import -window "$id" "$out/$1$suffix.png"
}

cd "$work"
"$root/build/release/src/app/zenbalo" &
pid=$!
window Zenbalo
shoot screenshot

xdotool key ctrl+b
window 'サンプル ミドル319 - 分析'
xdotool type --delay 10 駅前店
for total in 1000 3 4000 20000; do xdotool key Tab type --delay 10 "$total"; done
xdotool key Return
shoot analysis
xdotool key Escape
window '分析 - 終了'
xdotool key n # not saved into the journal
gone 'サンプル ミドル319 - 分析'

window Zenbalo
xdotool key ctrl+h
window 'サンプル ミドル319 - 初当たり回転数'
shoot firsthit
xdotool key Escape
gone 'サンプル ミドル319 - 初当たり回転数'

window Zenbalo
xdotool key alt+h a
window 'Zenbalo - バージョン情報'
shoot about
xdotool key Escape
echo "screenshots in $out"
