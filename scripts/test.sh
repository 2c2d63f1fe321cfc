#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Zenbalo with its tests and benchmarks and runs every test, then runs
# each fuzz target for a few seconds on its seeds; fails when any test fails,
# a benchmark or fuzz target does not build, or a target finds an input that
# breaks its property. The benchmarks are only built: the tests check no timings.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
need build test x bench fuzz package
cmakeConfigure test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENBALO_WERROR=ON -DZENBALO_BENCHMARKS=ON
cmakeBuild test
(cd "$root/build/test" && ctest --output-on-failure -j"$jobs")
"$root/scripts/fuzz.sh" 3
