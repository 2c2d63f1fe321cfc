#!/usr/bin/env bash
# Builds Zenbalo and starts it in the player's data directory, as the installed
# command `zenbalo` does (ZENBALO_DATA overrides the place).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/packages.sh" cmake g++ make qt6-base-dev qt6-translations-l10n fonts-ipafont-gothic xdg-utils
cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=Release -DZENBALO_BUILD_TESTS=OFF >/dev/null
cmake --build "$root/build/release" --target zenbalo -j"$(nproc)"
ZENBALO_PROGRAM="$root/build/release/src/app/zenbalo" ZENBALO_SHARE="$root/data" exec "$root/scripts/zenbalo"
