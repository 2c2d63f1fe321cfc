// SPDX-License-Identifier: GPL-3.0-or-later
// How long the player waits for the figures and the histogram of a day's balance.
#include "bench_support.h"
#include "engine/calculation.h"
#include "risk/day_balance.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>

using namespace zenbalo;
using namespace zenbalo::bench;

namespace {

// The input the window builds from the last calculation of `machine`.
DayBalanceInput fromCalculation(const MachineRecord &machine, double yenPerBall, int32_t rotations) {
    SharedResults shared;
    shared.yenPerBall = yenPerBall;
    if (!runCalculation(machine, "20", "2000", shared).succeeded())
        return {};
    return dayBalanceInput(shared, rotations, 0);
}

DayBalanceInput sampleMachine() { return {1 / 319.7, 2.736, 1400, 100.0 / 28, 20, 2000, 0}; }

// The longest chain the main window calculates: every hit enters a probability
// change that lasts to the next hit, up to 32767 hits, and a time-saving stage
// whose 127 rotations at 1/4 miss with 0.75^127, which rounds to 2^-53: A =
// 32767 * 2^53, about 3e20. With the largest day and the largest probability.
DayBalanceInput worstInput() {
    const MachineRecord machine = {"最長", "1/4", "1/4", "100", "0", "10000", "32767", "100",
                                   "127",  "0",   "0",   "0",   "0", "0",     "0",     "10000"};
    return fromCalculation(machine, 4, kMaxDayRotations);
}

void run(benchmark::State &state, const DayBalanceInput &input) {
    if (!dayBalance(input).valid) {
        state.SkipWithError("no distribution for this input");
        return;
    }
    for (auto _ : state) {
        DayBalance result = dayBalance(input);
        benchmark::DoNotOptimize(result);
    }
    state.counters["A"] = input.averageChain;
}

void Risk_SampleMachine(benchmark::State &state) { run(state, sampleMachine()); }
BENCHMARK(Risk_SampleMachine)->Unit(benchmark::kMicrosecond);

void Risk_WorstInput(benchmark::State &state) { run(state, worstInput()); }
BENCHMARK(Risk_WorstInput)->Unit(benchmark::kMillisecond);

// The same machines with other shapes of day: every first hit a lone hit, the
// sample machine over the largest day, long chains that rarely start.
void Risk_FirstHitsOnly(benchmark::State &state) { run(state, {0.25, 1, 1400, 4, 20, kMaxDayRotations, 0}); }
BENCHMARK(Risk_FirstHitsOnly)->Unit(benchmark::kMicrosecond);

void Risk_SampleMachineLargestDay(benchmark::State &state) {
    DayBalanceInput input = sampleMachine();
    input.totalRotations = kMaxDayRotations;
    run(state, input);
}
BENCHMARK(Risk_SampleMachineLargestDay)->Unit(benchmark::kMicrosecond);

void Risk_LongChainsRarelyStarted(benchmark::State &state) {
    DayBalanceInput input = worstInput();
    input.hitProbability = 1e-6;
    run(state, input);
}
BENCHMARK(Risk_LongChainsRarelyStarted)->Unit(benchmark::kMicrosecond);

// Where the time goes as the spread of first hits grows: N = 32767, chains of
// 1e6 hits, p from 1/32767 to 1/4.
void Risk_BySpread(benchmark::State &state) {
    const double p = 1.0 / static_cast<double>(state.range(0));
    run(state, {p, 1e6, 1400, 4, 20, kMaxDayRotations, 0});
    state.counters["sd(F)"] = std::sqrt(kMaxDayRotations * p * (1 - p));
}
BENCHMARK(Risk_BySpread)->Arg(32767)->Arg(4096)->Arg(512)->Arg(64)->Arg(8)->Arg(4)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) {
    budget("Risk_SampleMachine", 2e-3);
    budget("Risk_WorstInput", 200e-3);
    return runWithBudgets(argc, argv);
}
