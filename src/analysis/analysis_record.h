// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/analysis.h"
#include "common/file_io.h"

#include <cstdint>
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

// The record as bunseki.txt holds it: Shift_JIS, CR LF.
std::string analysisRecordBytes(const AnalysisRecord &record);

// Where an appended record lies in bunseki.txt.
struct RecordPlace {
    uint64_t start = 0;
    uint64_t length = 0;
};

// Adds one record after those already in bunseki.txt, creating the file when
// it is missing: one write at its end, then a flush to disk. The file is never
// read, so its size costs neither memory nor time, and a crash can tear only
// this record; a failed write leaves the file as it was. A bunseki.txt that is
// not a regular file, or that openForWriting refuses, is not written. `place`, when given, receives where the
// record went, for cutAnalysisRecord.
[[nodiscard]] WriteResult appendAnalysisRecord(const AnalysisRecord &record, RecordPlace *place = nullptr);

// Takes back an append whose save failed in a later step: cuts bunseki.txt
// at the record's start, but only while the record is still its end.
[[nodiscard]] WriteResult cutAnalysisRecord(const RecordPlace &place);

// Leaves bunseki.txt empty, creating it when it is missing.
[[nodiscard]] WriteResult emptyAnalysisFile();

} // namespace zenbalo
