// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/journal_csv.h"

#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace zenbalo {
namespace {

using testing::readFile;
using testing::TempWorkDir;

const std::string kHeader = "\xEF\xBB\xBF"
                            "日付,店名,機種名,大当たり出玉,換金率,総回転数,総大当たり数,換金出玉数,投資金額,収支,"
                            "仕事量,誤差,ツキ指数,回転率\r\n";

// The three records of the fixture, taken in by the export itself.
const std::string kThreeVisits = kHeader +
                                 "2005-03-14,駅前店,CR機種,2000,3.571,1000,12,20000,30000,41429,27143,2.000,120.000,"
                                 "21.739\r\n"
                                 "2005-03-15,駅前店,CR海物語,1500,3.571,2000,4,3000,40000,-29286,20714,-9.333,30.000,"
                                 "38.462\r\n"
                                 "2005-03-16,ホール・ニュー大阪,CR機種,2000,4.000,600,0,0,15000,-15000,-3000,-6.000,"
                                 "0.000,40.000\r\n";

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
    EXPECT_EQ(journalCsv({v}), kHeader + ",\"駅前店 \"\"新館\"\", 2F\",\"CR,機種\",-5,3.571,0,0,0,0,0,0,-0.500,,\r\n");
    EXPECT_EQ(journalCsv({}), kHeader);
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
