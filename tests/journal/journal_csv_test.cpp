// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/journal_csv.h"

#include "support/journal_records.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace zenbalo {
namespace {

using testing::readFile;
using testing::TempWorkDir;

const std::string kCsvHeader(testing::kCsvHeader);

// The three records of the fixture, taken in by the export itself.
const std::string kThreeVisits = kCsvHeader + std::string(testing::kThreeVisitsCsvRows[0]) +
                                 std::string(testing::kThreeVisitsCsvRows[1]) +
                                 std::string(testing::kThreeVisitsCsvRows[2]);

TEST(JournalCsv, ExportTakesInTheFileFirst) {
    TempWorkDir dir;
    testing::writeFile(kAnalysisFile, testing::fixture("journal/three_visits.txt"));
    Journal journal;
    std::ostringstream out;
    ASSERT_TRUE(exportJournal(journal, "-", out).ok());
    EXPECT_EQ(out.str(), kThreeVisits);

    ASSERT_TRUE(exportJournal(journal, "収支.csv", out).ok());
    EXPECT_EQ(readFile("収支.csv"), kThreeVisits);
}

TEST(JournalCsv, Quoting) {
    Visit v;
    v.parlour = "駅前店 \"新館\", 2F";
    v.machine = "CR,機種";
    v.payout = -5;
    v.yenPerBall = "3.571";
    v.hitError = "-0.500";
    EXPECT_EQ(journalCsv({v}),
              kCsvHeader + ",\"駅前店 \"\"新館\"\", 2F\",\"CR,機種\",-5,3.571,0,0,0,0,0,0,-0.500,,\r\n");
    EXPECT_EQ(journalCsv({}), kCsvHeader);
}

TEST(JournalCsv, Failures) {
    TempWorkDir dir;
    Journal journal;
    std::filesystem::create_directory("out.csv");
    std::ostringstream ignored;
    EXPECT_EQ(exportJournal(journal, "out.csv", ignored).reason,
              "out.csv に書き込めませんでした。同じ名前のフォルダーがあります。");
    std::ostringstream closed;
    closed.setstate(std::ios::badbit);
    EXPECT_EQ(exportJournal(journal, "-", closed).reason, "標準出力に書き込めませんでした。");
    std::filesystem::create_directory(kAnalysisFile);
    EXPECT_EQ(exportJournal(journal, "-", ignored).reason,
              "bunseki.txt を読み込めませんでした。同じ名前のフォルダーがあります。");
    EXPECT_EQ(ignored.str(), "");
}

} // namespace
} // namespace zenbalo
