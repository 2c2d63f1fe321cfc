// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/file_io.h"
#include "engine/calculation.h"

#include <string>
#include <vector>

namespace zenbalo {

inline constexpr const char *kLogFile = "log.txt";

// What the report copies from the window, texts exactly as shown.
struct LogReport {
    std::string name;
    std::string payout;
    std::string rotationRate;
    std::string totalRotations;
    double yenPerBall = 0;
    CalculationDisplay results;
};

// The 23 lines of the report.
std::vector<std::string> logReportLines(const LogReport &report);

// Replaces log.txt in the working directory.
[[nodiscard]] WriteResult writeLogFile(const LogReport &report);

} // namespace zenbalo
