#include "ledgerengine/Sqlite.h"

#include <sqlite3.h>

#include "platform/OwnFiles.h"

namespace pv14::ledger {
namespace {

constexpr int kBusyTimeoutMs = 5000;  // a load in another process holds the lock briefly

// SQLite lays out memory it may never use: its page cache room for a number
// of pages at the first read (a reader's pages come from the mapped file),
// and each connection its lookaside whole when it opens (a run prepares a
// few dozen statements). A short run would only pay for touching it.
void ConfigureSqliteOnce() {
  static const bool configured = [] {
    sqlite3_config(SQLITE_CONFIG_PAGECACHE, nullptr, 0, 0);
    sqlite3_config(SQLITE_CONFIG_LOOKASIDE, 256, 32);
    return true;
  }();
  static_cast<void>(configured);
}

[[noreturn]] void Throw(sqlite3* db, const std::string& what) {
  if (db == nullptr) throw StoreError(what + ": out of memory", SQLITE_NOMEM);
  throw StoreError(what + ": " + sqlite3_errmsg(db), sqlite3_extended_errcode(db));
}

// The start of a statement for a message of one short line; SQLite's own
// words after it name the table or column.
std::string Quoted(std::string_view sql) {
  constexpr std::size_t kShown = 60;
  return "\"" + std::string(sql.substr(0, kShown)) + (sql.size() > kShown ? "...\"" : "\"");
}

}  // namespace

Statement::Statement(sqlite3* db, std::string_view sql) : db_(db) {
  if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) !=
      SQLITE_OK) {
    Throw(db, "cannot prepare " + Quoted(sql));
  }
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

bool Statement::Step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  Throw(db_, "cannot run " + Quoted(sqlite3_sql(stmt_)));
}

void Statement::Reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

void Statement::Bind(int index, std::int64_t value) {
  if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) Throw(db_, "cannot bind");
}

void Statement::BindBlob(int index, std::string_view bytes) {
  // An empty text is stored as an empty blob, never as NULL.
  static const char kEmpty = 0;
  const char* data = bytes.empty() ? &kEmpty : bytes.data();
  if (sqlite3_bind_blob64(stmt_, index, data, bytes.size(), SQLITE_TRANSIENT) != SQLITE_OK) {
    Throw(db_, "cannot bind");
  }
}

std::int64_t Statement::Int(int column) const { return sqlite3_column_int64(stmt_, column); }

std::string_view Statement::Blob(int column) const {
  const void* data = sqlite3_column_blob(stmt_, column);
  const int size = sqlite3_column_bytes(stmt_, column);
  if (data == nullptr || size <= 0) return {};
  return std::string_view(static_cast<const char*>(data), static_cast<std::size_t>(size));
}

StatementHandle::StatementHandle(Statement& statement, bool& lent)
    : statement_(&statement), lent_(&lent) {
  lent = true;
}

StatementHandle::StatementHandle(std::unique_ptr<Statement> own)
    : own_(std::move(own)), statement_(own_.get()) {}

StatementHandle::StatementHandle(StatementHandle&& other) noexcept
    : own_(std::move(other.own_)), statement_(other.statement_), lent_(other.lent_) {
  other.lent_ = nullptr;  // the moved-from one gives nothing back
}

StatementHandle::~StatementHandle() {
  if (lent_ == nullptr) return;
  statement_->Reset();
  *lent_ = false;
}

Database::Database(const std::string& path, Mode mode) {
  ConfigureSqliteOnce();
  // A connection is used by one thread at a time: no mutex on every call.
  const int flags = SQLITE_OPEN_NOMUTEX |
                    (mode == Mode::kReadExisting ? SQLITE_OPEN_READWRITE
                                                 : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  if (const int rc = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr); rc != SQLITE_OK) {
    std::string message =
        "cannot open " + path + ": " + (db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory");
    sqlite3_close(db_);
    db_ = nullptr;
    throw StoreError(message, rc);
  }
  // The store and its journals are never a report's target (a temporary or
  // in-memory database has no name of its own).
  if (!path.empty() && path != ":memory:") {
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) NoteOwnFile(path + suffix);
  }
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  sqlite3_extended_result_codes(db_, 1);
  // A reader maps the file instead of copying every page it reads into
  // memory of its own; its read transaction keeps writers off the mapped
  // pages.
  if (mode == Mode::kReadExisting &&
      sqlite3_exec(db_, "PRAGMA query_only = 1; PRAGMA mmap_size = 268435456", nullptr, nullptr,
                   nullptr) != SQLITE_OK) {
    sqlite3_close(db_);
    db_ = nullptr;
    throw StoreError("cannot open " + path + " for reading only");
  }
}

Database::~Database() {
  cache_.clear();  // a connection with statements left does not close
  sqlite3_close(db_);
}

void Database::Exec(const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::string message = error != nullptr ? error : sqlite3_errmsg(db_);
    sqlite3_free(error);
    throw StoreError("cannot run \"" + sql.substr(0, 60) + "\": " + message,
                     sqlite3_extended_errcode(db_));
  }
}

std::unique_ptr<Statement> Database::Prepare(std::string_view sql) {
  return std::make_unique<Statement>(db_, sql);
}

StatementHandle Database::Cached(const std::string& sql) {
  Kept& kept = cache_[sql];
  if (kept.statement == nullptr) kept.statement = Prepare(sql);
  if (kept.lent) return StatementHandle(Prepare(sql));  // in use further up: one of its own
  return StatementHandle(*kept.statement, kept.lent);
}

std::int64_t Database::QueryInt(const std::string& sql) {
  Statement statement(db_, sql);
  if (!statement.Step()) throw StoreError("no result for \"" + sql + "\"");
  return statement.Int(0);
}

Transaction::Transaction(Database& db) : db_(db) { db_.Exec("BEGIN IMMEDIATE"); }

Transaction::~Transaction() {
  if (!open_) return;
  try {
    db_.Exec("ROLLBACK");
  } catch (const StoreError&) {
    // SQLite has already rolled back after the error that brought us here.
  }
}

void Transaction::Commit() {
  db_.Exec("COMMIT");
  open_ = false;
}

}  // namespace pv14::ledger
