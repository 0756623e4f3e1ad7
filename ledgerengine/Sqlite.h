// A thin owner of SQLite's C API: a connection and its prepared statements.
// Errors become StoreError, caught at the edges (the tool, the API calls).
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace pv14::ledger {

class StoreError : public std::runtime_error {
 public:
  explicit StoreError(const std::string& what, int code = 0)
      : std::runtime_error(what), code_(code) {}
  // SQLite's extended result code; 0 when the error is not SQLite's.
  int code() const { return code_; }

 private:
  int code_;
};

class Statement {
 public:
  Statement(sqlite3* db, std::string_view sql);
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement();

  // True when a row is ready to read; false when the statement is done.
  bool Step();
  // Makes the statement ready to run again with new bindings.
  void Reset();

  void Bind(int index, std::int64_t value);  // 1-based
  void BindBlob(int index, std::string_view bytes);
  std::int64_t Int(int column) const;  // 0-based
  std::string_view Blob(int column) const;

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

// A statement for one use: either one of a connection's kept statements,
// lent bound to nothing and given back reset (so it holds no lock once its
// user is done), or one of its own, finalized with the handle.
class StatementHandle {
 public:
  StatementHandle(Statement& statement, bool& lent);
  explicit StatementHandle(std::unique_ptr<Statement> own);
  StatementHandle(StatementHandle&& other) noexcept;
  StatementHandle(const StatementHandle&) = delete;
  StatementHandle& operator=(const StatementHandle&) = delete;
  ~StatementHandle();

  Statement& operator*() const { return *statement_; }
  Statement* operator->() const { return statement_; }

 private:
  std::unique_ptr<Statement> own_;
  Statement* statement_;
  bool* lent_ = nullptr;
};

// A connection; like its statements, for one thread at a time.
class Database {
 public:
  // kReadExisting opens an existing file for reading: read-write underneath,
  // so that opening rolls back what a killed writer left in its journal, but
  // refusing every statement that would write.
  enum class Mode { kReadExisting, kReadWriteCreate };

  // Throws StoreError when the file cannot be opened in that mode; a missing
  // file is never created by kReadExisting.
  Database(const std::string& path, Mode mode);
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;
  ~Database();

  void Exec(const std::string& sql);
  std::unique_ptr<Statement> Prepare(std::string_view sql);
  // A statement of its own for sql: for queries made once per call, whose
  // memory is better used again than kept.
  StatementHandle Once(std::string_view sql) { return StatementHandle(Prepare(sql)); }
  // The statement for sql, prepared on its first use and kept with the
  // connection: the engine's calls repeat a few statements many times.
  StatementHandle Cached(const std::string& sql);
  std::int64_t QueryInt(const std::string& sql);  // first column of the first row

 private:
  struct Kept {
    std::unique_ptr<Statement> statement;
    bool lent = false;
  };

  sqlite3* db_ = nullptr;
  std::unordered_map<std::string, Kept> cache_;
};

// Runs a body inside BEGIN IMMEDIATE .. COMMIT, rolling back when it throws.
class Transaction {
 public:
  explicit Transaction(Database& db);
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  ~Transaction();
  void Commit();

 private:
  Database& db_;
  bool open_ = true;
};

}  // namespace pv14::ledger
