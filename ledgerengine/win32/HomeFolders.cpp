#include "ledgerengine/HomeFolders.h"

#include <optional>

#include "platform/ShiftJis.h"
#include "platform/win32/WideText.h"

namespace pv14::ledger {
namespace {

// The folder a variable names, in code page 932 with a trailing backslash;
// nullopt when it is unset, empty or has no code page 932 form.
std::optional<std::string> FolderOf(const wchar_t* name) {
  auto value = win32::WideEnvironment(name);
  if (!value || value->empty()) return std::nullopt;
  auto folder = win32::WideToCp932(*value);
  if (!folder) return std::nullopt;
  if (!sjis::EndsWithSingleByte(*folder, '\\')) *folder += '\\';
  return folder;
}

}  // namespace

std::string HomeFolder(std::int32_t type) {
  std::optional<std::string> profile = FolderOf(L"USERPROFILE");
  if (type == 0) return profile ? *profile + "Documents\\" : std::string();
  std::optional<std::string> roaming = FolderOf(L"APPDATA");
  if (!roaming && profile) roaming = *profile + "AppData\\Roaming\\";
  return roaming ? *roaming + "ledger19\\" : std::string();
}

}  // namespace pv14::ledger
