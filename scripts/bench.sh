#!/usr/bin/env bash
# Builds Zenbalo as it is shipped (Release) with its benchmarks and runs them:
# the core on a 2047-machine library, then the main window's actions on Qt's
# offscreen platform. Prints each budget met or missed; fails when one is
# missed. Arguments go to every benchmark program, e.g.
#   scripts/bench.sh --benchmark_filter=Window_Add
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/packages.sh" cmake g++ make pkg-config qt6-base-dev qt6-translations-l10n fonts-ipafont-gothic \
    libbenchmark-dev libxcb1-dev libxcb-damage0-dev
build="$root/build/bench"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DZENBALO_BUILD_TESTS=OFF -DZENBALO_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j2 --target core_bench window_bench
# The benchmarks work in directories of their own under this one.
TMPDIR=$(mktemp -d)
export TMPDIR
trap 'rm -rf "$TMPDIR"' EXIT
# Medians of several repetitions: this machine is shared, and a median
# shrugs off the runs another process disturbed.
options=(--benchmark_repetitions=9 --benchmark_report_aggregates_only=true)
status=0
"$build/benchmarks/core_bench" "${options[@]}" "$@" || status=1
QT_QPA_PLATFORM=offscreen "$build/benchmarks/window_bench" "${options[@]}" "$@" || status=1
exit $status
