#include "ledgerengine/StoreFile.h"

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "ledgerengine/FormError.h"
#include "ledgerengine/JsonForm.h"
#include "ledgerengine/Schema.h"
#include "ledgerengine/ServerStore.h"
#include "ledgerengine/Sqlite.h"
#include "ledgerengine/Store.h"
#include "ledgerengine/StoreOpen.h"

namespace pv14::ledger {
namespace {

namespace fs = std::filesystem;

ToolResult Failed(std::string message) { return {ToolResult::kStoreFailed, std::move(message)}; }

std::size_t ReplaceContent(const std::string& storePath, std::string_view jsonText) {
  Database db(storePath, Database::Mode::kReadWriteCreate);
  db.Exec("PRAGMA foreign_keys = ON");
  Transaction transaction(db);
  const std::size_t dataSets = WriteStoreFromJson(db, jsonText);
  transaction.Commit();
  return dataSets;
}

// Reads the whole file and keeps nothing: a refused file then touches no
// store. Returns the refusal.
std::optional<std::string> RefusalOf(std::string_view jsonText) {
  class Discard : public EngineSink {
    void User(std::size_t, const UserEntry&) override {}
    void StatementRow(std::size_t, int, int, std::size_t, const StAOSUMINFO&) override {}
    void IncomeRow(std::size_t, std::size_t, const RealEstateIncomeRow&) override {}
    void Set(std::size_t, DataSet&&) override {}
    void Top(const std::string&, const std::optional<AppFolders>&) override {}
  } discard;
  try {
    ReadEngineJson(jsonText, discard);
  } catch (const FormError& error) {
    return error.what();
  }
  return std::nullopt;
}

}  // namespace

ToolResult LoadStore(std::string_view jsonText, const std::string& storePath) {
  if (std::optional<std::string> refusal = RefusalOf(jsonText)) {
    return {ToolResult::kRefused, *refusal};
  }
  if (IsServerStore(storePath)) return LoadServerStore(jsonText, storePath);
  if (storePath.empty()) return Failed("no place for the store: set LEDGER_ENGINE_DB or HOME");

  std::error_code error;
  if (std::string problem = NotAFileProblem(storePath); !problem.empty()) {
    return Failed(problem + " (nothing was changed)");
  }
  const bool existed = fs::exists(StoreFilePath(storePath), error);
  const fs::path folder = StoreFilePath(storePath).parent_path();
  if (!folder.empty() && !fs::is_directory(folder, error)) {
    fs::create_directories(folder, error);
    if (error) return Failed("cannot create " + StoreFileText(folder) + ": " + error.message());
  }
  std::size_t dataSets = 0;
  try {
    dataSets = ReplaceContent(storePath, jsonText);
  } catch (const StoreError& failure) {
    // Leave no half-made file behind when there was none before.
    if (!existed) fs::remove(StoreFilePath(storePath), error);
    return Failed(StoreProblem(storePath, failure) + " (the store is unchanged)");
  }
  return {ToolResult::kDone,
          "loaded " + std::to_string(dataSets) + " data set(s) into " + storePath};
}

ToolResult DumpStore(const std::string& storePath, std::string* out) {
  if (IsServerStore(storePath)) return DumpServerStore(storePath, out);
  // One consistent reading, even while a load waits.
  OpenedStore opened = OpenStoreForReading(storePath);
  if (opened.db == nullptr) return Failed(opened.problem);
  try {
    const EngineData data = ReadStore(*opened.db);
    *out = WriteEngineJson(data).dump(2) + "\n";
  } catch (const StoreError& failure) {
    return Failed(failure.what());
  } catch (const FormError& failure) {
    return Failed(failure.what());
  }
  return {};
}

}  // namespace pv14::ledger
