#!/usr/bin/env bash
# The installed program as a player starts it: `zenbalo` from a fresh prefix
# runs in its data directory with the exchange-rate list and the manual in
# place, and never overwrites the player's own copies.
# Usage: install_journey.sh BUILD_DIR SOURCE_DIR (run under xvfb-run -s -noreset).
set -euo pipefail
build=$1
source=$2
unset QT_QPA_PLATFORM # a caller's offscreen setting would hide the window
work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
pid=
cleanup() {
    [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "--- $*"; }

step "cmake --install into a temporary prefix"
cmake --install "$build" --prefix "$work/prefix" >/dev/null
for f in bin/zenbalo libexec/zenbalo/zenbalo share/zenbalo/zenbalo.kan share/zenbalo/説明書.txt \
    share/applications/org.example.zenbalo.desktop share/metainfo/org.example.zenbalo.metainfo.xml \
    share/icons/hicolor/scalable/apps/zenbalo.svg share/icons/hicolor/256x256/apps/zenbalo.png; do
    [ -e "$work/prefix/$f" ] || fail "not installed: $f"
done

# Starts the installed command from somewhere else, as a desktop menu would.
run() {
    (cd / && HOME=$work/home exec "$work/prefix/bin/zenbalo") &
    pid=$!
    local id=
    for _ in $(seq 200); do
        id=$(xdotool search --onlyvisible --name '^Zenbalo$' | head -n 1 || true)
        [ -z "$id" ] || break
        sleep 0.05
    done
    [ -n "$id" ] || fail "no window"
    xdotool windowfocus --sync "$id" key alt+f x
    for _ in $(seq 200); do kill -0 "$pid" 2>/dev/null || { pid=; return 0; }; sleep 0.05; done
    fail "the program did not end"
}

step "the first start makes the data directory and puts the list and the manual there"
data=$work/home/.local/share/zenbalo
run
cmp "$data/zenbalo.kan" "$source/data/zenbalo.kan" || fail "zenbalo.kan not in place"
cmp "$data/説明書.txt" "$source/data/説明書.txt" || fail "説明書.txt not in place"
[ -e "$data/zenbalo.cfg" ] && [ -e "$data/log.txt" ] || fail "the program did not run in its data directory"

step "the player's own list is kept; ZENBALO_DATA chooses another directory"
printf '1\r\n"40玉"\r\n' > "$data/zenbalo.kan"
run
[ "$(cat "$data/zenbalo.kan")" = "$(printf '1\r\n"40玉"\r\n')" ] || fail "the player's zenbalo.kan was overwritten"
export ZENBALO_DATA=$work/other
run
[ -e "$ZENBALO_DATA/zenbalo.cfg" ] || fail "ZENBALO_DATA was not used"

echo "install journey passed"
