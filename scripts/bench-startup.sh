#!/usr/bin/env bash
# Measures the start of the real program with a 2047-machine library against
# the floor, an empty Qt window of the same size with a menu bar: each started
# RUNS times (21 unless given), interleaved, on a private Xvfb server, timed
# from exec until its window is mapped and with its peak memory. Prints the
# ratio of the medians and the memory over the floor, each against its budget;
# fails when one is missed.
#   scripts/bench-startup.sh [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-21}
"$root/scripts/packages.sh" cmake g++ make pkg-config qt6-base-dev qt6-translations-l10n fonts-ipafont-gothic \
    libbenchmark-dev libxcb1-dev libxcb-damage0-dev xvfb
build="$root/build/bench"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DZENBALO_BUILD_TESTS=OFF -DZENBALO_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j2 --target zenbalo startup_floor startup_watch bench_make_library

# Both programs start in $work, where Zenbalo finds its library.
source "$root/scripts/bench-xvfb.sh"
echo "zenbalo.dat: $(stat -c %s "$work/zenbalo.dat") bytes, 2047 machines; $runs runs each"
cd "$work"
"$build/benchmarks/startup_watch" "$runs" "$build/src/app/zenbalo" "$build/benchmarks/startup_floor"
