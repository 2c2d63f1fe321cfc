#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program and its launcher answer the command line in a terminal
# without a display, and create no file for it; a start whose data directory
# cannot be made ready says so in one line there.
# Usage: command_line.sh PROGRAM LAUNCHER VERSION
set -euo pipefail
program=$1
launcher=$2
version=$3
source "$(dirname "$0")/../../scripts/lib.sh"
makeWork
mkdir "$work/cwd"
cd "$work/cwd"
# Any attempt at a window now fails at once.
unset DISPLAY WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb ZENBALO_DATA=$work/data

step "--version and --help, from the program and from the launcher"
for command in "$program" "$launcher"; do
    [ "$(ZENBALO_PROGRAM=$program "$command" --version)" = "zenbalo $version" ] || fail "$command --version"
    ZENBALO_PROGRAM=$program "$command" --help >"$work/help" || fail "$command --help failed"
    head -n 1 "$work/help" | grep -q '^使い方: zenbalo' || fail "$command --help: $(head -n 1 "$work/help")"
done

step "an unknown option: one line on standard error, status 2"
status=0
"$program" --bogus >"$work/out" 2>"$work/err" || status=$?
[ "$status" -eq 2 ] || fail "status $status"
[ ! -s "$work/out" ] && [ "$(wc -l <"$work/err")" -eq 1 ] || fail "answered: $(cat "$work/out" "$work/err")"

step "without a display a data directory that cannot be made ready is one line on standard error, status 1"
status=0
env -u HOME -u XDG_DATA_HOME -u ZENBALO_DATA -u QT_QPA_PLATFORM ZENBALO_PROGRAM="$program" "$launcher" \
    >"$work/out" 2>"$work/err" || status=$?
[ "$status" -eq 1 ] || fail "status $status: $(cat "$work/err")"
[ "$(cat "$work/err")" = "zenbalo: データの置き場所 \$HOME/.local/share/zenbalo を用意できませんでした。 環境変数 HOME が設定されていません。" ] ||
    fail "answered: $(cat "$work/out" "$work/err")"

step "nothing was written"
[ -z "$(ls -A "$work/cwd")" ] || fail "files written: $(ls -A "$work/cwd")"
[ ! -e "$ZENBALO_DATA" ] || fail "the launcher made the data directory for an option"
echo "command line passed"
