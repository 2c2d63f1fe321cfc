// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_support.h"

#include "analysis/analysis.h"
#include "analysis/short_date.h"

#include <algorithm>
#include <array>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <unistd.h>

namespace zenbalo::bench {

namespace {

// Seven groups, summing to the most machines a library takes.
constexpr std::array<int, kGroups> kGroupSizes = {512, 400, 350, 300, 200, 150, 135};
static_assert(512 + 400 + 350 + 300 + 200 + 150 + 135 == kMaxMachines);

std::map<std::string, double> &budgets() {
    static std::map<std::string, double> table;
    return table;
}

double toSeconds(double value, benchmark::TimeUnit unit) {
    switch (unit) {
    case benchmark::kNanosecond:
        return value * 1e-9;
    case benchmark::kMicrosecond:
        return value * 1e-6;
    case benchmark::kMillisecond:
        return value * 1e-3;
    case benchmark::kSecond:
        return value;
    }
    return value;
}

std::string microseconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f us", seconds * 1e6);
    return text;
}

// Shows the runs as usual and keeps, per benchmark with a budget, the median
// of its repetitions (or its only run).
class BudgetReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            const std::string name = run.run_name.function_name;
            if (budgets().count(name) == 0 || run.error_occurred)
                continue;
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (single || median)
                measured_[name] = toSeconds(run.GetAdjustedRealTime(), run.time_unit);
        }
    }

    int verdict() const {
        int missed = 0;
        std::printf("\n%-44s %14s %14s  %s\n", "budget", "median", "limit", "");
        for (const auto &[name, limit] : budgets()) {
            const auto found = measured_.find(name);
            if (found == measured_.end())
                continue;
            const bool met = found->second < limit;
            missed += !met;
            std::printf("%-44s %14s %14s  %s\n", name.c_str(), microseconds(found->second).c_str(),
                        microseconds(limit).c_str(), met ? "met" : "MISSED");
        }
        return missed == 0 ? 0 : 1;
    }

private:
    std::map<std::string, double> measured_;
};

const std::array<const char *, 5> kPrefixes = {"CR", "P", "ＣＲ", "e", ""};
const std::array<const char *, 16> kSeries = {
    "大海原",   "花の舞",       "ドラゴン伝説", "サムライ魂", "ゴースト", "ロックンロール",
    "真珠の島", "スターライト", "うさぎの森",   "ジャングル", "桜吹雪",   "ｆｉｇｈｔｅｒ",
    "Thunder",  "黄金の城",     "忍者",         "ルパン帝国",
};
const std::array<const char *, 4> kVariants = {"", " ライト", " 甘デジ", " ST"};

} // namespace

MachineRecord benchMachine(int index) {
    const std::string name = std::string(kPrefixes[static_cast<size_t>(index) % kPrefixes.size()]) +
                             kSeries[static_cast<size_t>(index / 5) % kSeries.size()] +
                             kVariants[static_cast<size_t>(index / 80) % kVariants.size()] + " " +
                             std::to_string(100 + index);
    const int denominator = 99 + index % 300;
    return {name,
            "1/" + std::to_string(denominator) + ".9",
            "1/" + std::to_string(9 + index % 90) + ".9",
            index % 3 == 0 ? "3/5" : "50",
            "0",
            index % 4 == 0 ? "130" : "10000",
            "10000",
            "100",
            std::to_string(50 + index % 50),
            "0",
            "0",
            "0",
            "0",
            "0",
            "0",
            std::to_string(400 + 10 * (index % 100))};
}

Library fullLibrary() {
    std::array<int16_t, kGroups> counts{};
    std::vector<std::string> strings;
    int index = 0;
    for (int g = 0; g < kGroups; ++g) {
        for (int i = 0; i < kGroupSizes[static_cast<size_t>(g)]; ++i) {
            const MachineRecord record = benchMachine(index++);
            strings.insert(strings.end(), record.begin(), record.end());
        }
        counts[static_cast<size_t>(g)] = static_cast<int16_t>(kGroupSizes[static_cast<size_t>(g)]);
    }
    std::optional<Library> library = Library::fromParts(
        {"ミドル", "ライトミドル", "甘デジ", "ST機", "羽根モノ", "お気に入り", "その他"}, counts, std::move(strings));
    if (!library) {
        std::fprintf(stderr, "zenbalo-bench: the full library breaks the library's rule\n");
        std::exit(2);
    }
    return std::move(*library);
}

void budget(const std::string &benchmark, double seconds) { budgets()[benchmark] = seconds; }

int runWithBudgets(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    BudgetReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.verdict();
}

std::string enterTemporaryDirectory() {
    const char *base = std::getenv("TMPDIR");
    std::string path = std::string(base && *base ? base : "/tmp") + "/zenbalo-bench-XXXXXX";
    if (::mkdtemp(path.data()) == nullptr || ::chdir(path.c_str()) != 0) {
        std::perror("zenbalo-bench: temporary directory");
        std::exit(2);
    }
    return path;
}

AnalysisRecord benchJournalRecord(int index) {
    static const char *const kParlours[] = {"駅前店", "本店", "ホール・ニュー大阪", "パーラー銀河", "マルハン北口"};
    SharedResults shared;
    shared.payoutPerHit = 1400 + 20 * (index % 30);
    shared.yenPerBall = index % 3 == 0 ? 4.0 : 100.0 / 28;
    shared.totalHitProbability = 1.0 / (150 + index % 30);
    const AnalysisTotals totals{std::to_string(800 + index % 1700), std::to_string(index % 17),
                                std::to_string((index * 37) % 30000), std::to_string(10000 + 1000 * (index % 40))};
    const MachineFigures figures = machineFigures(shared);
    AnalysisRecord record;
    record.date = formatShortDate({2005 + index / 168, 1 + index / 14 % 12, 1 + 2 * (index % 14)});
    record.parlour = std::string(kParlours[index % 5]) + std::to_string(index % 4);
    record.yenPerBall = figures.yenPerBall;
    record.machineName = "CR機種" + std::to_string(index % 30);
    record.payout = figures.payout;
    record.totals = totals;
    record.results = RunAnalysis(totals, shared).value();
    return record;
}

std::string benchJournalFile(int visits) {
    std::string bytes;
    for (int k = 0; k < visits; ++k)
        bytes += analysisRecordBytes(benchJournalRecord(k));
    return bytes;
}

} // namespace zenbalo::bench
