// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/analysis_record.h"
#include "analysis/short_date.h"

#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zenbalo {
namespace {

using testing::fixture;
using testing::readFile;
using testing::TempWorkDir;

// The worked example as the window saves it, results from a real run.
AnalysisRecord workedExample() {
    const SharedResults shared{2000, 100.0 / 28, 0.01, "CR機種", 1.0 / 300, 20};
    AnalysisRecord record;
    record.date = formatShortDate({2005, 3, 14});
    record.parlour = "駅前店";
    record.yenPerBall = machineFigures(shared).yenPerBall;
    record.machineName = shared.machineName;
    record.payout = machineFigures(shared).payout;
    record.totals = {"1000", "12", "20000", "30000"};
    record.results = RunAnalysis(record.totals, shared).value();
    return record;
}

const std::string kOneRecord = fixture("analysis/worked_example.txt");

TEST(AnalysisRecord, AppendsByteForByte) {
    TempWorkDir dir;
    ASSERT_TRUE(appendAnalysisRecord(workedExample()));
    EXPECT_EQ(readFile(kAnalysisFile), kOneRecord);
    ASSERT_TRUE(appendAnalysisRecord(workedExample()));
    EXPECT_EQ(readFile(kAnalysisFile), kOneRecord + kOneRecord);
}

TEST(AnalysisRecord, TextsAsTyped) {
    AnalysisRecord record = workedExample();
    record.parlour = "";
    record.totals.playHits = "0012";
    const std::vector<std::string> lines = analysisRecordLines(record);
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[1], "(3.571円)");
    EXPECT_EQ(lines[4], "総大当たり数: 0012回");
}

TEST(AnalysisRecord, FailedSaveKeepsTheJournal) {
    TempWorkDir dir;
    ASSERT_TRUE(appendAnalysisRecord(workedExample()));
    {
        testing::FileSizeLimit full;
        EXPECT_FALSE(appendAnalysisRecord(workedExample()));
    }
    EXPECT_EQ(readFile(kAnalysisFile), kOneRecord);
    EXPECT_EQ(testing::directoryEntries().size(), 1u);
}

TEST(AnalysisRecord, Emptying) {
    for (bool present : {false, true}) {
        SCOPED_TRACE(present ? "records are dropped" : "a missing file is created");
        TempWorkDir dir;
        if (present)
            testing::writeFile(kAnalysisFile, kOneRecord);
        ASSERT_TRUE(emptyAnalysisFile());
        EXPECT_EQ(readFile(kAnalysisFile), "");
        EXPECT_TRUE(std::filesystem::exists(kAnalysisFile));
    }
}

TEST(ShortDate, Patterns) {
    struct Case {
        const char *pattern;
        CalendarDate date;
        const char *want;
    } cases[] = {
        {"yyyy/MM/dd", {2005, 3, 4}, "2005/03/04"},
        {"M/d/yy", {2000, 11, 30}, "11/30/00"},
        {"dd.MM.yyyy", {999, 1, 9}, "09.01.0999"},
        {"yyyy年M月d日", {2005, 3, 14}, "2005年3月14日"},
        {"d.MM.yy 'г'.", {2005, 3, 4}, "4.03.05 г."},
        {"'yy''s' yy", {2005, 3, 4}, "yy's 05"},
        {"''yy''", {2005, 3, 4}, "'05'"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(formatShortDate(c.date, c.pattern), c.want);
    }
    EXPECT_EQ(formatShortDate({2005, 3, 14}), "2005/03/14");
}

} // namespace
} // namespace zenbalo
