#include "ledgerengine/StoreOpen.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "ledgerengine/Schema.h"

namespace pv14::ledger {
namespace {

// Through C stdio rather than a C++ file stream, which would set up the C++
// locales for this one check. errno says why not.
bool CanOpenForReading(const std::filesystem::path& file) {
  errno = 0;
#ifdef _WIN32
  std::FILE* opened = ::_wfopen(file.c_str(), L"rb");
#else
  std::FILE* opened = std::fopen(file.c_str(), "rb");
#endif
  if (opened == nullptr) return false;
  std::fclose(opened);
  return true;
}

// Why the path cannot be opened as a store before SQLite looks at it;
// empty when it is a regular file worth opening.
std::string FileProblem(const std::string& path) {
  const std::filesystem::path file = StoreFilePath(path);
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(file, error);
  if (status.type() == std::filesystem::file_type::not_found) {
    return "there is no store at " + path + "; " + kCreateStoreHint;
  }
  if (error) return "cannot reach the store " + path + ": " + error.message();
  if (std::string problem = NotAFileProblem(path); !problem.empty()) return problem;
  if (!CanOpenForReading(file)) {
    return "cannot read the store " + path + ": " + std::strerror(errno != 0 ? errno : EACCES);
  }
  if (std::filesystem::file_size(file, error) == 0 && !error) {
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
  // The same version can hide a layout changed by hand.
  if (std::string difference = SchemaDifference(db); !difference.empty()) {
    return path + " is not a store as this engine makes it: " + difference + "; " + kStartOverHint;
  }
  if (db.QueryInt("SELECT count(*) FROM " + std::string(kStoreInfoTable)) != 1) {
    return path + " is a store without its store_info row; " + kStartOverHint;
  }
  return {};
}

}  // namespace

std::filesystem::path StoreFilePath(const std::string& path) {
#ifdef _WIN32
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
#else
  return std::filesystem::path(path);
#endif
}

std::string StoreFileText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::string NotAFileProblem(const std::string& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(StoreFilePath(path), error);
  if (error || status.type() == std::filesystem::file_type::regular) return {};
  if (status.type() == std::filesystem::file_type::directory) {
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
