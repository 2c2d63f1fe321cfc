#!/usr/bin/env bash
# Builds the libFuzzer targets (build/fuzz) and runs each for the seconds given,
# one after the other, or only the targets named:
#     scripts/fuzz.sh 600                # every target for 10 minutes
#     scripts/fuzz.sh 60 library sjis
# Seeds come from tests/fuzz/corpus/<target>; what a run learns stays in
# build/fuzz/corpus/<target> for the next one. An input that breaks a property
# or trips a sanitizer lands in tests/fuzz/findings/<target>/ and fails the command.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
if [ $# -gt 0 ]; then
    targets=("$@")
else
    targets=()
    for source in "$root"/tests/fuzz/fuzz_*.cpp; do
        name=$(basename "$source" .cpp)
        targets+=("${name#fuzz_}")
    done
fi

build="$root/build/fuzz"
cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZENBALO_BUILD_APP=OFF -DZENBALO_BUILD_TESTS=OFF -DZENBALO_FUZZ=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}" >/dev/null

# iconv_open allocates heavily, and recording a stack for every allocation made
# the codec's runs three times slower; run a finding's file again without these
# options for a report with allocation stacks.
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=0:max_malloc_fill_size=0}

failed=()
for target in "${targets[@]}"; do
    seeds="$root/tests/fuzz/corpus/$target"
    corpus="$build/corpus/$target"
    findings="$root/tests/fuzz/findings/$target"
    log="$build/fuzz_$target.log"
    mkdir -p "$corpus" "$findings"
    # A niced run leaves the machine to others; an input that takes 25 s is a hang.
    if nice -n 10 "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=25 -print_final_stats=1 \
        -artifact_prefix="$findings/" "$corpus" "$seeds" >"$log" 2>&1; then
        executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "fuzz $target: ${executions:-?} executions in $seconds s, nothing found"
    else
        failed+=("$target")
        tail -n 40 "$log"
        echo "fuzz $target: FINDING in $findings (log $log)"
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz findings: ${failed[*]}" >&2
    exit 1
fi
