#!/usr/bin/env bash
# Builds Zenbalo with its tests and runs every one; fails when any fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/packages.sh" cmake g++ make qt6-base-dev qt6-translations-l10n fonts-ipafont-gothic googletest \
    libgtest-dev xvfb xauth xdotool xdg-utils
cmake -S "$root" -B "$root/build/test" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENBALO_WERROR=ON >/dev/null
cmake --build "$root/build/test" -j"$(nproc)"
cd "$root/build/test"
ctest --output-on-failure -j"$(nproc)"
