#include "ledgerengine/StoreFile.h"

#include <filesystem>
#include <system_error>

#include "ledgerengine/FormError.h"
#include "ledgerengine/JsonForm.h"
#include "ledgerengine/Schema.h"
#include "ledgerengine/Sqlite.h"
#include "ledgerengine/Store.h"

namespace pv14::ledger {
namespace {

namespace fs = std::filesystem;

// The store's path: UTF-8 on Windows (as SQLite takes it), bytes elsewhere.
fs::path PathOf(const std::string& path) {
#ifdef _WIN32
  return fs::path(std::u8string(path.begin(), path.end()));
#else
  return fs::path(path);
#endif
}

std::string TextOf(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

ToolResult Failed(std::string message) { return {ToolResult::kStoreFailed, std::move(message)}; }

void ReplaceContent(const std::string& storePath, const EngineData& data) {
  Database db(storePath, Database::Mode::kReadWriteCreate);
  db.Exec("PRAGMA foreign_keys = ON");
  Transaction transaction(db);
  WriteStore(db, data);
  transaction.Commit();
}

}  // namespace

ToolResult LoadStore(std::string_view jsonText, const std::string& storePath) {
  EngineData data;
  try {
    data = ReadEngineJson(jsonText);
  } catch (const FormError& error) {
    return {ToolResult::kRefused, error.what()};
  }
  if (storePath.empty()) return Failed("no place for the store: set LEDGER_ENGINE_DB or HOME");

  std::error_code error;
  const bool existed = fs::exists(PathOf(storePath), error);
  const fs::path folder = PathOf(storePath).parent_path();
  if (!folder.empty() && !fs::is_directory(folder, error)) {
    fs::create_directories(folder, error);
    if (error) return Failed("cannot create " + TextOf(folder) + ": " + error.message());
  }
  try {
    ReplaceContent(storePath, data);
  } catch (const StoreError& failure) {
    // Leave no half-made file behind when there was none before.
    if (!existed) fs::remove(PathOf(storePath), error);
    return Failed(std::string(failure.what()) + " (the store is unchanged)");
  }
  return {ToolResult::kDone,
          "loaded " + std::to_string(data.dataSets.size()) + " data set(s) into " + storePath};
}

ToolResult DumpStore(const std::string& storePath, std::string* out) {
  if (storePath.empty()) return Failed("no place for the store: set LEDGER_ENGINE_DB or HOME");
  std::error_code error;
  if (!fs::exists(PathOf(storePath), error)) return Failed("there is no store at " + storePath);
  try {
    Database db(storePath, Database::Mode::kReadOnly);
    db.Exec("BEGIN");  // one consistent reading, even while a load waits
    if (!HasCurrentSchema(db)) return Failed(storePath + " is not a store of this engine");
    const EngineData data = ReadStore(db);
    db.Exec("COMMIT");
    *out = WriteEngineJson(data).dump(2) + "\n";
  } catch (const StoreError& failure) {
    return Failed(failure.what());
  } catch (const FormError& failure) {
    return Failed(failure.what());
  }
  return {};
}

}  // namespace pv14::ledger
