#include "tests/engine/ToolStore.h"

#include "tests/support/TestServer.h"

namespace pv14::testing {

std::string StoreKindName(StoreKind kind) { return kind == StoreKind::kFile ? "File" : "Server"; }

std::string StoreKindTestName(const ::testing::TestParamInfo<StoreKind>& info) {
  return StoreKindName(info.param);
}

ToolStore::ToolStore(StoreKind kind) : kind_(kind) {
  if (kind_ == StoreKind::kFile) {
    location_ = folder_.Join("data/engine.sqlite");
    return;
  }
  server_ = TestServer::Get(&unavailable_);
  if (server_ == nullptr) {
    if (unavailable_.empty()) unavailable_ = "no PostgreSQL server for the tests";
    return;
  }
  database_ = server_->NewDatabase();
  location_ = server_->Uri(database_);
}

// A database goes with its test: a run makes hundreds of them.
ToolStore::~ToolStore() {
  if (server_ != nullptr)
    server_->Sql("postgres", "DROP DATABASE IF EXISTS " + database_ + " WITH (FORCE)");
}

const std::string& ToolStore::DatabasePath() const {
  EXPECT_EQ(kind_, StoreKind::kFile) << "a server store has no database file";
  return location_;
}

ProcessResult ToolStore::Run(const std::vector<std::string>& args) {
  ProcessOptions options;
  options.args = args;
  options.env = {{"LEDGER_ENGINE_DB", location_}};
  return RunProcess(LEDGER_ENGINE_TOOL, options);
}

ProcessResult ToolStore::Load(const std::string& json) {
  const std::string file = folder_.WriteFile("input" + std::to_string(++files_) + ".json", json);
  return Run({"load", file});
}

ProcessResult ToolStore::Dump() { return Run({"dump"}); }

std::string SampleText() {
  return ReadFileBytes(std::string(PV14_SOURCE_DIR) + "/samples/sample-company.json");
}

}  // namespace pv14::testing
