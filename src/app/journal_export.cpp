// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/journal_export.h"

#include "app/frm_analysis.h"
#include "common/data_directory.h"
#include "journal/journal_csv.h"

#include <QLocale>
#include <algorithm>
#include <filesystem>
#include <sstream>
#include <system_error>

namespace zenbalo {

namespace {

// A relative FILE names a place in the directory the command was given in:
// the working directory while the command line is read, before the program
// moves into the data directory.
std::string fromStartDirectory(std::string_view file) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::path(file), error);
    return error ? std::string(file) : absolute.string();
}

// One line on standard error, as every failure of the command line.
int refuse(std::string line, std::string &err) {
    std::replace(line.begin(), line.end(), '\n', ' ');
    err.append("zenbalo: ").append(line).append("\n");
    return 1;
}

} // namespace

JournalOptions journalOptions() {
    JournalOptions options;
    options.datePattern = shortDatePattern(QLocale::system());
    return options;
}

int exportJournalCommand(std::string_view file, std::string &out, std::string &err) {
    const std::string target = file == "-" ? std::string(file) : fromStartDirectory(file);
    // Started by the launcher, the journal is the one of the player's data directory.
    if (const std::string share = processEnvironment("ZENBALO_SHARE"); !share.empty()) {
        if (const DataDirectory data = enterDataDirectory(processEnvironment, share); !data.ok())
            return refuse(data.failure, err);
    }
    Journal journal(journalOptions());
    std::ostringstream csv;
    const JournalResult exported = exportJournal(journal, target, csv);
    if (!exported.ok())
        return refuse(exported.reason, err);
    out += csv.str();
    return 0;
}

} // namespace zenbalo
