// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/analysis_record.h"
#include "analysis/short_date.h"

#include "support/temp_dir.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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

std::string oneRecord() { return fixture("analysis/worked_example.txt"); }

TEST(AnalysisRecord, AppendsByteForByte) {
    TempWorkDir dir;
    RecordPlace place;
    ASSERT_TRUE(appendAnalysisRecord(workedExample(), &place).ok());
    EXPECT_EQ(readFile(kAnalysisFile), oneRecord());
    EXPECT_EQ(place.start, 0u);
    EXPECT_EQ(place.length, oneRecord().size());
    EXPECT_EQ(analysisRecordBytes(workedExample()), oneRecord());
    ASSERT_TRUE(appendAnalysisRecord(workedExample(), &place).ok());
    EXPECT_EQ(readFile(kAnalysisFile), oneRecord() + oneRecord());
    EXPECT_EQ(place.start, oneRecord().size());
}

// What an interrupted save or an editor left stays as it was, and the new
// record starts right after it.
TEST(AnalysisRecord, AppendsAfterWhateverTheFileHolds) {
    TempWorkDir dir;
    const std::string torn = oneRecord() + oneRecord().substr(0, 77);
    testing::writeFile(kAnalysisFile, torn);
    ASSERT_TRUE(appendAnalysisRecord(workedExample()).ok());
    EXPECT_EQ(readFile(kAnalysisFile), torn + oneRecord());
}

// A file far larger than memory: reading it first would throw or take minutes.
TEST(AnalysisRecord, AppendsToAHugeFileInPlace) {
    TempWorkDir dir;
    constexpr off_t kHuge = off_t{40} << 30;
    testing::writeFile(kAnalysisFile, "");
    if (::truncate(kAnalysisFile, kHuge) != 0)
        GTEST_SKIP() << "no sparse file of 40 GB here";
    RecordPlace place;
    ASSERT_TRUE(appendAnalysisRecord(workedExample(), &place).ok());
    EXPECT_EQ(place.start, static_cast<uint64_t>(kHuge));
    EXPECT_EQ(std::filesystem::file_size(kAnalysisFile), kHuge + oneRecord().size());
    std::string tail(oneRecord().size(), '\0');
    FILE *in = std::fopen(kAnalysisFile, "rb");
    ASSERT_NE(in, nullptr);
    std::fseek(in, kHuge, SEEK_SET);
    EXPECT_EQ(std::fread(tail.data(), 1, tail.size(), in), tail.size());
    std::fclose(in);
    EXPECT_EQ(tail, oneRecord());
}

TEST(AnalysisRecord, CutTakesBackOnlyTheLastRecord) {
    TempWorkDir dir;
    testing::writeFile(kAnalysisFile, oneRecord());
    RecordPlace place;
    ASSERT_TRUE(appendAnalysisRecord(workedExample(), &place).ok());
    ASSERT_TRUE(cutAnalysisRecord(place).ok());
    EXPECT_EQ(readFile(kAnalysisFile), oneRecord());

    // Something written after the record since: nothing is cut.
    ASSERT_TRUE(appendAnalysisRecord(workedExample(), &place).ok());
    std::filesystem::resize_file(kAnalysisFile, place.start + place.length + 1);
    EXPECT_FALSE(cutAnalysisRecord(place).ok());
    EXPECT_EQ(std::filesystem::file_size(kAnalysisFile), place.start + place.length + 1);
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
    for (bool present : {true, false}) {
        SCOPED_TRACE(present ? "a record was there" : "no file yet");
        TempWorkDir dir;
        if (present) {
            ASSERT_TRUE(appendAnalysisRecord(workedExample()).ok());
        }
        {
            testing::FileSizeLimit full;
            EXPECT_EQ(appendAnalysisRecord(workedExample()), WriteResult::fromErrno(EFBIG));
        }
        // The first bytes of the record fit below the limit and went back out.
        EXPECT_EQ(testing::directoryEntries(),
                  present ? std::vector<std::string>{kAnalysisFile} : std::vector<std::string>{});
        if (present) {
            EXPECT_EQ(readFile(kAnalysisFile), oneRecord());
        }
    }
}

TEST(AnalysisRecord, WritesOnlyRegularFiles) {
    struct Case {
        const char *name;
        void (*make)();
    } cases[] = {
        {"a directory", [] { std::filesystem::create_directory(kAnalysisFile); }},
        {"a FIFO without reader", [] { ::mkfifo(kAnalysisFile, 0644); }},
        {"a link to a device", [] { std::filesystem::create_symlink("/dev/null", kAnalysisFile); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempWorkDir dir;
        c.make();
        const auto before = std::filesystem::symlink_status(kAnalysisFile).type();
        EXPECT_FALSE(appendAnalysisRecord(workedExample()).ok());
        EXPECT_EQ(std::filesystem::symlink_status(kAnalysisFile).type(), before);
    }
}

// The reason names the folder in the way.
TEST(AnalysisRecord, JournalThatIsAFolderIsLeftAlone) {
    TempWorkDir dir;
    std::filesystem::create_directory(kAnalysisFile);
    testing::writeFile(std::string(kAnalysisFile) + "/inside", "kept");
    EXPECT_EQ(appendAnalysisRecord(workedExample()), WriteResult::fromErrno(EISDIR));
    EXPECT_EQ(readFile(std::string(kAnalysisFile) + "/inside"), "kept");
    EXPECT_FALSE(emptyAnalysisFile().ok());
}

TEST(AnalysisRecord, Emptying) {
    for (bool present : {false, true}) {
        SCOPED_TRACE(present ? "records are dropped" : "a missing file is created");
        TempWorkDir dir;
        if (present)
            testing::writeFile(kAnalysisFile, oneRecord());
        ASSERT_TRUE(emptyAnalysisFile().ok());
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
