// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/analysis_record.h"
#include "journal/visit.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zenbalo::testing {

// A record as the analysis window saves it, of the worked example's figures;
// `rotations` tells records apart.
AnalysisRecord journalRecord(int rotations, const std::string &parlour = "駅前店",
                             const std::string &machine = "CR機種", const std::string &date = "2005/03/14");

// The bytes of records for `rotations` in turn.
std::string journalRecords(const std::vector<int> &rotations);

// The journal's CSV: the byte-order mark and the header row, and the row of
// each visit of tests/data/journal/three_visits.txt.
inline constexpr std::string_view kCsvHeader = "\xEF\xBB\xBF"
                                               "日付,店名,機種名,大当たり出玉,換金率,総回転数,総大当たり数,換金出玉数,"
                                               "投資金額,収支,仕事量,誤差,ツキ指数,回転率\r\n";
inline constexpr std::string_view kThreeVisitsCsvRows[3] = {
    "2005-03-14,駅前店,CR機種,2000,3.571,1000,12,20000,30000,41429,27143,2.000,120.000,21.739\r\n",
    "2005-03-15,駅前店,CR海物語,1500,3.571,2000,4,3000,40000,-29286,20714,-9.333,30.000,38.462\r\n",
    "2005-03-16,ホール・ニュー大阪,CR機種,2000,4.000,600,0,0,15000,-15000,-3000,-6.000,0.000,40.000\r\n",
};

// The visits' rotations in order: which records they came from.
std::vector<int32_t> rotationsOf(const std::vector<Visit> &visits);

} // namespace zenbalo::testing
