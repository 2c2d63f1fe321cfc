// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/journal.h"

#include "common/file_io.h"
#include "common/sjis.h"
#include "journal/record_reader.h"

#include "support/journal_records.h"
#include "support/temp_dir.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zenbalo {
namespace {

using testing::fixture;
using testing::journalRecord;
using testing::readFile;
using testing::rotationsOf;
using testing::TempWorkDir;
using testing::writeFile;

const VisitTheory kTheory{1.0 / 300, 2.0, 1.0 / 150};

void appendToFile(const std::string &bytes) {
    std::ofstream out(kAnalysisFile, std::ios::binary | std::ios::app);
    out << bytes;
}

std::string recordBytes(int rotations) { return analysisRecordBytes(journalRecord(rotations)); }

std::vector<int32_t> visitRotations(Journal &journal) {
    const VisitList list = journal.visits();
    EXPECT_TRUE(list.result.ok()) << list.result.reason;
    return rotationsOf(list.visits);
}

// The records bunseki.txt holds, by their rotations.
std::vector<int32_t> fileRotations() {
    std::vector<Visit> visits;
    for (const FileRecord &r : readRecords(readFile(kAnalysisFile), "yyyy/MM/dd").records)
        visits.push_back(r.visit);
    return rotationsOf(visits);
}

// Runs SQL on its own connection, as another program would; the first
// column of the first row.
std::string otherProgram(const char *sql, sqlite3 **keepOpen = nullptr) {
    sqlite3 *db = nullptr;
    sqlite3_open(kJournalFile, &db);
    sqlite3_stmt *st = nullptr;
    std::string first;
    const char *rest = sql;
    while (rest && *rest && sqlite3_prepare_v2(db, rest, -1, &st, &rest) == SQLITE_OK && st) {
        if (sqlite3_step(st) == SQLITE_ROW && first.empty() && sqlite3_column_text(st, 0))
            first = reinterpret_cast<const char *>(sqlite3_column_text(st, 0));
        sqlite3_finalize(st);
    }
    if (keepOpen)
        *keepOpen = db;
    else
        sqlite3_close(db);
    return first;
}

std::string integrity() { return otherProgram("PRAGMA integrity_check"); }

// What the player and other programs do between readings of the journal.
enum class Do {
    Append,      // a whole record by another program
    AppendTorn,  // half a record: a save cut short
    Sync,        // the journal window opens
    Save,        // the analysis window saves
    Delete,      // the first visit of these rotations is deleted
    Empty,       // the analysis window's 削除
    ReSave,      // an editor saves the file again, UTF-8 with LF
    RemoveFirst, // the first record is cut out by hand
    Restart,     // the program starts again
};

struct Step {
    Do what;
    int rotations = 0;
};

void run(const Step &step, std::unique_ptr<Journal> &journal) {
    switch (step.what) {
    case Do::Append:
        appendToFile(recordBytes(step.rotations));
        break;
    case Do::AppendTorn: {
        const std::string bytes = recordBytes(step.rotations);
        appendToFile(bytes.substr(0, bytes.size() / 2));
        break;
    }
    case Do::Sync:
        ASSERT_TRUE(journal->sync().result.ok());
        break;
    case Do::Save:
        ASSERT_TRUE(journal->save(journalRecord(step.rotations), kTheory).result.ok());
        break;
    case Do::Delete: {
        const VisitList list = journal->visits();
        for (const Visit &v : list.visits)
            if (v.rotations == step.rotations) {
                ASSERT_TRUE(journal->deleteVisits({v.id}).ok());
                break;
            }
        break;
    }
    case Do::Empty:
        ASSERT_TRUE(emptyAnalysisFile().ok());
        break;
    case Do::ReSave: {
        std::string text = decodeSjis(readFile(kAnalysisFile)).value();
        for (size_t at; (at = text.find("\r\n")) != std::string::npos;)
            text.erase(at, 1);
        ASSERT_TRUE(writeFileAtomically(kAnalysisFile, "\xEF\xBB\xBF" + text).ok());
        break;
    }
    case Do::RemoveFirst: {
        const std::string bytes = readFile(kAnalysisFile);
        writeFile(kAnalysisFile, bytes.substr(bytes.find("*** ", 1)));
        break;
    }
    case Do::Restart:
        journal = std::make_unique<Journal>();
        break;
    }
}

TEST(Journal, TakesEachRecordOnce) {
    struct Case {
        const char *name;
        std::vector<Step> steps;
        std::vector<int32_t> want;
    } cases[] = {
        {"a deleted visit never comes back",
         {{Do::Append, 1}, {Do::Sync}, {Do::Delete, 1}, {Do::Sync}, {Do::Append, 2}, {Do::Restart}},
         {2}},
        {"a record appended later is imported once",
         {{Do::Append, 1}, {Do::Sync}, {Do::Append, 2}, {Do::Sync}, {Do::Sync}, {Do::Restart}},
         {1, 2}},
        {"identical records are two visits", {{Do::Append, 1}, {Do::Append, 1}}, {1, 1}},
        {"an identical record appended later is one more", {{Do::Append, 1}, {Do::Sync}, {Do::Append, 1}}, {1, 1}},
        {"a save cut short is no visit",
         {{Do::Append, 1}, {Do::Sync}, {Do::AppendTorn, 2}, {Do::Sync}, {Do::Append, 3}},
         {1, 3}},
        {"saving after a save cut short", {{Do::Append, 1}, {Do::AppendTorn, 2}, {Do::Save, 3}}, {1, 3}},
        {"an emptied file takes its records again",
         {{Do::Append, 1}, {Do::Append, 2}, {Do::Sync}, {Do::Empty}, {Do::Sync}, {Do::Append, 1}},
         {1, 2, 1}},
        {"saving into an emptied file", {{Do::Append, 1}, {Do::Sync}, {Do::Empty}, {Do::Save, 1}}, {1, 1}},
        {"a saved record is not taken again", {{Do::Save, 1}, {Do::Append, 1}, {Do::Save, 1}}, {1, 1, 1}},
        {"an editor's save changes nothing", {{Do::Append, 1}, {Do::Append, 2}, {Do::Sync}, {Do::ReSave}}, {1, 2}},
        {"a deleted visit stays deleted after an editor's save",
         {{Do::Append, 1}, {Do::Append, 2}, {Do::Sync}, {Do::Delete, 1}, {Do::ReSave}, {Do::Restart}},
         {2}},
        {"a record cut out by hand takes nothing with it",
         {{Do::Append, 1},
          {Do::Append, 2},
          {Do::Append, 3},
          {Do::Sync},
          {Do::RemoveFirst},
          {Do::Sync},
          {Do::Append, 4}},
         {1, 2, 3, 4}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempWorkDir dir;
        auto journal = std::make_unique<Journal>();
        for (const Step &step : c.steps)
            run(step, journal);
        ASSERT_TRUE(journal->sync().result.ok());
        EXPECT_EQ(visitRotations(*journal), c.want);
        EXPECT_EQ(integrity(), "ok");
    }
}

TEST(Journal, ReportsWhatItTookAndSkipped) {
    TempWorkDir dir;
    writeFile(kAnalysisFile, fixture("journal/torn.txt"));
    Journal journal;
    EXPECT_FALSE(std::filesystem::exists(kJournalFile)) << "nothing is opened before it is used";
    SyncReport report = journal.sync();
    ASSERT_TRUE(report.result.ok()) << report.result.reason;
    EXPECT_EQ(report.imported, 2);
    EXPECT_EQ(report.skipped, 1);
    // The skipped piece is still counted when the reading goes on.
    appendToFile(recordBytes(9) + "メモ\r\n");
    report = journal.sync();
    EXPECT_EQ(report.imported, 1);
    EXPECT_EQ(report.skipped, 2);
    report = Journal().sync();
    EXPECT_EQ(report.imported, 0);
    EXPECT_EQ(report.skipped, 2);
}

TEST(Journal, SavedVisitsKeepTheirTheory) {
    TempWorkDir dir;
    Journal journal;
    appendToFile(recordBytes(1));
    ASSERT_TRUE(journal.save(journalRecord(2), kTheory).result.ok());
    ASSERT_TRUE(journal.save(journalRecord(3), std::nullopt).result.ok());
    const VisitList list = journal.visits();
    ASSERT_EQ(rotationsOf(list.visits), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(list.visits[0].theory, std::nullopt);
    EXPECT_EQ(list.visits[1].theory, kTheory);
    EXPECT_EQ(list.visits[2].theory, std::nullopt);
    EXPECT_EQ(readFile(kAnalysisFile), recordBytes(1) + recordBytes(2) + recordBytes(3));

    EXPECT_EQ(theoryOf({2000, 100.0 / 28, 1.0 / 150, "CR機種", 1.0 / 300, 20}), kTheory);
    EXPECT_EQ(theoryOf({2000, 100.0 / 28, 0, "CR機種", 1.0 / 300, 20}), std::nullopt);
}

TEST(Journal, Filters) {
    TempWorkDir dir;
    std::string bytes;
    bytes += analysisRecordBytes(journalRecord(1, "駅前店", "CR機種", "2005/03/14"));
    bytes += analysisRecordBytes(journalRecord(2, "駅前店", "CR海物語", "2005/03/31"));
    bytes += analysisRecordBytes(journalRecord(3, "本店", "CR機種", "平成17年4月1日"));
    bytes += analysisRecordBytes(journalRecord(4, "本店", "CR機種", "2005/04/01"));
    writeFile(kAnalysisFile, bytes);
    Journal journal;
    ASSERT_TRUE(journal.sync().result.ok());
    struct Case {
        const char *name;
        VisitFilter filter;
        std::vector<int32_t> want;
    } cases[] = {
        {"all", {}, {1, 2, 3, 4}},
        {"a parlour", {"本店", "", {}, {}}, {3, 4}},
        {"a machine", {"", "CR機種", {}, {}}, {1, 3, 4}},
        {"both", {"駅前店", "CR機種", {}, {}}, {1}},
        {"a period, ends included", {"", "", CalendarDate{2005, 3, 14}, CalendarDate{2005, 3, 31}}, {1, 2}},
        {"from a day", {"", "", CalendarDate{2005, 3, 15}, {}}, {2, 4}},
        {"up to a day", {"", "", {}, CalendarDate{2005, 3, 31}}, {1, 2}},
        {"no such parlour", {"裏店", "", {}, {}}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const VisitList list = journal.visits(c.filter);
        ASSERT_TRUE(list.result.ok());
        EXPECT_EQ(rotationsOf(list.visits), c.want);
    }
    const NameLists names = journal.names();
    EXPECT_EQ(names.parlours, (std::vector<std::string>{"本店", "駅前店"}));
    EXPECT_EQ(names.machines, (std::vector<std::string>{"CR機種", "CR海物語"}));
}

// The journal window keeps its journal open while the command line's export
// takes in what the file adds.
TEST(Journal, AnOpenJournalLetsOthersWrite) {
    TempWorkDir dir;
    Journal window({"yyyy/MM/dd", 100});
    ASSERT_TRUE(window.save(journalRecord(1), kTheory).result.ok());
    ASSERT_TRUE(window.save(journalRecord(1), kTheory).result.ok());
    appendToFile(recordBytes(2));
    Journal commandLine({"yyyy/MM/dd", 100});
    EXPECT_TRUE(commandLine.sync().result.ok());
    EXPECT_TRUE(window.save(journalRecord(3), kTheory).result.ok());
    EXPECT_EQ(visitRotations(window), (std::vector<int32_t>{1, 1, 2, 3}));
}

// A bunseki.txt of 40 GB of nothing, as `truncate -s 40G` leaves it.
TEST(Journal, HugeFileReadsInAMoment) {
    TempWorkDir dir;
    writeFile(kAnalysisFile, "");
    if (::truncate(kAnalysisFile, off_t{40} << 30) != 0)
        GTEST_SKIP() << "no sparse file of 40 GB here";
    Journal journal;
    ASSERT_TRUE(journal.save(journalRecord(1), kTheory).result.ok());
    appendToFile(recordBytes(2));
    const SyncReport report = journal.sync();
    EXPECT_EQ(report.imported, 1);
    EXPECT_EQ(report.skipped, 1);
    EXPECT_EQ(visitRotations(journal), (std::vector<int32_t>{1, 2}));
}

// Saves as another program holding the database in the given way.
SyncReport saveBeside(Journal &journal, const char *otherSql) {
    sqlite3 *other = nullptr;
    otherProgram(otherSql, &other);
    SyncReport report = journal.save(journalRecord(2), kTheory);
    sqlite3_close_v2(other);
    return report;
}

// A save that fails leaves both places as they were, and saving again
// afterwards gives one record and one visit.
TEST(Journal, FailedSaveChangesNothing) {
    const std::string locked = "zenbalo.db はほかのプログラムが使っています。しばらくしてからもう一度試してください。";
    struct Case {
        const char *name;
        SyncReport (*failingSave)(Journal &);
        std::string reason;
    } cases[] = {
        {"full disk",
         [](Journal &journal) {
             testing::FileSizeLimit full;
             return journal.save(journalRecord(2), kTheory);
         },
         "zenbalo.db に書き込めませんでした。ディスクの空き容量が足りません。"},
        {"database locked by another program",
         [](Journal &journal) { return saveBeside(journal, "BEGIN EXCLUSIVE; SELECT count(*) FROM visit;"); }, locked},
        // The commit waits for the reader in vain: the record, already in
        // the file, comes off again.
        {"commit kept waiting by a reader",
         [](Journal &journal) { return saveBeside(journal, "BEGIN; SELECT count(*) FROM visit;"); }, locked},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempWorkDir dir;
        Journal journal({"yyyy/MM/dd", 100});
        ASSERT_TRUE(journal.save(journalRecord(1), kTheory).result.ok());
        EXPECT_EQ(c.failingSave(journal).result.reason, c.reason);
        EXPECT_EQ(readFile(kAnalysisFile), recordBytes(1));
        EXPECT_EQ(visitRotations(journal), (std::vector<int32_t>{1}));
        ASSERT_TRUE(journal.save(journalRecord(2), kTheory).result.ok());
        EXPECT_EQ(fileRotations(), (std::vector<int32_t>{1, 2}));
        Journal restarted;
        EXPECT_EQ(visitRotations(restarted), (std::vector<int32_t>{1, 2}));
        EXPECT_EQ(integrity(), "ok");
    }
}

TEST(Journal, FilesThatCannotBeUsed) {
    struct Case {
        const char *name;
        void (*make)();
        std::string reason;
        std::vector<std::string> after;
    } cases[] = {
        {"bunseki.txt is a directory",
         [] { std::filesystem::create_directory(kAnalysisFile); },
         "bunseki.txt を読み込めませんでした。同じ名前のフォルダーがあります。",
         {kAnalysisFile, kJournalFile}},
        {"zenbalo.db is a directory",
         [] { std::filesystem::create_directory(kJournalFile); },
         "zenbalo.db を開けませんでした。",
         {kJournalFile}},
        {"zenbalo.db of a newer program",
         [] { otherProgram("CREATE TABLE v (x); PRAGMA user_version = 99;"); },
         "zenbalo.db はこのプログラムより新しい版の Zenbalo で作られています。",
         {kJournalFile}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempWorkDir dir;
        c.make();
        Journal journal;
        const SyncReport report = journal.save(journalRecord(1), kTheory);
        EXPECT_EQ(report.result.reason.substr(0, c.reason.size()), c.reason);
        EXPECT_EQ(testing::directoryEntries(), c.after) << "nothing written, nothing kept aside";
        EXPECT_TRUE(journal.keptDamaged().empty());
    }
}

// A journal of the first version gains the settings table at its opening and
// keeps its visits and where its reading of bunseki.txt stopped.
TEST(Journal, SettingsInAJournalOfTheFirstVersion) {
    TempWorkDir dir;
    writeFile(kAnalysisFile, recordBytes(1) + recordBytes(2));
    ASSERT_TRUE(Journal().sync().result.ok());
    otherProgram("DROP TABLE setting; PRAGMA user_version = 1;");

    Journal journal;
    const SettingValue none = journal.setting("size");
    ASSERT_TRUE(none.result.ok()) << none.result.reason;
    EXPECT_EQ(none.value, std::nullopt);
    EXPECT_TRUE(journal.keptDamaged().empty());
    EXPECT_EQ(otherProgram("PRAGMA user_version"), "2");
    ASSERT_TRUE(journal.storeSetting("size", "800x600").ok());
    ASSERT_TRUE(journal.storeSetting("size", "640x480").ok());
    EXPECT_EQ(Journal().setting("size").value, "640x480");
    EXPECT_EQ(Journal().setting("other").value, std::nullopt);

    appendToFile(recordBytes(3));
    EXPECT_EQ(journal.sync().imported, 1);
    EXPECT_EQ(visitRotations(journal), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(integrity(), "ok");
}

// Kept under a name of its own, the damaged file is the player's to look
// at; the journal is built anew from bunseki.txt.
TEST(Journal, DamagedDatabaseIsKeptAndRebuilt) {
    struct Case {
        const char *name;
        std::string (*damage)(); // returns what must be kept
    } cases[] = {
        {"not a database",
         [] {
             const std::string garbage = "これはデータベースではありません" + std::string(5000, 'x');
             writeFile(kJournalFile, garbage);
             return garbage;
         }},
        {"cut short",
         [] {
             Journal full;
             EXPECT_TRUE(full.sync().result.ok());
             const auto size = std::filesystem::file_size(kJournalFile);
             std::filesystem::resize_file(kJournalFile, size / 2);
             return readFile(kJournalFile);
         }},
        {"someone else's database",
         [] {
             otherProgram("CREATE TABLE notes (text); INSERT INTO notes VALUES ('mine');");
             return readFile(kJournalFile);
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempWorkDir dir;
        std::string many;
        for (int k = 1; k <= 300; ++k)
            many += recordBytes(k);
        writeFile(kAnalysisFile, many);
        const std::string kept = c.damage();
        Journal journal;
        ASSERT_TRUE(journal.open().ok());
        ASSERT_FALSE(journal.keptDamaged().empty());
        EXPECT_EQ(journal.keptDamaged().rfind("zenbalo.db.damaged-", 0), 0u);
        EXPECT_EQ(readFile(journal.keptDamaged()), kept);
        const SyncReport report = journal.sync();
        EXPECT_EQ(report.imported, 300);
        EXPECT_EQ(visitRotations(journal).size(), 300u);
        EXPECT_EQ(integrity(), "ok");
    }
}

// A directory the player may not write to, as a user other than root.
TEST(Journal, UnwritableDirectory) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to become another user";
    TempWorkDir dir;
    writeFile(kAnalysisFile, recordBytes(1));
    std::filesystem::permissions(".", std::filesystem::perms(0755));
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        std::string out = "setuid";
        if (::setgid(65534) == 0 && ::setuid(65534) == 0) {
            Journal journal;
            out = journal.sync().result.reason + "\n" + journal.save(journalRecord(2), kTheory).result.reason;
        }
        // A short write shows as a wrong reason in the parent.
        ::_exit(::write(pipeEnds[1], out.data(), out.size()) == static_cast<ssize_t>(out.size()) ? 0 : 1);
    }
    ::close(pipeEnds[1]);
    std::string got;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        got.append(buffer, static_cast<size_t>(n));
    ::close(pipeEnds[0]);
    ::waitpid(child, nullptr, 0);
    if (got == "setuid")
        GTEST_SKIP() << "cannot become another user here";
    const std::string reason = "zenbalo.db を開けませんでした。書き込む権限がありません。";
    EXPECT_EQ(got, reason + "\n" + reason);
    EXPECT_EQ(readFile(kAnalysisFile), recordBytes(1));
    EXPECT_FALSE(std::filesystem::exists(kJournalFile));
}

// A program killed at any moment of its saves leaves a database that passes
// its check and, once read again, holds exactly the records of bunseki.txt.
TEST(Journal, KilledWhileSaving) {
    TempWorkDir dir;
    std::mt19937 random(20240501);
    std::uniform_int_distribution<int> delay(0, 40000);
    for (int round = 0; round < 40; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            Journal journal;
            for (int n = round * 100000 + 1;; ++n)
                journal.save(journalRecord(n), kTheory);
        }
        ::usleep(static_cast<useconds_t>(delay(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        ASSERT_EQ(integrity(), "ok") << "round " << round;
        Journal journal;
        ASSERT_TRUE(journal.sync().result.ok());
        ASSERT_EQ(visitRotations(journal), fileRotations()) << "round " << round;
    }
    EXPECT_GE(fileRotations().size(), 5u) << "the saves ran";
}

} // namespace
} // namespace zenbalo
