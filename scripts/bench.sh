#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures Zenbalo as it is shipped (Release) with a full library of 2047 machines:
#   scripts/bench.sh core [ARGS...]      the core; ARGS go to Google Benchmark (--benchmark_filter=Library)
#   scripts/bench.sh window [ARGS...]    the main window's actions, on Qt's offscreen platform
#   scripts/bench.sh startup [RUNS]      the real program against the floor, RUNS starts each (21)
#   scripts/bench.sh profile             both once under callgrind, until the window is mapped
#   scripts/bench.sh compare REV [RUNS]  the program of revision REV against this one: start, core, window
# Prints each budget met or missed and fails when one is missed; compare only reports.
# Builds into build/bench (build/prof for the profile, build/compare-REV for the earlier revision).
set -euo pipefail
source "$(dirname "$0")/lib.sh"
usage() {
    echo "usage: scripts/bench.sh core|window [ARGS...] | startup [RUNS] | profile | compare REV [RUNS]" >&2
    exit 2
}
bench=$root/build/bench

benchmarks() {
    need build bench
    cmakeConfigure bench -DCMAKE_BUILD_TYPE=Release -DZENBALO_BUILD_TESTS=OFF -DZENBALO_BENCHMARKS=ON
    cmakeBuild bench "$@"
}

# runBenchmark PROGRAM [ARGS...]: medians of several repetitions, as this
# machine is shared and a median shrugs off the runs another process
# disturbed. The benchmarks work in directories of their own under $work.
runBenchmark() {
    makeWork
    TMPDIR=$work QT_QPA_PLATFORM=offscreen "$1" --benchmark_repetitions=9 --benchmark_report_aggregates_only=true \
        "${@:2}"
}

# The X server the start is watched on, and the 2047-machine zenbalo.dat in
# $work, where the programs are started.
startupScene() {
    need x
    privateX
    (cd "$work" && "$1/benchmarks/bench_make_library")
    cd "$work"
}

startup() {
    local runs=${1:-21}
    benchmarks zenbalo startup_floor startup_watch bench_make_library
    startupScene "$bench"
    echo "zenbalo.dat: $(stat -c %s zenbalo.dat) bytes, 2047 machines; $runs runs each"
    "$bench/benchmarks/startup_watch" "$runs" "$bench/src/app/zenbalo" "$bench/benchmarks/startup_floor"
}

# Instructions, which a shared machine cannot disturb; leaves
# build/prof/callgrind.zenbalo.out and callgrind.floor.out for
# callgrind_annotate (--inclusive=yes shows whole calls).
profile() {
    local prof=$root/build/prof name program out
    need build bench profile
    cmakeConfigure prof -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENBALO_BUILD_TESTS=OFF -DZENBALO_BENCHMARKS=ON
    cmakeBuild prof zenbalo startup_floor startup_watch bench_make_library
    startupScene "$prof"
    for name in zenbalo floor; do
        program=$prof/src/app/zenbalo
        [ "$name" = floor ] && program=$prof/benchmarks/startup_floor
        out=$prof/callgrind.$name.out
        "$prof/benchmarks/startup_watch" --once valgrind --tool=callgrind --callgrind-out-file="$out" "$program" \
            2>"$work/valgrind.log"
        printf '%-8s %s instructions until the window was mapped\n' "$name" \
            "$(callgrind_annotate "$out" | awk '/PROGRAM TOTALS/ {print $1}')"
    done
}

# Each revision is built from its own tree, benchmarks included, so a
# benchmark one of them lacks or cannot build is left out rather than mixed.
compare() {
    local revision=$1 runs=${2:-21} before program side
    if ! git -C "$root" rev-parse --verify --quiet "$revision^{commit}" >/dev/null; then
        echo "no revision $revision" >&2
        exit 2
    fi
    before=$root/build/compare-$revision
    benchmarks zenbalo startup_watch bench_make_library
    rm -rf "$before/src"
    mkdir -p "$before/src"
    git -C "$root" archive "$revision" | tar -x -C "$before/src"
    cmake -S "$before/src" -B "$before/build" -DCMAKE_BUILD_TYPE=Release -DZENBALO_BUILD_TESTS=OFF \
        -DZENBALO_BENCHMARKS=ON >/dev/null
    cmake --build "$before/build" -j"$jobs" --target zenbalo
    for program in core_bench window_bench; do
        for side in "$before/build" "$bench"; do
            rm -f "$side/benchmarks/$program"
            cmake --build "$side" -j"$jobs" --target "$program" >/dev/null 2>&1 ||
                echo "$program does not build in $side; its figures are left out"
        done
    done

    startupScene "$bench"
    echo "== start: $revision (\"program\") against this one (\"floor\"), $runs runs each"
    # The watcher's budget lines speak of a floor; here the second program is this one.
    "$bench/benchmarks/startup_watch" "$runs" "$before/build/src/app/zenbalo" "$bench/src/app/zenbalo" |
        grep -v '^budget' || true
    for program in core_bench window_bench; do
        for side in "$before/build" "$bench"; do
            [ -x "$side/benchmarks/$program" ] || continue
            echo "== $program of $([ "$side" = "$bench" ] && echo this revision || echo "$revision")"
            runBenchmark "$side/benchmarks/$program" 2>&1 | grep -E '_median|budget|met|MISSED' || true
        done
    done
}

case ${1:-} in
    core | window)
        benchmarks "${1}_bench"
        runBenchmark "$bench/benchmarks/${1}_bench" "${@:2}"
        ;;
    startup) startup "${@:2}" ;;
    profile) profile ;;
    compare) [ $# -ge 2 ] || usage; compare "${@:2}" ;;
    *) usage ;;
esac
