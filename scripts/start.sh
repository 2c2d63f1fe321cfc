#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Zenbalo and starts it in the player's data directory, as the installed
# command `zenbalo` does (ZENBALO_DATA overrides the place).
set -euo pipefail
source "$(dirname "$0")/lib.sh"
need build
releaseProgram
ZENBALO_PROGRAM="$program" ZENBALO_SHARE="$root/data" exec "$root/scripts/zenbalo" "$@"
