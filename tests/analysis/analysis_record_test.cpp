#include "analysis/analysis_record.h"
#include "analysis/short_date.h"

#include "common/sjis.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zenbalo {
namespace {

using testing::fixture;
using testing::readFile;
using testing::TempWorkDir;
using testing::writeFile;

// The worked example as the window would save it, results from a real run.
AnalysisRecord workedExample() {
    SharedResults shared;
    shared.totalHitProbability = 0.01;
    shared.payoutPerHit = 2000;
    shared.yenPerBall = 100.0 / 28;
    const AnalysisTotals totals{"1000", "12", "20000", "30000"};
    const MachineFigures figures = machineFigures(shared);
    return {formatShortDate({2005, 3, 14}),     "駅前店", figures.yenPerBall, "CR機種", figures.payout, totals,
            RunAnalysis(totals, shared).value()};
}

TEST(AnalysisRecord, WorkedExampleByteForByte) {
    TempWorkDir dir;
    ASSERT_TRUE(appendAnalysisRecord(workedExample()));
    EXPECT_EQ(readFile(kAnalysisFile), fixture("analysis/worked_example.txt"));
}

TEST(AnalysisRecord, TwoSavesGiveTwoRecords) {
    TempWorkDir dir;
    ASSERT_TRUE(appendAnalysisRecord(workedExample()));
    ASSERT_TRUE(appendAnalysisRecord(workedExample()));
    EXPECT_EQ(readFile(kAnalysisFile), fixture("analysis/worked_example.txt") + fixture("analysis/worked_example.txt"));
}

TEST(AnalysisRecord, LinesAsTyped) {
    struct Case {
        const char *name;
        void (*change)(AnalysisRecord &);
        size_t line;
        const char *want;
    } cases[] = {
        {"empty parlour", [](AnalysisRecord &r) { r.parlour = ""; }, 1, "(3.571円)"},
        {"leading zeros", [](AnalysisRecord &r) { r.totals.playHits = "0012"; }, 4, "総大当たり数: 0012回"},
        {"empty box", [](AnalysisRecord &r) { r.totals.exchangedBalls = ""; }, 5, "換金出玉数:   個"},
        {"a loss", [](AnalysisRecord &r) { r.results[1] = "¥-4643"; }, 9, "仕事量:   ¥-4643円"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        AnalysisRecord record = workedExample();
        c.change(record);
        const std::vector<std::string> lines = analysisRecordLines(record);
        ASSERT_EQ(lines.size(), 14u);
        EXPECT_EQ(lines[c.line], c.want);
    }
}

TEST(AnalysisRecord, TextWithoutShiftJisLosesOnlyThatCharacter) {
    TempWorkDir dir;
    AnalysisRecord record = workedExample();
    record.parlour = "駅前店😀2号";
    ASSERT_TRUE(appendAnalysisRecord(record));
    const std::string want = "*** 2005/03/14 ***\r\n駅前店?2号(3.571円)\r\nCR機種(2000個)\r\n";
    const std::string got = decodeSjis(readFile(kAnalysisFile)).value_or("");
    EXPECT_EQ(got.substr(0, want.size()), want);
}

TEST(AnalysisRecord, FailedSaveKeepsTheJournal) {
    TempWorkDir dir;
    ASSERT_TRUE(appendAnalysisRecord(workedExample()));
    {
        testing::FileSizeLimit full;
        EXPECT_FALSE(appendAnalysisRecord(workedExample()));
    }
    EXPECT_EQ(readFile(kAnalysisFile), fixture("analysis/worked_example.txt"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), std::filesystem::directory_iterator()), 1)
        << "no temporary file is left behind";
}

TEST(AnalysisRecord, Emptying) {
    struct Case {
        const char *name;
        bool present;
    } cases[] = {{"missing file is created", false}, {"records are dropped", true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempWorkDir dir;
        if (c.present)
            writeFile(kAnalysisFile, fixture("analysis/worked_example.txt"));
        ASSERT_TRUE(emptyAnalysisFile());
        ASSERT_TRUE(std::filesystem::exists(kAnalysisFile));
        EXPECT_EQ(std::filesystem::file_size(kAnalysisFile), 0u);
        ASSERT_TRUE(appendAnalysisRecord(workedExample()));
        EXPECT_EQ(readFile(kAnalysisFile), fixture("analysis/worked_example.txt"));
    }
}

TEST(ShortDate, Patterns) {
    struct Case {
        const char *pattern;
        CalendarDate date;
        const char *want;
    } cases[] = {
        {"yyyy/MM/dd", {2005, 3, 14}, "2005/03/14"},  {"yyyy/MM/dd", {2024, 12, 1}, "2024/12/01"},
        {"yy/M/d", {2005, 3, 4}, "05/3/4"},           {"M/d/yy", {2000, 11, 30}, "11/30/00"},
        {"dd.MM.yyyy", {999, 1, 9}, "09.01.0999"},    {"yyyy年M月d日", {2005, 3, 14}, "2005年3月14日"},
        {"d.MM.yy 'г'.", {2005, 3, 4}, "4.03.05 г."}, {"'yy''s' yy", {2005, 3, 4}, "yy's 05"},
        {"MMM ddd", {2005, 3, 4}, "03 04"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(formatShortDate(c.date, c.pattern), c.want);
    }
    EXPECT_EQ(formatShortDate({2005, 3, 14}), "2005/03/14");
}

} // namespace
} // namespace zenbalo
