#!/usr/bin/env bash
# Before and after: builds the program of an earlier revision (default: the
# one before this work on speed) with today's benchmarks, then measures both
# in turns on the same machine: the start (the earlier program against this
# one, as bench-startup.sh does against the floor) and the core and window
# benchmarks, each earlier run followed at once by this one's.
#   scripts/bench-compare.sh [REVISION [RUNS]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
revision=${1:-7f9c147}
runs=${2:-21}
"$root/scripts/packages.sh" cmake g++ make pkg-config qt6-base-dev qt6-translations-l10n fonts-ipafont-gothic \
    libbenchmark-dev libxcb1-dev libxcb-damage0-dev xvfb
build="$root/build/bench"
before="$root/build/compare-$revision"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DZENBALO_BUILD_TESTS=OFF -DZENBALO_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j2 --target zenbalo startup_watch bench_make_library core_bench window_bench
rm -rf "$before/src"
mkdir -p "$before/src"
git -C "$root" archive "$revision" | tar -x -C "$before/src"
# Today's benchmarks and their switch, on the earlier program.
rm -rf "$before/src/benchmarks"
cp -r "$root/benchmarks" "$before/src/benchmarks"
cp "$root/CMakeLists.txt" "$before/src/CMakeLists.txt"
cmake -S "$before/src" -B "$before/build" -DCMAKE_BUILD_TYPE=Release -DZENBALO_BUILD_TESTS=OFF \
    -DZENBALO_BENCHMARKS=ON >/dev/null
cmake --build "$before/build" -j2 --target zenbalo core_bench window_bench

source "$root/scripts/bench-xvfb.sh"
echo "== start: $revision (\"program\") against this one (\"floor\"), $runs runs each"
# The watcher's budget lines speak of a floor; here the second program is this one.
(cd "$work" && "$build/benchmarks/startup_watch" "$runs" "$before/build/src/app/zenbalo" "$build/src/app/zenbalo" |
    grep -v '^budget') || true
TMPDIR="$work"
export TMPDIR
options=(--benchmark_repetitions=5 --benchmark_report_aggregates_only=true)
for program in core_bench window_bench; do
    for side in "$before/build" "$build"; do
        echo "== $program of $([ "$side" = "$build" ] && echo this revision || echo "$revision")"
        QT_QPA_PLATFORM=offscreen "$side/benchmarks/$program" "${options[@]}" 2>&1 |
            grep -E '_median|budget|met|MISSED' || true
    done
done
