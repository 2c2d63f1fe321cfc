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
    libbenchmark-dev libxcb1-dev xvfb
build="$root/build/bench"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DZENBALO_BUILD_TESTS=OFF -DZENBALO_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j2 --target zenbalo startup_floor startup_watch bench_make_library

work=$(mktemp -d)
xvfb=""
cleanup() {
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
# Both programs start in this directory: Zenbalo finds its library here.
(cd "$work" && "$build/benchmarks/bench_make_library")
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || { echo "bench-startup: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 2; }
export DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb
# A runtime directory of its own keeps Zenbalo's single-instance lock apart
# from any Zenbalo the user runs.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
echo "zenbalo.dat: $(stat -c %s "$work/zenbalo.dat") bytes, 2047 machines; $runs runs each"
cd "$work"
"$build/benchmarks/startup_watch" "$runs" "$build/src/app/zenbalo" "$build/benchmarks/startup_floor"
