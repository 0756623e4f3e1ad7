// What `ledger-engine` does: replace the store from a JSON file, or write
// the store as JSON.
#pragma once

#include <string>
#include <string_view>

namespace pv14::ledger {

struct ToolResult {
  enum Status { kDone = 0, kRefused = 1, kStoreFailed = 3 };
  Status status = kDone;
  std::string message;  // what went wrong, or what was done
};

// Checks the whole text first; then replaces the store at storePath in one
// transaction, creating the file and its folder when missing. On any error
// the store is left as it was.
ToolResult LoadStore(std::string_view jsonText, const std::string& storePath);
// The store as JSON text (UTF-8, ending with a newline) into *out.
ToolResult DumpStore(const std::string& storePath, std::string* out);

}  // namespace pv14::ledger
