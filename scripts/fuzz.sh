#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets (build/fuzz) and runs each for the seconds given,
# one after the other, or only the targets named:
#     scripts/fuzz.sh 600                # every target for 10 minutes
#     scripts/fuzz.sh 60 library sjis
# Seeds come from tests/fuzz/corpus/<target> and from the test fixtures of the
# files the target reads; what a run learns stays in build/fuzz/corpus/<target>
# for the next one. An input that breaks a property or trips a sanitizer lands
# in tests/fuzz/findings/<target>/ and fails the command.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
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

need build fuzz
cmakeConfigure fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENBALO_BUILD_APP=OFF \
    -DZENBALO_BUILD_TESTS=OFF -DZENBALO_FUZZ=ON
cmakeBuild fuzz "${targets[@]/#/fuzz_}" >/dev/null
dir="$root/build/fuzz"

# iconv_open allocates heavily, and recording a stack for every allocation made
# the codec's runs three times slower; run a finding's file again without these
# options for a report with allocation stacks.
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=0:max_malloc_fill_size=0}

failed=()
for target in "${targets[@]}"; do
    corpus="$dir/corpus/$target"
    findings="$root/tests/fuzz/findings/$target"
    log="$dir/fuzz_$target.log"
    mkdir -p "$corpus" "$findings"
    # libFuzzer reads every seed directory recursively and writes only to the first.
    seeds=()
    [ ! -d "$root/tests/fuzz/corpus/$target" ] || seeds+=("$root/tests/fuzz/corpus/$target")
    case $target in
        library | rate_list | settings) seeds+=("$root/tests/data/library") ;;
        sjis) seeds+=("$root/tests/data") ;;
    esac
    # The shipped exchange-rate list, which every player's list starts from.
    case $target in rate_list | sjis) cp "$root/data/zenbalo.kan" "$corpus/" ;; esac
    # A niced run leaves the machine to others; an input that takes 25 s is a hang.
    if nice -n 10 "$dir/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=25 -print_final_stats=1 \
        -artifact_prefix="$findings/" "$corpus" "${seeds[@]}" >"$log" 2>&1; then
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
