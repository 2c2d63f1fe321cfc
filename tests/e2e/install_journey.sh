#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The installed program as a player starts it: `zenbalo` from a fresh prefix
# runs in its data directory with the exchange-rate list and the manual in
# place, and never overwrites the player's own copies.
# Usage: install_journey.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
here=$(dirname "$0")
source "$here/../../scripts/lib.sh"
source "$here/xdotool.sh"
privateX

step "cmake --install into a temporary prefix"
cmake --install "$build" --prefix "$work/prefix" >/dev/null
for f in bin/zenbalo libexec/zenbalo/zenbalo share/zenbalo/zenbalo.kan share/zenbalo/説明書.txt \
    share/applications/org.example.zenbalo.desktop share/metainfo/org.example.zenbalo.metainfo.xml \
    share/icons/hicolor/scalable/apps/zenbalo.svg share/icons/hicolor/256x256/apps/zenbalo.png; do
    [ -e "$work/prefix/$f" ] || fail "not installed: $f"
done

# Starts the installed command from somewhere else, as a desktop menu would,
# and closes it.
run() {
    HOME=$work/home launch / "$work/prefix/bin/zenbalo"
    main=$(window Zenbalo)
    closeByMenu
    waitExit
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
