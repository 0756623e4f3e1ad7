#include "ledgerengine/HomeFolders.h"

#include <cstdlib>
#include <optional>

#include "platform/DriveTable.h"
#include "platform/ShiftJis.h"

namespace pv14::ledger {

std::string HomeFolder(std::int32_t type) {
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') return {};
  std::optional<std::string> folder = DriveTable::FromEnvironment().ToWindows(home);
  if (!folder) return {};
  if (!sjis::EndsWithSingleByte(*folder, '\\')) *folder += '\\';
  *folder += type == 0 ? "Documents\\" : ".config\\ledger19\\";
  return *folder;
}

}  // namespace pv14::ledger
