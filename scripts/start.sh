#!/usr/bin/env bash
# Builds Zenbalo and starts it in the player's data directory, where it keeps
# its files (ZENBALO_DATA overrides the place).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/packages.sh" cmake g++ make qt6-base-dev qt6-translations-l10n fonts-ipafont-gothic xdg-utils
cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=Release -DZENBALO_BUILD_TESTS=OFF >/dev/null
cmake --build "$root/build/release" --target zenbalo -j"$(nproc)"

data="${ZENBALO_DATA:-${XDG_DATA_HOME:-$HOME/.local/share}/zenbalo}"
mkdir -p "$data"
# The exchange-rate list is the player's to edit, and the manual may carry the
# player's notes: never overwrite either.
[ -e "$data/zenbalo.kan" ] || cp "$root/data/zenbalo.kan" "$data/zenbalo.kan"
[ -e "$data/説明書.txt" ] || cp "$root/data/説明書.txt" "$data/説明書.txt"
cd "$data"
exec "$root/build/release/src/app/zenbalo"
