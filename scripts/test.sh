#!/usr/bin/env bash
# Builds Zenbalo with its tests and runs every one, then runs each fuzz target
# for a few seconds on its corpus; fails when any test fails or a target finds
# an input that breaks its property.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/packages.sh" cmake g++ make qt6-base-dev qt6-translations-l10n fonts-ipafont-gothic googletest \
    libgtest-dev libboost-math-dev libsqlite3-dev xvfb xauth xdotool xdg-utils desktop-file-utils appstream clang \
    libclang-rt-14-dev
cmake -S "$root" -B "$root/build/test" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENBALO_WERROR=ON >/dev/null
cmake --build "$root/build/test" -j"$(nproc)"
(cd "$root/build/test" && ctest --output-on-failure -j"$(nproc)")
"$root/scripts/fuzz.sh" 3
