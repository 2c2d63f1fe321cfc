#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the Debian changelog of the package from CHANGELOG.md, so the players'
# history is written once: each "## VERSION - YYYY-MM-DD" section becomes an
# entry, its "- " items the entry's items, their continuation lines indented.
# Compressed as Debian wants it: at most, and without a time stamp, so that the
# same sources give the same package.
#   debian-changelog.sh CHANGELOG.md "NAME <EMAIL>" changelog.gz
set -eu
awk -v maintainer="$2" '
function flush() {
    if (version == "") return
    while (count > 0 && body[count] == "") count--
    printf "%szenbalo (%s) unstable; urgency=medium\n\n", separator, version
    for (i = 1; i <= count; i++) print body[i]
    command = "LC_ALL=C date -u -R -d " date
    command | getline stamp
    close(command)
    printf "\n -- %s  %s\n", maintainer, stamp
    separator = "\n"
    count = 0
}
/^## / {
    flush()
    if ($0 !~ /^## [0-9][0-9.]* - [0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]$/) {
        print "CHANGELOG.md: not \"## VERSION - YYYY-MM-DD\": " $0 > "/dev/stderr"
        exit 1
    }
    version = $2
    date = $4
    next
}
version == "" { next }
{ gsub(/`/, "") }
/^$/ { if (count > 0 && body[count] != "") body[++count] = ""; next }
/^- / { body[++count] = "  * " substr($0, 3); next }
/^  / { body[++count] = "  " $0; next }
{ body[++count] = "  " $0 }
END { flush() }
' "$1" >"$3.text"
gzip -9nc "$3.text" >"$3"
rm "$3.text"
