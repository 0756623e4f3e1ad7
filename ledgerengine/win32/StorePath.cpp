#include "ledgerengine/StorePath.h"

#include "platform/win32/WideText.h"

namespace pv14::ledger {
namespace {

// The variable in UTF-8, the form SQLite takes file names in.
std::string Variable(const wchar_t* name) {
  auto value = win32::WideEnvironment(name);
  if (!value) return {};
  return win32::WideToUtf8(*value).value_or(std::string());
}

}  // namespace

std::string StorePath() {
  if (std::string path = Variable(L"LEDGER_ENGINE_DB"); !path.empty()) return path;
  const std::string data = Variable(L"LOCALAPPDATA");
  if (data.empty()) return {};
  return data + "\\ledger19\\engine.sqlite";
}

}  // namespace pv14::ledger
