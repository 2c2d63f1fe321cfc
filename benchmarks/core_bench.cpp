// SPDX-License-Identifier: GPL-3.0-or-later
// The core's share of what the player waits for, on the largest library.
#include "analysis/analysis.h"
#include "analysis/analysis_record.h"
#include "bench_support.h"
#include "common/sjis.h"
#include "engine/calculation.h"
#include "firsthit/first_hit.h"
#include "library/library_edit.h"
#include "library/library_files.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>

using namespace zenbalo;
using namespace zenbalo::bench;

namespace {

using Clock = std::chrono::steady_clock;

// Times one call; whatever restores the state around it stays outside.
template <typename F> void timed(benchmark::State &state, F &&action) {
    const auto start = Clock::now();
    action();
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
}

MachineRecord workedExample() {
    return {"テスト機", "1/300", "", "50", "", "10000", "10000", "", "", "", "", "", "", "", "", "1500"};
}

void Core_RunCalculation(benchmark::State &state) {
    const MachineRecord machine = workedExample();
    const std::string rate = "20", total = "2000";
    SharedResults shared;
    shared.yenPerBall = 100.0 / 28;
    for (auto _ : state) {
        CalculationDisplay display = runCalculation(machine, rate, total, shared);
        benchmark::DoNotOptimize(display);
    }
    if (!runCalculation(machine, rate, total, shared).succeeded())
        state.SkipWithError("the calculation failed");
}
BENCHMARK(Core_RunCalculation);

void Files_ParseLibrary(benchmark::State &state) {
    const std::string bytes = libraryBytes(fullLibrary());
    for (auto _ : state) {
        std::optional<Library> library = parseLibrary(bytes);
        benchmark::DoNotOptimize(library);
    }
    if (parseLibrary(bytes) != fullLibrary())
        state.SkipWithError("the library did not read back");
}
BENCHMARK(Files_ParseLibrary)->Unit(benchmark::kMicrosecond);

void Files_LibraryBytes(benchmark::State &state) {
    const Library library = fullLibrary();
    for (auto _ : state) {
        std::string bytes = libraryBytes(library);
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["bytes"] = static_cast<double>(libraryBytes(library).size());
}
BENCHMARK(Files_LibraryBytes)->Unit(benchmark::kMicrosecond);

// One character without a Shift_JIS form in a whole library's text: it
// becomes "?" and must not cost the rest of the file its fast path.
void Files_LibraryBytesWithOneUnencodable(benchmark::State &state) {
    Library library = fullLibrary();
    MachineRecord machine = library.group(2).machine(88);
    machine[Name] += "\U0001F600";
    library.updateMachine(2, 88, machine);
    for (auto _ : state) {
        std::string bytes = libraryBytes(library);
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(Files_LibraryBytesWithOneUnencodable)->Unit(benchmark::kMicrosecond);

// zenbalo.dat from the disk, as at start-up.
void Files_ReadLibrary(benchmark::State &state) {
    enterTemporaryDirectory();
    LibraryFile file;
    if (!file.write(fullLibrary()).ok()) {
        state.SkipWithError("cannot write zenbalo.dat");
        return;
    }
    for (auto _ : state) {
        LibraryLoad load = file.read();
        benchmark::DoNotOptimize(load);
    }
    if (file.read().library.machineCount() != kMaxMachines)
        state.SkipWithError("the library did not read back");
}
BENCHMARK(Files_ReadLibrary)->Unit(benchmark::kMicrosecond);

// The save at closing: the old file kept as zenbalo.dat.bak, the new one
// written beside it, flushed to the disk and renamed over it.
void Files_SaveLibrary(benchmark::State &state) {
    enterTemporaryDirectory();
    const Library library = fullLibrary();
    LibraryFile file;
    for (auto _ : state) {
        const WriteResult written = file.write(library);
        if (!written.ok())
            state.SkipWithError("cannot save zenbalo.dat");
    }
}
BENCHMARK(Files_SaveLibrary)->Unit(benchmark::kMicrosecond)->UseRealTime();

// A library read from a file is already in list order: taking its parts
// checks that, and sorts nothing.
void Files_FromPartsInListOrder(benchmark::State &state) {
    const Library library = fullLibrary();
    for (auto _ : state) {
        std::vector<std::string> strings = library.machineStrings();
        std::optional<Library> read;
        timed(state, [&] { read = Library::fromParts(library.groupTitles(), library.groupCounts(), std::move(strings)); });
        if (read != library)
            state.SkipWithError("the parts did not make the library");
    }
}
BENCHMARK(Files_FromPartsInListOrder)->UseManualTime()->Unit(benchmark::kMicrosecond);

// ---- the core of each edit command, with the checks its handler makes

struct EditState {
    Library library = fullLibrary();
    AppSettings settings;

    EditState() {
        for (int g = 0; g < kGroups; ++g)
            settings.groupListIndex[g] = static_cast<int16_t>(library.group(g).count() / 2);
        settings.currentGroup = 0;
    }
    MachineRecord selected() const { return library.group(0).machine(settings.groupListIndex[0]); }
};

// A full library takes no machine more, so one goes first, untimed.
void Edit_Add(benchmark::State &state) {
    EditState s;
    for (auto _ : state) {
        const MachineRecord added = s.selected();
        removeSelected(s.library, s.settings);
        timed(state, [&] {
            if (!s.library.nameStored(added[Name]) && !s.library.libraryFull())
                insertSelected(s.library, s.settings, added);
        });
        if (s.library.machineCount() != kMaxMachines)
            state.SkipWithError("nothing was added");
    }
}
BENCHMARK(Edit_Add)->UseManualTime()->Unit(benchmark::kMicrosecond);

void Edit_Delete(benchmark::State &state) {
    EditState s;
    for (auto _ : state) {
        const MachineRecord removed = s.selected();
        timed(state, [&] {
            if (hasSelectedMachine(s.library, s.settings))
                removeSelected(s.library, s.settings);
        });
        if (!insertSelected(s.library, s.settings, removed))
            state.SkipWithError("nothing was deleted");
    }
}
BENCHMARK(Edit_Delete)->UseManualTime()->Unit(benchmark::kMicrosecond);

// A new name that takes the machine to the other end of its group and back.
void Edit_UpdateRenamed(benchmark::State &state) {
    EditState s;
    s.settings.groupListIndex[0] = 0;
    MachineRecord first = s.selected();
    MachineRecord renamed = first;
    renamed[Name] = "ｚｚｚ 最後の台";
    bool there = false;
    for (auto _ : state) {
        const MachineRecord &record = there ? first : renamed;
        timed(state, [&] {
            if (hasSelectedMachine(s.library, s.settings) && !nameStoredElsewhere(s.library, s.settings, record[Name]))
                updateSelected(s.library, s.settings, record);
        });
        there = !there;
    }
    if (s.selected() != (there ? renamed : first))
        state.SkipWithError("the machine was not updated");
}
BENCHMARK(Edit_UpdateRenamed)->UseManualTime()->Unit(benchmark::kMicrosecond);

void Edit_Cut(benchmark::State &state) {
    EditState s;
    for (auto _ : state) {
        MachineRecord held;
        timed(state, [&] {
            const MachineRecord shown = s.selected();
            if (hasSelectedMachine(s.library, s.settings) && !nameStoredElsewhere(s.library, s.settings, shown[Name])) {
                held = shown;
                removeSelected(s.library, s.settings);
            }
        });
        if (!insertSelected(s.library, s.settings, held))
            state.SkipWithError("nothing was cut");
    }
}
BENCHMARK(Edit_Cut)->UseManualTime()->Unit(benchmark::kMicrosecond);

void Edit_Paste(benchmark::State &state) {
    EditState s;
    for (auto _ : state) {
        const MachineRecord held = s.selected();
        removeSelected(s.library, s.settings);
        timed(state, [&] {
            if (!s.library.nameStored(held[Name]) && !s.library.libraryFull())
                insertSelected(s.library, s.settings, held);
        });
        if (s.library.machineCount() != kMaxMachines)
            state.SkipWithError("nothing was pasted");
    }
}
BENCHMARK(Edit_Paste)->UseManualTime()->Unit(benchmark::kMicrosecond);

// ---- the secondary windows' figures

SharedResults calculated() {
    SharedResults shared;
    shared.yenPerBall = 100.0 / 28;
    runCalculation(workedExample(), "20", "2000", shared);
    shared.machineName = "テスト機";
    return shared;
}

void Analysis_RunAndRecordLines(benchmark::State &state) {
    const SharedResults shared = calculated();
    const AnalysisTotals totals{"2500", "9", "4200", "50000"};
    for (auto _ : state) {
        const std::optional<AnalysisResults> results = RunAnalysis(totals, shared);
        if (!results) {
            state.SkipWithError("the analysis failed");
            break;
        }
        std::vector<std::string> lines =
            analysisRecordLines({"2024/05/06", "駅前ホール", "3.571", shared.machineName, "1500", totals, *results});
        benchmark::DoNotOptimize(lines);
    }
}
BENCHMARK(Analysis_RunAndRecordLines);

void FirstHit_Table(benchmark::State &state) {
    const SharedResults shared = calculated();
    for (auto _ : state) {
        FirstHitTable table = firstHitTable(shared);
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(FirstHit_Table);

} // namespace

int main(int argc, char **argv) {
    budget("Core_RunCalculation", 5e-6);
    budget("Files_ParseLibrary", 3e-3);
    budget("Files_ReadLibrary", 3e-3);
    budget("Files_LibraryBytes", 3e-3);
    budget("Files_LibraryBytesWithOneUnencodable", 3e-3);
    return runWithBudgets(argc, argv);
}
