// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/journal_records.h"

namespace zenbalo::testing {

AnalysisRecord journalRecord(int rotations, const std::string &parlour, const std::string &machine,
                             const std::string &date) {
    AnalysisRecord record;
    record.date = date;
    record.parlour = parlour;
    record.yenPerBall = "3.571";
    record.machineName = machine;
    record.payout = "2000";
    record.totals = {std::to_string(rotations), "12", "20000", "30000"};
    record.results = {"\u00A541429", "\u00A527143", "2.000", "120.000", "21.739"};
    return record;
}

std::string journalRecords(const std::vector<int> &rotations) {
    std::string bytes;
    for (int r : rotations)
        bytes += analysisRecordBytes(journalRecord(r));
    return bytes;
}

std::vector<int32_t> rotationsOf(const std::vector<Visit> &visits) {
    std::vector<int32_t> out;
    for (const Visit &v : visits)
        out.push_back(v.rotations);
    return out;
}

} // namespace zenbalo::testing
