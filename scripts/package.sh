#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package as it is shipped: Release, hardened, stripped, in
# build/deb/zenbalo_VERSION_ARCH.deb.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
need build package
cmakeConfigure deb -DCMAKE_BUILD_TYPE=Release -DZENBALO_BUILD_TESTS=OFF
cmakeBuild deb
(cd "$root/build/deb" && cpack -G DEB)
