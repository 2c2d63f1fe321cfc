#!/usr/bin/env bash
# Where a start goes, in instructions, which a shared machine cannot disturb:
# the real program with a 2047-machine library and the floor (an empty Qt
# window of the same size with a menu bar) each run once under callgrind on a
# private Xvfb server and ended as soon as its window is mapped. Leaves
# build/prof/callgrind.zenbalo.out and callgrind.floor.out for
# callgrind_annotate (add --inclusive=yes to see whole calls).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/packages.sh" cmake g++ make pkg-config qt6-base-dev qt6-translations-l10n fonts-ipafont-gothic \
    libbenchmark-dev libxcb1-dev libxcb-damage0-dev xvfb valgrind
build="$root/build/prof"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENBALO_BUILD_TESTS=OFF -DZENBALO_BENCHMARKS=ON \
    >/dev/null
cmake --build "$build" -j2 --target zenbalo startup_floor startup_watch bench_make_library
source "$root/scripts/bench-xvfb.sh"
cd "$work"
for name in zenbalo floor; do
    program="$build/src/app/zenbalo"
    [ "$name" = floor ] && program="$build/benchmarks/startup_floor"
    out="$build/callgrind.$name.out"
    "$build/benchmarks/startup_watch" --once valgrind --tool=callgrind --callgrind-out-file="$out" "$program" \
        2>"$work/valgrind.log"
    printf '%-8s %s instructions until the window was mapped\n' "$name" \
        "$(callgrind_annotate "$out" | awk '/PROGRAM TOTALS/ {print $1}')"
done
