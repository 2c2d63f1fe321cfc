// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/analysis_record.h"
#include "journal/visit.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zenbalo::testing {

// A record as the analysis window saves it, of the worked example's figures;
// `rotations` tells records apart.
AnalysisRecord journalRecord(int rotations, const std::string &parlour = "駅前店",
                             const std::string &machine = "CR機種", const std::string &date = "2005/03/14");

// The bytes of records for `rotations` in turn.
std::string journalRecords(const std::vector<int> &rotations);

// The visits' rotations in order: which records they came from.
std::vector<int32_t> rotationsOf(const std::vector<Visit> &visits);

} // namespace zenbalo::testing
