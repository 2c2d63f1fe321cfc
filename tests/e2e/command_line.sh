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
fixtures=$(cd "$(dirname "$0")/../data" && pwd)
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

step "--export-journal: the CSV of bunseki.txt on standard output, a failure in one line"
mkdir "$work/journal"
cp "$fixtures/journal/three_visits.txt" "$work/journal/bunseki.txt"
(cd "$work/journal" && "$program" --export-journal -) >"$work/out" 2>"$work/err" || fail "the export failed: $(cat "$work/err")"
[ "$(head -c 3 "$work/out" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "no byte-order mark"
[ "$(grep -c $'\r$' "$work/out")" -eq 4 ] && [ ! -s "$work/err" ] || fail "not a header and three rows: $(cat "$work/out")"
(cd "$work/journal" && "$program" --export-journal=out.csv) || fail "the export to a file failed"
cmp "$work/out" "$work/journal/out.csv" || fail "the file and standard output differ"
for target in /dev/full "$work/journal"; do
    status=0
    if [ "$target" = /dev/full ]; then
        (cd "$work/journal" && "$program" --export-journal -) >/dev/full 2>"$work/err" || status=$?
    else
        (cd "$work/journal" && "$program" --export-journal "$target") >"$work/out" 2>"$work/err" || status=$?
    fi
    [ "$status" -ne 0 ] && [ "$(wc -l <"$work/err")" -eq 1 ] || fail "$target: status $status, $(cat "$work/err")"
done

step "nothing was written"
[ -z "$(ls -A "$work/cwd")" ] || fail "files written: $(ls -A "$work/cwd")"
[ ! -e "$ZENBALO_DATA" ] || fail "the launcher made the data directory for an option"
echo "command line passed"
