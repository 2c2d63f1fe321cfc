#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the Debian package of a build directory and checks it as a Debian
# maintainer would: no error and no warning from lintian, pedantic tags
# included in what it prints. Usage: check-package.sh BUILD_DIR
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"
makeWork
cpack --config "$1/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" || { cat "$work/cpack.log"; exit 1; }
package=$(ls "$work"/zenbalo_*.deb)
echo "$(basename "$package"): $(stat -c %s "$package") bytes"
lintian -EvI --pedantic --fail-on error,warning "$package"
