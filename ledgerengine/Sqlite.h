// A thin owner of SQLite's C API: a connection and its prepared statements.
// Errors become StoreError, caught at the edges (the tool, the API calls).
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace pv14::ledger {

class StoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
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

class Database {
 public:
  enum class Mode { kReadOnly, kReadWriteCreate };

  // Throws StoreError when the file cannot be opened in that mode; a missing
  // file is never created read-only.
  Database(const std::string& path, Mode mode);
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;
  ~Database();

  void Exec(const std::string& sql);
  std::unique_ptr<Statement> Prepare(std::string_view sql);
  std::int64_t QueryInt(const std::string& sql);  // first column of the first row

 private:
  sqlite3* db_ = nullptr;
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
