// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "journal/journal.h"

#include <string>
#include <string_view>

namespace zenbalo {

// The journal reads the dates of bunseki.txt in the pattern the analysis
// window writes them in: the locale's short date.
JournalOptions journalOptions();

// zenbalo --export-journal FILE: the whole journal of the working directory
// as CSV, after taking in what bunseki.txt adds; FILE "-" is standard output.
// Needs no display and not the single-instance lock: the database's own lock
// keeps it apart from a save of the running program.
int exportJournalCommand(std::string_view file, std::string &out, std::string &err);

} // namespace zenbalo
