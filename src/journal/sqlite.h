// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sqlite3.h>

#include <cerrno>
#include <cstdint>
#include <string>
#include <string_view>

namespace zenbalo::sql {

// The outcome of a call: SQLite's extended result code and, when the
// operating system refused something, its error number.
struct Status {
    int code = SQLITE_OK;
    int systemError = 0;

    bool ok() const { return code == SQLITE_OK || code == SQLITE_ROW || code == SQLITE_DONE; }
    int primary() const { return code & 0xFF; }
    bool busy() const { return primary() == SQLITE_BUSY || primary() == SQLITE_LOCKED; }
    bool damaged() const { return primary() == SQLITE_CORRUPT || primary() == SQLITE_NOTADB; }
};

class Statement;

// The system's libsqlite3 is loaded at the first opening of a connection,
// not with the program: linked, it cost every start its loading and some
// 400 KiB of memory, for a journal the player may not open. A system without
// it opens no connection: SQLITE_CANTOPEN with kNoLibrary as system error.
inline constexpr int kNoLibrary = ELIBACC;
inline constexpr const char *kLibraryName = "libsqlite3.so.0";

// One connection; closed when it goes.
class Connection {
public:
    Connection() = default;
    ~Connection() { close(); }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // Opens for reading and writing, creating the file when missing; a
    // locked database is waited for up to `busyTimeoutMs`.
    Status open(const std::string &file, int busyTimeoutMs);
    void close();
    bool isOpen() const { return db_ != nullptr; }

    // Statements without results, one after another.
    Status exec(const char *sql);
    Status prepare(const char *sql, Statement &statement);
    // Prepares only a statement not prepared yet, to be run many times.
    Status keep(const char *sql, Statement &statement);
    int64_t lastInsertId() const;

private:
    friend class Statement;
    Status status(int code) const;

    sqlite3 *db_ = nullptr;
};

// A prepared statement; finalized when it goes.
class Statement {
public:
    Statement() = default;
    ~Statement() { finalize(); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    bool prepared() const { return stmt_ != nullptr; }
    void finalize();

    // Parameters count from 1.
    Statement &bind(int index, int64_t value);
    Statement &bind(int index, double value);
    Statement &bind(int index, std::string_view text);
    Statement &bindNull(int index);

    // SQLITE_ROW while rows come, then SQLITE_DONE, or the failure.
    Status step();
    // Ready to run again, with the parameters kept.
    void reset();

    // Columns count from 0.
    int64_t integer(int column) const;
    double real(int column) const;
    std::string text(int column) const;
    bool isNull(int column) const;

private:
    friend class Connection;
    sqlite3_stmt *stmt_ = nullptr;
    const Connection *connection_ = nullptr;
};

// A transaction that is rolled back unless it was committed.
class Transaction {
public:
    explicit Transaction(Connection &db) : db_(db) {}
    ~Transaction() { rollback(); }
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    // IMMEDIATE takes the write lock at once, so that what is read inside
    // cannot change before the transaction writes.
    Status begin();
    Status commit();
    void rollback();

private:
    Connection &db_;
    bool active_ = false;
};

} // namespace zenbalo::sql
