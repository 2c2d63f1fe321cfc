// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/analysis_record.h"
#include "common/shared_results.h"
#include "journal/visit.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zenbalo {

// The player's journal of visits: the SQLite database zenbalo.db in the
// working directory, filled from the analysis records of bunseki.txt.
//
// Taking records from bunseki.txt. The file is only ever read here. Each
// record is known by a hash of its texts (see FileRecord) and its
// occurrence among the identical records of the file: the table of taken
// records holds, per hash, how many of its occurrences have become visits.
// A reading imports an occurrence beyond that count and raises the count.
// So a visit deleted from the journal never comes back (deleting leaves the
// counts alone), a record appended later is imported once, and two identical
// records are two visits. A record edited by hand is a new record; the
// visit of the old one stays. A file found holding no record at all (the
// analysis window's 削除 empties it) forgets the counts, so what is saved into
// it afterwards is imported again. Since every save reads the file first,
// the emptying is always seen before a new record lands in the file.
//
// Reading goes on where the last one settled (see ReadPosition) while the
// file is the same file (device and inode), no shorter, and the 4 KiB before
// that place are unchanged; otherwise the whole file is read again, which the
// counts make harmless. Saves and imports of a file that only grows thus cost
// the new records, not the file. An interrupted save leaves either a torn
// record, which is skipped and to which the next record is glued, or a whole
// record that the next reading imports once.
//
// Saving. A save is one transaction that holds the database's write lock
// throughout: import what the file adds, insert the visit and count its
// record as taken, append the record to bunseki.txt and flush it, commit. A
// failed commit cuts the record off the file again; should even that fail,
// the save counts as done, as the next reading imports the record. A crash
// before the commit leaves the database as before the save (SQLite's
// rollback journal) and the file with no record, a torn one or the whole
// one: the next reading makes the journal agree with the file either way.
//
// The database keeps a rollback journal, not a write-ahead log: it works in
// any directory the other files work in (a write-ahead log needs shared
// memory, which network shares lack), it is one file at rest, and a save
// is rare enough that readers waiting for it cost nothing.
inline constexpr const char *kJournalFile = "zenbalo.db";

// The outcome of a journal operation: on failure a Japanese reason for the
// player that names the file and what went wrong. A failure loses nothing.
struct JournalResult {
    std::string reason;

    bool ok() const { return reason.empty(); }
};

struct SyncReport {
    JournalResult result;
    int64_t imported = 0; // visits this call took from bunseki.txt
    int64_t skipped = 0;  // pieces of bunseki.txt that are no record
};

// Which visits to show; an empty name and an open end take all.
struct VisitFilter {
    std::string parlour;
    std::string machine;
    std::optional<CalendarDate> from; // a period leaves out the undated visits
    std::optional<CalendarDate> to;
};

struct VisitList {
    JournalResult result;
    std::vector<Visit> visits; // in journal order
};

struct NameLists {
    JournalResult result;
    std::vector<std::string> parlours; // sorted, each once
    std::vector<std::string> machines;
};

struct SettingValue {
    JournalResult result;
    std::optional<std::string> value; // nullopt when none was stored
};

struct JournalOptions {
    // The short-date pattern of the dates in bunseki.txt (as the analysis
    // window writes them).
    std::string datePattern = "yyyy/MM/dd";
    int busyTimeoutMs = 2000;
};

// The theory of the machine the main window last calculated; nullopt when
// the figures make none.
std::optional<VisitTheory> theoryOf(const SharedResults &shared);

class Journal {
public:
    // Opens nothing: the database is opened by the first call that needs it.
    explicit Journal(JournalOptions options = {});
    ~Journal();
    Journal(const Journal &) = delete;
    Journal &operator=(const Journal &) = delete;

    // Opens zenbalo.db, creating it when missing. A damaged one (or one that
    // is not a journal) is kept as zenbalo.db.damaged-DATE-TIME and a new one
    // begun, which the next sync builds from bunseki.txt; keptDamaged() then
    // names the kept file. Every other call opens first.
    JournalResult open();
    const std::string &keptDamaged() const;

    // Imports the records of bunseki.txt not yet taken.
    SyncReport sync();
    // The analysis window's save: the record into bunseki.txt and the visit,
    // with its theory, into the journal, both or neither.
    SyncReport save(const AnalysisRecord &record, const std::optional<VisitTheory> &theory);

    VisitList visits(const VisitFilter &filter = {});
    NameLists names();
    JournalResult deleteVisits(const std::vector<int64_t> &ids);

    // What the journal's window keeps between sessions (its size), here
    // rather than in zenbalo.cfg, whose form is fixed.
    SettingValue setting(const std::string &name);
    JournalResult storeSetting(const std::string &name, const std::string &value);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace zenbalo
