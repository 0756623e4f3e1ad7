// A store of one test's own, filled and read through the `ledger-engine`
// tool as a user would.
#pragma once

#include <string>
#include <vector>

#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

namespace pv14::testing {

class ToolStore {
 public:
  ToolStore();

  // The database file ($LEDGER_ENGINE_DB of every run).
  const std::string& DatabasePath() const { return database_; }
  TempDir& Folder() { return folder_; }

  ProcessResult Run(const std::vector<std::string>& args);
  // Writes the text to a file and loads it.
  ProcessResult Load(const std::string& json);
  ProcessResult Dump();

 private:
  TempDir folder_{"engine"};
  std::string database_;
  int files_ = 0;
};

// The bundled sample company, as text.
std::string SampleText();

}  // namespace pv14::testing
