// SPDX-License-Identifier: GPL-3.0-or-later
// The journal on years of play: a bunseki.txt of 10 000 records.
#include "analysis/analysis_record.h"
#include "bench_support.h"
#include "common/file_io.h"
#include "journal/journal.h"
#include "journal/journal_csv.h"
#include "journal/journal_stats.h"
#include "journal/record_reader.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <sstream>
#include <unistd.h>

using namespace zenbalo;
using namespace zenbalo::bench;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kVisits = 10000;

template <typename F> void timed(benchmark::State &state, F &&action) {
    const auto start = Clock::now();
    action();
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
}

// Enters a directory holding the 10 000 records, with the journal built
// from them when `imported`.
void prepareDirectory(bool imported) {
    static const std::string bytes = benchJournalFile(kVisits);
    enterTemporaryDirectory();
    if (!writeFileAtomically(kAnalysisFile, bytes).ok())
        std::perror("zenbalo-bench: bunseki.txt");
    if (imported && Journal().sync().imported != kVisits)
        std::fprintf(stderr, "zenbalo-bench: the journal was not built\n");
}

void Journal_ReadRecords(benchmark::State &state) {
    const std::string bytes = benchJournalFile(kVisits);
    for (auto _ : state) {
        RecordScan scan = readRecords(bytes, "yyyy/MM/dd");
        benchmark::DoNotOptimize(scan);
    }
    if (readRecords(bytes, "yyyy/MM/dd").records.size() != kVisits)
        state.SkipWithError("not every record was read");
}
BENCHMARK(Journal_ReadRecords)->Unit(benchmark::kMillisecond);

// The first opening of the journal window over years of bunseki.txt.
void Journal_Import(benchmark::State &state) {
    prepareDirectory(false);
    for (auto _ : state) {
        ::unlink(kJournalFile);
        Journal journal;
        SyncReport report;
        timed(state, [&] { report = journal.sync(); });
        if (report.imported != kVisits)
            state.SkipWithError("not every record was imported");
    }
}
BENCHMARK(Journal_Import)->UseManualTime()->Unit(benchmark::kMillisecond);

// What the journal window asks for when it opens: the database checked,
// nothing new in the file, every visit, the summary, both breakdowns, the
// chart and the names for the filters.
void Journal_OpenWindow(benchmark::State &state) {
    prepareDirectory(true);
    for (auto _ : state) {
        timed(state, [&] {
            Journal journal;
            journal.sync();
            const VisitList list = journal.visits();
            const SummaryTexts summary = summaryTexts(totalsOf(list.visits));
            const auto parlours = breakdownByParlour(list.visits);
            const auto machines = breakdownByMachine(list.visits);
            const auto points = chartPoints(list.visits);
            const NameLists names = journal.names();
            benchmark::DoNotOptimize(summary);
            if (points.size() != kVisits || parlours.size() != 20 || machines.size() != 30 ||
                names.parlours.size() != 20)
                state.SkipWithError("the journal does not hold the visits");
        });
    }
}
BENCHMARK(Journal_OpenWindow)->UseManualTime()->Unit(benchmark::kMillisecond);

void Journal_Export(benchmark::State &state) {
    prepareDirectory(true);
    Journal journal;
    std::ostringstream unused;
    for (auto _ : state) {
        JournalResult result;
        timed(state, [&] { result = exportJournal(journal, "journal.csv", unused); });
        if (!result.ok())
            state.SkipWithError(result.reason.c_str());
    }
}
BENCHMARK(Journal_Export)->UseManualTime()->Unit(benchmark::kMillisecond);

// One save of the analysis window on a journal of 10 000 visits: two
// flushes to disk, whatever the size of the file.
void Journal_Save(benchmark::State &state) {
    prepareDirectory(true);
    Journal journal;
    const AnalysisRecord record = benchJournalRecord(1);
    for (auto _ : state) {
        SyncReport report;
        timed(state, [&] { report = journal.save(record, std::nullopt); });
        if (!report.result.ok())
            state.SkipWithError(report.result.reason.c_str());
    }
}
BENCHMARK(Journal_Save)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    budget("Journal_Import", 0.300);
    budget("Journal_OpenWindow", 0.150);
    budget("Journal_Export", 0.100);
    return runWithBudgets(argc, argv);
}
