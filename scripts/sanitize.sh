#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the tests with AddressSanitizer and UndefinedBehaviorSanitizer
# (build/sanitize) and runs every one but those of the real program, labelled
# "program" (its command line, the journeys, the package check), which the
# sanitized build does not make; fails on any failure and on any sanitizer
# report, leaks included.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
need build test
# Unoptimised: the instrumented window tests compile several times faster, and
# the sanitizers find the same faults.
cmakeConfigure sanitize -DCMAKE_BUILD_TYPE=Debug -DZENBALO_SANITIZE=ON -DZENBALO_WERROR=ON
cmakeBuild sanitize core_tests app_tests
cd "$root/build/sanitize"
ctest --output-on-failure -j"$jobs" -LE program
