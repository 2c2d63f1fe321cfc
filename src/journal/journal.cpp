// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/journal.h"

#include "common/file_io.h"
#include "journal/record_date.h"
#include "journal/record_reader.h"
#include "journal/sqlite.h"

#include <cerrno>
#include <cmath>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace zenbalo {

namespace {

constexpr int64_t kSchemaVersion = 2;
// The bytes before the settled place that must be unchanged for a reading
// to go on from there.
constexpr uint64_t kCheckedEnd = 4096;

constexpr const char *kSchema = R"(
CREATE TABLE visit (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    date TEXT,
    parlour TEXT NOT NULL,
    machine TEXT NOT NULL,
    payout INTEGER NOT NULL,
    yen_per_ball TEXT NOT NULL,
    rotations INTEGER NOT NULL,
    hits INTEGER NOT NULL,
    exchanged_balls INTEGER NOT NULL,
    invested_yen INTEGER NOT NULL,
    real_balance INTEGER NOT NULL,
    work INTEGER NOT NULL,
    hit_error TEXT NOT NULL,
    luck_index TEXT NOT NULL,
    rotation_rate TEXT NOT NULL,
    big_hit_probability REAL,
    average_chain REAL,
    total_hit_probability REAL
);
CREATE TABLE taken_record (
    hash INTEGER PRIMARY KEY,
    taken INTEGER NOT NULL,
    seen INTEGER NOT NULL
) WITHOUT ROWID;
CREATE TABLE file_scan (
    id INTEGER PRIMARY KEY CHECK (id = 1),
    offset INTEGER NOT NULL,
    records INTEGER NOT NULL,
    skipped INTEGER NOT NULL,
    in_skipped INTEGER NOT NULL,
    end_hash INTEGER NOT NULL,
    device INTEGER NOT NULL,
    inode INTEGER NOT NULL
);
CREATE TABLE setting (
    name TEXT PRIMARY KEY,
    value TEXT NOT NULL
) WITHOUT ROWID;
PRAGMA user_version = 2;
)";

// What takes a journal of version k to version k + 1, at index k - 1.
constexpr const char *kMigrations[] = {
    "CREATE TABLE setting (name TEXT PRIMARY KEY, value TEXT NOT NULL) WITHOUT ROWID; PRAGMA user_version = 2;",
};
static_assert(std::size(kMigrations) == kSchemaVersion - 1);

constexpr const char *kVisitColumns =
    "id, date, parlour, machine, payout, yen_per_ball, rotations, hits, exchanged_balls, invested_yen, "
    "real_balance, work, hit_error, luck_index, rotation_rate, big_hit_probability, average_chain, "
    "total_hit_probability";

const std::string kDatabase = kJournalFile;

std::string systemReason(int error) { return errorReason(WriteResult::fromErrno(error)); }

std::string why(const sql::Status &status) {
    if (status.systemError == sql::kNoLibrary)
        return std::string("SQLite のライブラリ（") + sql::kLibraryName + "）が見つかりません。";
    switch (status.primary()) {
    case SQLITE_FULL:
        return systemReason(ENOSPC);
    case SQLITE_READONLY:
        return systemReason(EACCES);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return "ファイルが壊れています。";
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
        return systemReason(status.systemError != 0 ? status.systemError : EIO);
    default:
        return "データベースのエラーです（コード " + std::to_string(status.code) + "）。";
    }
}

JournalResult databaseFailure(const sql::Status &status, const char *what) {
    if (status.busy())
        return {kDatabase + " はほかのプログラムが使っています。しばらくしてからもう一度試してください。"};
    return {kDatabase + what + why(status)};
}

// SQLite tries the file read-only after a refusal, so its last system error
// may be only that the file does not exist; ask for the rights first.
sql::Status openFailure(sql::Status status) {
    if (status.primary() != SQLITE_CANTOPEN)
        return status;
    const bool exists = fileExists(kDatabase);
    if (::access(exists ? kDatabase.c_str() : ".", exists ? R_OK | W_OK : W_OK | X_OK) != 0)
        status.systemError = errno;
    return status;
}

JournalResult writeFailure(const sql::Status &status) { return databaseFailure(status, " に書き込めませんでした。"); }
JournalResult readFailure(const sql::Status &status) { return databaseFailure(status, " を読み込めませんでした。"); }

JournalResult fileFailure(const char *what, const WriteResult &result) {
    return {std::string(kAnalysisFile) + what + errorReason(result)};
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// The hash of the bytes just before `offset`.
uint64_t endHash(int fd, uint64_t offset) {
    char buffer[kCheckedEnd];
    const uint64_t size = std::min(offset, kCheckedEnd);
    const ssize_t n = ::pread(fd, buffer, size, static_cast<off_t>(offset - size));
    return n < 0 ? 0 : hashBytes({buffer, static_cast<size_t>(n)});
}

// Feeds the bytes from `at` to `end`; holes of a sparse file go by without
// being read, so even a file of 40 GB of nothing passes in a moment.
int feedFile(int fd, uint64_t at, uint64_t end, RecordReader &reader) {
    std::string buffer(size_t{1} << 18, '\0');
    while (at < end) {
        off_t data = ::lseek(fd, static_cast<off_t>(at), SEEK_DATA);
        if (data < 0)
            data = errno == ENXIO ? static_cast<off_t>(end) : static_cast<off_t>(at);
        const uint64_t dataAt = std::min(static_cast<uint64_t>(data), end);
        if (dataAt > at) {
            reader.feedZeros(dataAt - at);
            at = dataAt;
            continue;
        }
        const off_t hole = ::lseek(fd, static_cast<off_t>(at), SEEK_HOLE);
        const uint64_t stop = hole < 0 ? end : std::min(std::max(static_cast<uint64_t>(hole), at + 1), end);
        while (at < stop) {
            const ssize_t n =
                ::pread(fd, buffer.data(), std::min<uint64_t>(buffer.size(), stop - at), static_cast<off_t>(at));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return errno;
            if (n == 0)
                return 0; // cut short meanwhile: what was read counts
            reader.feed({buffer.data(), static_cast<size_t>(n)});
            at += static_cast<uint64_t>(n);
        }
    }
    return 0;
}

int64_t asInteger(uint64_t hash) { return static_cast<int64_t>(hash); }

} // namespace

std::optional<VisitTheory> theoryOf(const SharedResults &shared) {
    const double p = shared.hitProbability, total = shared.totalHitProbability;
    if (!(p > 0) || !(total > 0) || !std::isfinite(p) || !std::isfinite(total))
        return std::nullopt;
    return VisitTheory{p, total / p, total};
}

struct Journal::Impl {
    JournalOptions options;
    sql::Connection db;
    // Run once per record of an import.
    sql::Statement insertStatement, countsStatement, storeCountsStatement;
    std::string keptDamaged;

    // How many occurrences of a record are visits, and how many the last
    // reading saw before its settled place.
    struct Counts {
        int64_t taken = 0;
        int64_t seen = 0;
    };

    struct ScanState {
        ReadPosition position;
        uint64_t endHash = 0;
        uint64_t device = 0;
        uint64_t inode = 0;
    };

    enum class Found { Ready, Damaged, Newer, Failed };

    JournalResult open();
    Found connect(sql::Status &status);
    Found prepareSchema(sql::Status &status);
    sql::Status readVersion(int64_t &version, int64_t &objects);
    sql::Status upgrade();
    JournalResult keepDamaged();

    void close() {
        for (sql::Statement *st : {&insertStatement, &countsStatement, &storeCountsStatement})
            st->finalize();
        db.close();
    }

    void syncLocked(SyncReport &report);
    sql::Status loadState(ScanState &state);
    sql::Status storeState(const ScanState &state);
    sql::Status insertVisit(const Visit &visit);
    sql::Status loadCounts(uint64_t hash, Counts &counts);
    sql::Status storeCounts(uint64_t hash, const Counts &counts);

    // A failure that says the database is damaged closes it, so that the
    // next call checks it again and keeps it aside.
    JournalResult failed(const sql::Status &status, JournalResult result) {
        if (status.damaged())
            close();
        return result;
    }
};

sql::Status Journal::Impl::readVersion(int64_t &version, int64_t &objects) {
    sql::Statement st;
    sql::Status status =
        db.prepare("SELECT (SELECT user_version FROM pragma_user_version), count(*) FROM sqlite_schema", st);
    if (status.ok())
        status = st.step();
    if (status.code != SQLITE_ROW)
        return status;
    version = st.integer(0);
    objects = st.integer(1);
    return {};
}

// Creates the tables in an empty database, or takes an older journal to this
// version; in one transaction, so that two programs doing it at once do it once.
sql::Status Journal::Impl::upgrade() {
    sql::Transaction transaction(db);
    int64_t version = 0, objects = 0;
    sql::Status status = transaction.begin();
    if (status.ok())
        status = readVersion(version, objects);
    if (status.ok() && version == 0 && objects == 0)
        status = db.exec(kSchema);
    for (; status.ok() && version > 0 && version < kSchemaVersion; ++version)
        status = db.exec(kMigrations[version - 1]);
    return status.ok() ? transaction.commit() : status;
}

Journal::Impl::Found Journal::Impl::prepareSchema(sql::Status &status) {
    int64_t version = 0, objects = 0;
    if (!(status = readVersion(version, objects)).ok())
        return status.damaged() ? Found::Damaged : Found::Failed;
    if (version > kSchemaVersion)
        return Found::Newer;
    // Someone else's database is no journal; an empty one becomes ours.
    if (version == 0 && objects > 0)
        return Found::Damaged;
    if (version < kSchemaVersion && !(status = upgrade()).ok())
        return status.damaged() ? Found::Damaged : Found::Failed;
    if (version == 0)
        return Found::Ready;
    sql::Statement st;
    status = db.prepare("PRAGMA quick_check", st);
    if (status.ok())
        status = st.step();
    if (status.code == SQLITE_ROW && st.text(0) == "ok") {
        status = {};
        return Found::Ready;
    }
    return status.damaged() || status.code == SQLITE_ROW ? Found::Damaged : Found::Failed;
}

Journal::Impl::Found Journal::Impl::connect(sql::Status &status) {
    status = db.open(kDatabase, options.busyTimeoutMs);
    if (!status.ok())
        return status.damaged() ? Found::Damaged : Found::Failed;
    const Found found = prepareSchema(status);
    if (found == Found::Ready) {
        // A database made elsewhere may keep a write-ahead log; this one must not.
        db.exec("PRAGMA journal_mode = DELETE");
        db.exec("PRAGMA synchronous = FULL");
    }
    if (found != Found::Ready)
        close();
    return found;
}

JournalResult Journal::Impl::keepDamaged() {
    const std::string aside = damagedFileName(kDatabase, std::time(nullptr));
    if (::rename(kDatabase.c_str(), aside.c_str()) != 0)
        return {"壊れた " + kDatabase + " を別の名前で残せませんでした。" + systemReason(errno)};
    // A rollback journal that could not be played back is the damaged
    // file's, and what might yet mend it.
    const std::string journal = kDatabase + "-journal";
    if (fileExists(journal))
        ::rename(journal.c_str(), (aside + "-journal").c_str());
    keptDamaged = aside;
    return {};
}

JournalResult Journal::Impl::open() {
    if (db.isOpen())
        return {};
    sql::Status status;
    Found found = connect(status);
    if (found == Found::Damaged) {
        if (JournalResult kept = keepDamaged(); !kept.ok())
            return kept;
        found = connect(status);
    }
    if (found == Found::Ready)
        return {};
    if (found == Found::Newer)
        return {kDatabase + " はこのプログラムより新しい版の Zenbalo で作られています。"};
    return databaseFailure(openFailure(status), " を開けませんでした。");
}

sql::Status Journal::Impl::loadState(ScanState &state) {
    sql::Statement st;
    sql::Status status =
        db.prepare("SELECT offset, records, skipped, in_skipped, end_hash, device, inode FROM file_scan", st);
    if (status.ok())
        status = st.step();
    if (status.code == SQLITE_ROW) {
        state.position = {static_cast<uint64_t>(st.integer(0)), static_cast<uint64_t>(st.integer(1)),
                          static_cast<uint64_t>(st.integer(2)), st.integer(3) != 0};
        state.endHash = static_cast<uint64_t>(st.integer(4));
        state.device = static_cast<uint64_t>(st.integer(5));
        state.inode = static_cast<uint64_t>(st.integer(6));
        status = {};
    }
    return status;
}

sql::Status Journal::Impl::storeState(const ScanState &state) {
    sql::Statement st;
    sql::Status status = db.prepare("INSERT OR REPLACE INTO file_scan VALUES (1, ?, ?, ?, ?, ?, ?, ?)", st);
    if (!status.ok())
        return status;
    const ReadPosition &p = state.position;
    st.bind(1, static_cast<int64_t>(p.offset))
        .bind(2, static_cast<int64_t>(p.records))
        .bind(3, static_cast<int64_t>(p.skipped))
        .bind(4, int64_t{p.inSkipped})
        .bind(5, asInteger(state.endHash))
        .bind(6, static_cast<int64_t>(state.device))
        .bind(7, static_cast<int64_t>(state.inode));
    return st.step();
}

sql::Status Journal::Impl::insertVisit(const Visit &v) {
    sql::Statement &st = insertStatement;
    sql::Status status = db.keep("INSERT INTO visit (date, parlour, machine, payout, yen_per_ball, rotations, "
                                 "hits, exchanged_balls, invested_yen, real_balance, work, hit_error, luck_index, "
                                 "rotation_rate, big_hit_probability, average_chain, total_hit_probability) "
                                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                                 st);
    if (!status.ok())
        return status;
    if (v.date)
        st.bind(1, isoDate(*v.date));
    else
        st.bindNull(1);
    st.bind(2, v.parlour).bind(3, v.machine).bind(4, int64_t{v.payout}).bind(5, v.yenPerBall);
    st.bind(6, int64_t{v.rotations}).bind(7, int64_t{v.hits}).bind(8, int64_t{v.exchangedBalls});
    st.bind(9, int64_t{v.investedYen}).bind(10, v.realBalance).bind(11, v.work);
    st.bind(12, v.hitError).bind(13, v.luckIndex).bind(14, v.rotationRate);
    if (v.theory) {
        st.bind(15, v.theory->bigHitProbability).bind(16, v.theory->averageChain);
        st.bind(17, v.theory->totalHitProbability);
    } else {
        st.bindNull(15).bindNull(16).bindNull(17);
    }
    return st.step();
}

sql::Status Journal::Impl::loadCounts(uint64_t hash, Counts &counts) {
    sql::Status status = db.keep("SELECT taken, seen FROM taken_record WHERE hash = ?", countsStatement);
    if (!status.ok())
        return status;
    countsStatement.bind(1, asInteger(hash));
    status = countsStatement.step();
    counts = status.code == SQLITE_ROW ? Counts{countsStatement.integer(0), countsStatement.integer(1)} : Counts{};
    // A statement left on its row would hold the database's read lock.
    countsStatement.reset();
    return status.code == SQLITE_ROW ? sql::Status{} : status;
}

sql::Status Journal::Impl::storeCounts(uint64_t hash, const Counts &counts) {
    sql::Status status = db.keep("INSERT OR REPLACE INTO taken_record VALUES (?, ?, ?)", storeCountsStatement);
    if (!status.ok())
        return status;
    storeCountsStatement.bind(1, asInteger(hash)).bind(2, counts.taken).bind(3, counts.seen);
    return storeCountsStatement.step();
}

void Journal::Impl::syncLocked(SyncReport &report) {
    ScanState state;
    sql::Status status = loadState(state);
    if (!status.ok()) {
        report.result = failed(status, readFailure(status));
        return;
    }
    const FileDescriptor file(::open(kAnalysisFile, O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0) {
        // No file yet: nothing to take, and nothing to forget.
        if (errno != ENOENT)
            report.result = fileFailure(" を読み込めませんでした。", WriteResult::fromErrno(errno));
        return;
    }
    struct stat st;
    if (::fstat(file.get(), &st) != 0) {
        report.result = fileFailure(" を読み込めませんでした。", WriteResult::fromErrno(errno));
        return;
    }
    if (!S_ISREG(st.st_mode)) {
        report.result = fileFailure(" を読み込めませんでした。", WriteResult::fromErrno(S_ISDIR(st.st_mode) ? EISDIR : EINVAL));
        return;
    }
    const uint64_t size = static_cast<uint64_t>(st.st_size);
    const bool grown = state.device == static_cast<uint64_t>(st.st_dev) &&
                       state.inode == static_cast<uint64_t>(st.st_ino) && size >= state.position.offset &&
                       endHash(file.get(), state.position.offset) == state.endHash;
    ReadPosition from;
    if (grown)
        from = state.position;
    else if (!(status = db.exec("UPDATE taken_record SET seen = 0")).ok()) {
        report.result = failed(status, writeFailure(status));
        return;
    }

    std::unordered_map<uint64_t, Counts> counts;
    auto take = [&](const FileRecord &record) {
        if (!status.ok())
            return;
        auto [entry, fresh] = counts.try_emplace(record.hash);
        if (fresh)
            status = loadCounts(record.hash, entry->second);
        Counts &c = entry->second;
        if (status.ok() && ++c.seen > c.taken) {
            status = insertVisit(record.visit);
            c.taken = c.seen;
            ++report.imported;
        }
    };
    RecordReader reader(options.datePattern, take, from);
    if (const int error = feedFile(file.get(), from.offset, size, reader); error != 0) {
        report.result = fileFailure(" を読み込めませんでした。", WriteResult::fromErrno(error));
        return;
    }
    reader.finish();
    if (status.ok() && reader.records() == 0)
        status = db.exec("DELETE FROM taken_record");
    for (auto it = counts.begin(); status.ok() && reader.records() > 0 && it != counts.end(); ++it)
        status = storeCounts(it->first, it->second);
    const ScanState now{reader.settled(), endHash(file.get(), reader.settled().offset),
                        static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
    if (status.ok() && (now.position != state.position || now.endHash != state.endHash || now.device != state.device ||
                        now.inode != state.inode))
        status = storeState(now);
    if (!status.ok())
        report.result = failed(status, writeFailure(status));
    report.skipped = static_cast<int64_t>(reader.skipped());
}

Journal::Journal(JournalOptions options) : impl_(std::make_unique<Impl>()) { impl_->options = std::move(options); }

Journal::~Journal() = default;

JournalResult Journal::open() { return impl_->open(); }

const std::string &Journal::keptDamaged() const { return impl_->keptDamaged; }

SyncReport Journal::sync() {
    SyncReport report;
    if (!(report.result = impl_->open()).ok())
        return report;
    sql::Transaction transaction(impl_->db);
    if (const sql::Status begun = transaction.begin(); !begun.ok()) {
        report.result = impl_->failed(begun, writeFailure(begun));
        return report;
    }
    impl_->syncLocked(report);
    if (!report.result.ok())
        return report;
    if (const sql::Status committed = transaction.commit(); !committed.ok()) {
        report.result = impl_->failed(committed, writeFailure(committed));
        report.imported = 0;
    }
    return report;
}

SyncReport Journal::save(const AnalysisRecord &record, const std::optional<VisitTheory> &theory) {
    SyncReport report;
    // What the import took is rolled back with the save.
    auto failure = [&report](JournalResult reason) {
        report.result = std::move(reason);
        report.imported = 0;
        return report;
    };
    if (JournalResult opened = impl_->open(); !opened.ok())
        return failure(opened);
    sql::Transaction transaction(impl_->db);
    sql::Status status = transaction.begin();
    if (!status.ok())
        return failure(impl_->failed(status, writeFailure(status)));
    impl_->syncLocked(report);
    if (!report.result.ok())
        return failure(report.result);
    // Read back as an import would read it, so that the visit is what a
    // journal rebuilt from the file would hold.
    const RecordScan own = readRecords(analysisRecordBytes(record), impl_->options.datePattern);
    if (own.records.size() != 1 || own.skipped != 0)
        return failure({"この分析データは記録の形になりません。"});
    Visit visit = own.records[0].visit;
    visit.theory = theory;
    Impl::Counts counts;
    if ((status = impl_->insertVisit(visit)).ok() && (status = impl_->loadCounts(own.records[0].hash, counts)).ok()) {
        ++counts.taken;
        status = impl_->storeCounts(own.records[0].hash, counts);
    }
    if (!status.ok())
        return failure(impl_->failed(status, writeFailure(status)));
    RecordPlace place;
    if (const WriteResult appended = appendAnalysisRecord(record, &place); !appended.ok())
        return failure(fileFailure(" に書き込めませんでした。", appended));
    // Should the record not come off again, it stays saved in the file, and
    // the next reading takes it: saving once more would double it.
    if (const sql::Status committed = transaction.commit(); !committed.ok() && cutAnalysisRecord(place).ok())
        return failure(impl_->failed(committed, writeFailure(committed)));
    return report;
}

VisitList Journal::visits(const VisitFilter &filter) {
    VisitList list;
    if (!(list.result = impl_->open()).ok())
        return list;
    const std::string sql = std::string("SELECT ") + kVisitColumns +
                            " FROM visit WHERE (?1 = '' OR parlour = ?1) AND (?2 = '' OR machine = ?2) "
                            "AND (?3 IS NULL OR date >= ?3) AND (?4 IS NULL OR date <= ?4) ORDER BY id";
    sql::Statement st;
    sql::Status status = impl_->db.prepare(sql.c_str(), st);
    if (status.ok()) {
        st.bind(1, filter.parlour).bind(2, filter.machine);
        if (filter.from)
            st.bind(3, isoDate(*filter.from));
        if (filter.to)
            st.bind(4, isoDate(*filter.to));
        while ((status = st.step()).code == SQLITE_ROW) {
            Visit v;
            v.id = st.integer(0);
            v.date = st.isNull(1) ? std::nullopt : parseIsoDate(st.text(1));
            v.parlour = st.text(2);
            v.machine = st.text(3);
            v.payout = static_cast<int32_t>(st.integer(4));
            v.yenPerBall = st.text(5);
            v.rotations = static_cast<int32_t>(st.integer(6));
            v.hits = static_cast<int32_t>(st.integer(7));
            v.exchangedBalls = static_cast<int32_t>(st.integer(8));
            v.investedYen = static_cast<int32_t>(st.integer(9));
            v.realBalance = st.integer(10);
            v.work = st.integer(11);
            v.hitError = st.text(12);
            v.luckIndex = st.text(13);
            v.rotationRate = st.text(14);
            if (!st.isNull(15) && !st.isNull(16) && !st.isNull(17))
                v.theory = VisitTheory{st.real(15), st.real(16), st.real(17)};
            list.visits.push_back(std::move(v));
        }
    }
    if (!status.ok()) {
        list.result = impl_->failed(status, readFailure(status));
        list.visits.clear();
    }
    return list;
}

NameLists Journal::names() {
    NameLists lists;
    if (!(lists.result = impl_->open()).ok())
        return lists;
    sql::Status status;
    for (auto [column, out] : {std::pair{"parlour", &lists.parlours}, std::pair{"machine", &lists.machines}}) {
        const std::string sql = std::string("SELECT DISTINCT ") + column + " FROM visit ORDER BY 1";
        sql::Statement st;
        if (!(status = impl_->db.prepare(sql.c_str(), st)).ok())
            break;
        while ((status = st.step()).code == SQLITE_ROW)
            out->push_back(st.text(0));
        if (!status.ok())
            break;
    }
    if (!status.ok()) {
        lists = {impl_->failed(status, readFailure(status)), {}, {}};
    }
    return lists;
}

JournalResult Journal::deleteVisits(const std::vector<int64_t> &ids) {
    if (JournalResult opened = impl_->open(); !opened.ok())
        return opened;
    sql::Transaction transaction(impl_->db);
    sql::Status status = transaction.begin();
    sql::Statement st;
    if (status.ok())
        status = impl_->db.prepare("DELETE FROM visit WHERE id = ?", st);
    for (size_t k = 0; status.ok() && k < ids.size(); ++k) {
        st.reset();
        st.bind(1, ids[k]);
        status = st.step();
    }
    if (status.ok())
        status = transaction.commit();
    return status.ok() ? JournalResult{} : impl_->failed(status, writeFailure(status));
}

SettingValue Journal::setting(const std::string &name) {
    SettingValue setting;
    if (!(setting.result = impl_->open()).ok())
        return setting;
    sql::Statement st;
    sql::Status status = impl_->db.prepare("SELECT value FROM setting WHERE name = ?", st);
    if (status.ok()) {
        st.bind(1, name);
        status = st.step();
    }
    if (status.code == SQLITE_ROW)
        setting.value = st.text(0);
    else if (!status.ok())
        setting.result = impl_->failed(status, readFailure(status));
    return setting;
}

JournalResult Journal::storeSetting(const std::string &name, const std::string &value) {
    if (JournalResult opened = impl_->open(); !opened.ok())
        return opened;
    sql::Statement st;
    sql::Status status = impl_->db.prepare("INSERT OR REPLACE INTO setting VALUES (?, ?)", st);
    if (status.ok()) {
        st.bind(1, name).bind(2, value);
        status = st.step();
    }
    return status.ok() ? JournalResult{} : impl_->failed(status, writeFailure(status));
}

} // namespace zenbalo
