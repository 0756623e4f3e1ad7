#include "ledgerengine/StorePath.h"

#include <cstdlib>

namespace pv14::ledger {
namespace {

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

}  // namespace

std::string StorePath() {
  if (std::string path = Variable("LEDGER_ENGINE_DB"); !path.empty()) return path;
  // An empty or relative XDG_DATA_HOME is to be ignored.
  std::string data = Variable("XDG_DATA_HOME");
  if (data.empty() || data.front() != '/') {
    const std::string home = Variable("HOME");
    if (home.empty()) return {};
    data = home + "/.local/share";
  }
  return data + "/ledger19/engine.sqlite";
}

}  // namespace pv14::ledger
