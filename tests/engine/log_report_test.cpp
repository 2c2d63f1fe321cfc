// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/log_report.h"

#include "common/sjis.h"
#include "support/builders.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace zenbalo {
namespace {

using testing::fixture;

LogReport workedExample() {
    const MachineRecord machine = testing::workedExampleMachine();
    LogReport report{machine[Name],
                     machine[Payout],
                     testing::kWorkedExampleRate,
                     testing::kWorkedExampleTotal,
                     testing::kWorkedExampleYenPerBall,
                     {}};
    SharedResults shared;
    shared.yenPerBall = report.yenPerBall;
    report.results = runCalculation(machine, report.rotationRate, report.totalRotations, shared);
    return report;
}

TEST(LogReport, WorkedExampleByteForByte) {
    testing::TempWorkDir dir;
    ASSERT_TRUE(writeLogFile(workedExample()).ok());
    EXPECT_EQ(testing::readFile("log.txt"), fixture("log/worked_example.txt"));
}

TEST(LogReport, BeforeAnyCalculationShowsDashes) {
    const LogReport report{"", "", "18.5", "2000", 0, CalculationDisplay::blank()};
    EXPECT_EQ(sjisLines(logReportLines(report)), fixture("log/before_calculation.txt"));
}

TEST(LogReport, LongCaptionsAreWrittenWhole) {
    LogReport report = workedExample();
    report.results.borders[0] = "123.456";
    report.results.balances[0] = "\u00A5-123456789";
    report.results.borders[1] = "99.000";
    report.results.balances[1] = "¥0";
    const auto lines = logReportLines(report);
    ASSERT_EQ(lines.size(), 23u);
    EXPECT_EQ(lines[12], "     0%: 123.456\u00A5-123456789");
    EXPECT_EQ(lines[13], "    10%: 99.000        ¥0");
}

TEST(LogReport, SavingTwiceKeepsOneReport) {
    testing::TempWorkDir dir;
    LogReport report = workedExample();
    ASSERT_TRUE(writeLogFile(report).ok());
    ASSERT_TRUE(writeLogFile(report).ok());
    EXPECT_EQ(testing::readFile("log.txt"), fixture("log/worked_example.txt"));
}

} // namespace
} // namespace zenbalo
