// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "journal/journal.h"

#include <ostream>
#include <string>
#include <vector>

namespace zenbalo {

// The visits as CSV for spreadsheets: UTF-8 with a byte-order mark (Japanese
// spreadsheets need it), CR LF, fields quoted as RFC 4180 wants, one row per
// visit in the order given, after the header row.
std::string journalCsv(const std::vector<Visit> &visits);

// Writes the CSV of `visits` to `file`, replacing it whole or not at all.
JournalResult writeJournalCsv(const std::vector<Visit> &visits, const std::string &file);

// The command line's export: takes in what bunseki.txt adds, then writes the
// whole journal's CSV to `file`, or to `out` when `file` is "-".
JournalResult exportJournal(Journal &journal, const std::string &file, std::ostream &out);

} // namespace zenbalo
