// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/analysis_record.h"

#include "common/file_io.h"
#include "common/sjis.h"

namespace zenbalo {

std::vector<std::string> analysisRecordLines(const AnalysisRecord &record) {
    const AnalysisTotals &t = record.totals;
    const AnalysisResults &r = record.results;
    // The blanks line the values up in one column in a fixed-width font:
    // 14 Shift_JIS bytes before the totals, 10 before the results.
    return {
        "*** " + record.date + " ***",
        record.parlour + "(" + record.yenPerBall + "円)",
        record.machineName + "(" + record.payout + "個)",
        "総回転数:     " + t.playRotations + "回転",
        "総大当たり数: " + t.playHits + "回",
        "換金出玉数:   " + t.exchangedBalls + "個",
        "投資金額:     " + t.investedYen + "円",
        "",
        "収支 :    " + r[0] + "円",
        "仕事量:   " + r[1] + "円",
        "誤差:     " + r[2] + "回",
        "ツキ指数: " + r[3] + "%",
        "回転率:   " + r[4] + "回転/千円",
        "",
    };
}

bool appendAnalysisRecord(const AnalysisRecord &record) {
    const FileContents old = readWholeFile(kAnalysisFile);
    // Rewriting a file that could not be read would drop the journal.
    if (old.status == FileContents::Status::Unreadable)
        return false;
    return writeFileAtomically(kAnalysisFile, old.bytes + sjisLines(analysisRecordLines(record))).ok();
}

bool emptyAnalysisFile() { return writeFileAtomically(kAnalysisFile, "").ok(); }

} // namespace zenbalo
