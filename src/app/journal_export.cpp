// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/journal_export.h"

#include "app/frm_analysis.h"
#include "journal/journal_csv.h"

#include <QLocale>
#include <algorithm>
#include <filesystem>
#include <sstream>
#include <system_error>

namespace zenbalo {

namespace {

// A relative FILE names a place in the directory the command was given in,
// which is the working directory at start. Today the launcher has already
// moved into the data directory by then, so a relative FILE lands there; once
// the launcher leaves the move to the program, the program must take the
// start directory's path here, before it moves.
std::string fromStartDirectory(std::string_view file) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::path(file), error);
    return error ? std::string(file) : absolute.string();
}

} // namespace

JournalOptions journalOptions() {
    JournalOptions options;
    options.datePattern = shortDatePattern(QLocale::system());
    return options;
}

int exportJournalCommand(std::string_view file, std::string &out, std::string &err) {
    const std::string target = file == "-" ? std::string(file) : fromStartDirectory(file);
    Journal journal(journalOptions());
    std::ostringstream csv;
    const JournalResult exported = exportJournal(journal, target, csv);
    if (!exported.ok()) {
        std::string line = exported.reason;
        std::replace(line.begin(), line.end(), '\n', ' ');
        err.append("zenbalo: ").append(line).append("\n");
        return 1;
    }
    out += csv.str();
    return 0;
}

} // namespace zenbalo
