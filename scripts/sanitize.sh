#!/usr/bin/env bash
# Builds the tests with AddressSanitizer and UndefinedBehaviorSanitizer
# (build/sanitize) and runs every one but the journeys of the real program
# (the sanitized build makes no program to install or drive);
# fails on any failure and on any sanitizer report, leaks included.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/packages.sh" cmake g++ make qt6-base-dev qt6-translations-l10n fonts-ipafont-gothic googletest \
    libgtest-dev libboost-math-dev libsqlite3-dev xdg-utils
# Unoptimised: the instrumented window tests compile several times faster, and
# the sanitizers find the same faults.
cmake -S "$root" -B "$root/build/sanitize" -DCMAKE_BUILD_TYPE=Debug -DZENBALO_SANITIZE=ON -DZENBALO_WERROR=ON \
    >/dev/null
cmake --build "$root/build/sanitize" -j"$(nproc)" --target core_tests app_tests
cd "$root/build/sanitize"
ctest --output-on-failure -j"$(nproc)" -E 'journey'
