#include "ledgerengine/StoreOpen.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "ledgerengine/Schema.h"

namespace pv14::ledger {
namespace {

// Why the path cannot be opened as a store before SQLite looks at it;
// empty when it is a regular file worth opening.
std::string FileProblem(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT) return "there is no store at " + path + "; " + kCreateStoreHint;
    return "cannot reach the store " + path + ": " + std::strerror(errno);
  }
  if (std::string problem = NotAFileProblem(path); !problem.empty()) return problem;
  if (::access(path.c_str(), R_OK) != 0) {
    return "cannot read the store " + path + ": " + std::strerror(errno);
  }
  if (info.st_size == 0) {
    return path + " is an empty file, not a store; fill it with `ledger-engine load FILE.json`";
  }
  return {};
}

// Empty when the open database holds a store this engine reads.
std::string LayoutProblem(const std::string& path, Database& db) {
  const std::int64_t version = db.QueryInt("PRAGMA user_version");
  const bool hasInfo =
      db.QueryInt("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = '" +
                  std::string(kStoreInfoTable) + "'") == 1;
  if (version != kSchemaVersion || !hasInfo) {
    return path + " is a database but not a store of this engine (layout " +
           std::to_string(version) + ", this engine reads " + std::to_string(kSchemaVersion) +
           "); " + kStartOverHint;
  }
  if (db.QueryInt("SELECT count(*) FROM " + std::string(kStoreInfoTable)) != 1) {
    return path + " is a store without its store_info row; " + kStartOverHint;
  }
  return {};
}

}  // namespace

std::string NotAFileProblem(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode)) return {};
  if (S_ISDIR(info.st_mode)) {
    return path + " is a directory, not a store; LEDGER_ENGINE_DB names the store's file";
  }
  // A FIFO or a device would block or mislead the reader.
  return path + " is not a regular file, so not a store";
}

std::string StoreProblem(const std::string& path, const StoreError& error) {
  switch (error.code() & 0xFF) {
    case SQLITE_NOTADB:
      return path + " is not a database, so not a store; " + kStartOverHint;
    case SQLITE_CORRUPT:
      return path + " is damaged (" + sqlite3_errstr(error.code()) + "); " + kStartOverHint;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return "the store " + path +
             " stayed locked by another program (an export or a load); try again when it ends";
    case SQLITE_READONLY:
      return "the store " + path +
             " holds a load that was cut short; reading it needs write access once, to roll "
             "that load back";
    default:
      return std::string("cannot use the store ") + path + ": " + error.what();
  }
}

OpenedStore OpenStoreForReading(const std::string& path) {
  OpenedStore opened;
  if (path.empty()) {
    opened.problem = "no place for the store: set LEDGER_ENGINE_DB or HOME";
    return opened;
  }
  opened.problem = FileProblem(path);
  if (!opened.problem.empty()) return opened;
  try {
    auto db = std::make_unique<Database>(path, Database::Mode::kReadExisting);
    db->Exec("BEGIN");  // ended when the reader closes the store
    opened.problem = LayoutProblem(path, *db);
    if (opened.problem.empty()) opened.db = std::move(db);
  } catch (const StoreError& error) {
    opened.problem = StoreProblem(path, error);
  }
  return opened;
}

}  // namespace pv14::ledger
