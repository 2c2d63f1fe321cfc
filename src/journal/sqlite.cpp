// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/sqlite.h"

#include <dlfcn.h>

namespace zenbalo::sql {

namespace {

// The functions of libsqlite3 this layer calls, found when it is loaded.
struct Api {
    decltype(&sqlite3_open_v2) open_v2 = nullptr;
    decltype(&sqlite3_busy_timeout) busy_timeout = nullptr;
    decltype(&sqlite3_close_v2) close_v2 = nullptr;
    decltype(&sqlite3_exec) exec = nullptr;
    decltype(&sqlite3_prepare_v3) prepare_v3 = nullptr;
    decltype(&sqlite3_extended_errcode) extended_errcode = nullptr;
    decltype(&sqlite3_system_errno) system_errno = nullptr;
    decltype(&sqlite3_last_insert_rowid) last_insert_rowid = nullptr;
    decltype(&sqlite3_finalize) finalize = nullptr;
    decltype(&sqlite3_reset) reset = nullptr;
    decltype(&sqlite3_bind_int64) bind_int64 = nullptr;
    decltype(&sqlite3_bind_double) bind_double = nullptr;
    decltype(&sqlite3_bind_text64) bind_text64 = nullptr;
    decltype(&sqlite3_bind_null) bind_null = nullptr;
    decltype(&sqlite3_step) step = nullptr;
    decltype(&sqlite3_column_int64) column_int64 = nullptr;
    decltype(&sqlite3_column_double) column_double = nullptr;
    decltype(&sqlite3_column_text) column_text = nullptr;
    decltype(&sqlite3_column_bytes) column_bytes = nullptr;
    decltype(&sqlite3_column_type) column_type = nullptr;
};

template <typename Function> bool find(void *handle, const char *name, Function &function) {
    function = reinterpret_cast<Function>(::dlsym(handle, name));
    return function != nullptr;
}

Api loadApi(bool &complete) {
    Api f;
    void *handle = ::dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
    complete = handle && find(handle, "sqlite3_open_v2", f.open_v2) &&
               find(handle, "sqlite3_busy_timeout", f.busy_timeout) && find(handle, "sqlite3_close_v2", f.close_v2) &&
               find(handle, "sqlite3_exec", f.exec) && find(handle, "sqlite3_prepare_v3", f.prepare_v3) &&
               find(handle, "sqlite3_extended_errcode", f.extended_errcode) &&
               find(handle, "sqlite3_system_errno", f.system_errno) &&
               find(handle, "sqlite3_last_insert_rowid", f.last_insert_rowid) &&
               find(handle, "sqlite3_finalize", f.finalize) && find(handle, "sqlite3_reset", f.reset) &&
               find(handle, "sqlite3_bind_int64", f.bind_int64) && find(handle, "sqlite3_bind_double", f.bind_double) &&
               find(handle, "sqlite3_bind_text64", f.bind_text64) && find(handle, "sqlite3_bind_null", f.bind_null) &&
               find(handle, "sqlite3_step", f.step) && find(handle, "sqlite3_column_int64", f.column_int64) &&
               find(handle, "sqlite3_column_double", f.column_double) &&
               find(handle, "sqlite3_column_text", f.column_text) &&
               find(handle, "sqlite3_column_bytes", f.column_bytes) &&
               find(handle, "sqlite3_column_type", f.column_type);
    return f;
}

// Null until a connection is opened; stays loaded for the program's life.
const Api *api = nullptr;

const Api *load() {
    static bool complete = false;
    static const Api loaded = loadApi(complete);
    api = complete ? &loaded : nullptr;
    return api;
}

} // namespace

Status Connection::open(const std::string &file, int busyTimeoutMs) {
    close();
    if (!load())
        return {SQLITE_CANTOPEN, kNoLibrary};
    const int code = api->open_v2(file.c_str(), &db_,
                                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXRESCODE, nullptr);
    const Status opened = db_ ? status(code) : Status{code, 0};
    if (!opened.ok()) {
        close();
        return opened;
    }
    api->busy_timeout(db_, busyTimeoutMs);
    return opened;
}

void Connection::close() {
    // Statements are finalized by their owners first; v2 copes if one is not.
    if (db_)
        api->close_v2(db_);
    db_ = nullptr;
}

Status Connection::exec(const char *sql) { return status(api->exec(db_, sql, nullptr, nullptr, nullptr)); }

Status Connection::prepare(const char *sql, Statement &statement) {
    statement.finalize();
    statement.connection_ = this;
    return status(api->prepare_v3(db_, sql, -1, 0, &statement.stmt_, nullptr));
}

Status Connection::keep(const char *sql, Statement &statement) {
    if (statement.prepared()) {
        statement.reset();
        return {};
    }
    statement.connection_ = this;
    return status(api->prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement.stmt_, nullptr));
}

int64_t Connection::lastInsertId() const { return api->last_insert_rowid(db_); }

Status Connection::status(int code) const {
    if (code == SQLITE_OK || code == SQLITE_ROW || code == SQLITE_DONE)
        return {code, 0};
    return {api->extended_errcode(db_), api->system_errno(db_)};
}

void Statement::finalize() {
    if (stmt_)
        api->finalize(stmt_);
    stmt_ = nullptr;
}

void Statement::reset() {
    if (stmt_)
        api->reset(stmt_);
}

Statement &Statement::bind(int index, int64_t value) {
    api->bind_int64(stmt_, index, value);
    return *this;
}

Statement &Statement::bind(int index, double value) {
    api->bind_double(stmt_, index, value);
    return *this;
}

Statement &Statement::bind(int index, std::string_view text) {
    api->bind_text64(stmt_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
    return *this;
}

Statement &Statement::bindNull(int index) {
    api->bind_null(stmt_, index);
    return *this;
}

Status Statement::step() {
    const int code = api->step(stmt_);
    return connection_->status(code);
}

int64_t Statement::integer(int column) const { return api->column_int64(stmt_, column); }

double Statement::real(int column) const { return api->column_double(stmt_, column); }

bool Statement::isNull(int column) const { return api->column_type(stmt_, column) == SQLITE_NULL; }

std::string Statement::text(int column) const {
    const auto *bytes = api->column_text(stmt_, column);
    const int size = api->column_bytes(stmt_, column);
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
