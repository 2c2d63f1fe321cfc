// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/analysis.h"

#include <string>
#include <vector>

namespace zenbalo {

inline constexpr const char *kAnalysisFile = "bunseki.txt";

// What one journal record holds, texts exactly as the window shows them.
struct AnalysisRecord {
    std::string date;       // the short date of the day of saving
    std::string parlour;    // Text1(0) at saving
    std::string yenPerBall; // Label2(1)
    std::string machineName;
    std::string payout;      // Label2(0)
    AnalysisTotals totals;   // as typed at the last completed RunAnalysis
    AnalysisResults results; // Label3(0..4)
};

// The 14 lines of one record; lines 8 and 14 are empty.
std::vector<std::string> analysisRecordLines(const AnalysisRecord &record);

// Adds one record after those already in bunseki.txt, creating the file when it
// is missing. The file is rewritten whole beside the old one and renamed over
// it, so a failure leaves every earlier record in place.
[[nodiscard]] bool appendAnalysisRecord(const AnalysisRecord &record);

// Leaves bunseki.txt empty, creating it when it is missing.
[[nodiscard]] bool emptyAnalysisFile();

} // namespace zenbalo
