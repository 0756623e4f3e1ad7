#include "tests/engine/ToolStore.h"

namespace pv14::testing {

ToolStore::ToolStore() : database_(folder_.Join("data/engine.sqlite")) {}

ProcessResult ToolStore::Run(const std::vector<std::string>& args) {
  ProcessOptions options;
  options.args = args;
  options.env = {{"LEDGER_ENGINE_DB", database_}};
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
