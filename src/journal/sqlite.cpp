// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/sqlite.h"

namespace zenbalo::sql {

Status Connection::open(const std::string &file, int busyTimeoutMs) {
    close();
    const int code = sqlite3_open_v2(file.c_str(), &db_,
                                     SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXRESCODE, nullptr);
    const Status opened = db_ ? status(code) : Status{code, 0};
    if (!opened.ok()) {
        close();
        return opened;
    }
    sqlite3_busy_timeout(db_, busyTimeoutMs);
    return opened;
}

void Connection::close() {
    // Statements are finalized by their owners first; v2 copes if one is not.
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

Status Connection::exec(const char *sql) { return status(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr)); }

Status Connection::prepare(const char *sql, Statement &statement) {
    statement.finalize();
    statement.connection_ = this;
    return status(sqlite3_prepare_v3(db_, sql, -1, 0, &statement.stmt_, nullptr));
}

Status Connection::keep(const char *sql, Statement &statement) {
    if (statement.prepared()) {
        statement.reset();
        return {};
    }
    statement.connection_ = this;
    return status(sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement.stmt_, nullptr));
}

Status Connection::status(int code) const {
    if (code == SQLITE_OK || code == SQLITE_ROW || code == SQLITE_DONE)
        return {code, 0};
    return {sqlite3_extended_errcode(db_), sqlite3_system_errno(db_)};
}

void Statement::finalize() {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
}

Statement &Statement::bind(int index, int64_t value) {
    sqlite3_bind_int64(stmt_, index, value);
    return *this;
}

Statement &Statement::bind(int index, double value) {
    sqlite3_bind_double(stmt_, index, value);
    return *this;
}

Statement &Statement::bind(int index, std::string_view text) {
    sqlite3_bind_text64(stmt_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
    return *this;
}

Statement &Statement::bindNull(int index) {
    sqlite3_bind_null(stmt_, index);
    return *this;
}

Status Statement::step() {
    const int code = sqlite3_step(stmt_);
    return connection_->status(code);
}

std::string Statement::text(int column) const {
    const auto *bytes = sqlite3_column_text(stmt_, column);
    const int size = sqlite3_column_bytes(stmt_, column);
    return bytes ? std::string(reinterpret_cast<const char *>(bytes), static_cast<size_t>(size)) : std::string();
}

Status Transaction::begin() {
    const Status begun = db_.exec("BEGIN IMMEDIATE");
    active_ = begun.ok();
    return begun;
}

Status Transaction::commit() {
    const Status committed = db_.exec("COMMIT");
    // A failed COMMIT leaves the transaction open; the destructor rolls it back.
    if (committed.ok())
        active_ = false;
    return committed;
}

void Transaction::rollback() {
    if (active_)
        db_.exec("ROLLBACK");
    active_ = false;
}

} // namespace zenbalo::sql
