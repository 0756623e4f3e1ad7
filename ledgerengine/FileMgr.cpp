// ClFileMgr: the application's documents and settings folders.
#include <cstring>
#include <string>

#include "engine/LedgerEngine.h"
#include "ledgerengine/HomeFolders.h"
#include "ledgerengine/Session.h"
#include "ledgerengine/Store.h"
#include "platform/ShiftJis.h"

namespace {

constexpr std::int32_t kDocumentsFolder = 0;
constexpr std::int32_t kSettingsFolder = 1;

// Copies as much as fits with the terminator, never splitting a double-byte
// character; a cut folder is reported, since it no longer names the folder.
std::int32_t CopyFolder(const std::string& folder, char* out, std::int32_t size) {
  const std::size_t room = static_cast<std::size_t>(size) - 1;
  const std::size_t length = pv14::sjis::FitLength(folder, room);
  std::memcpy(out, folder.data(), length);
  out[length] = '\0';
  return length == folder.size() ? kEngineOk : pv14::ledger::kEngineTruncated;
}

}  // namespace

ClFileMgr* ClFileMgr::Inst() {
  static ClFileMgr manager;
  return &manager;
}

std::int32_t ClFileMgr::GetAppFolderPath(std::int32_t type, char* out, std::int32_t size) {
  if (out == nullptr || size <= 0) return pv14::ledger::kEngineBadArgument;
  out[0] = '\0';
  if (type != kDocumentsFolder && type != kSettingsFolder) {
    return pv14::ledger::kEngineBadArgument;
  }
  return pv14::ledger::WithStore([&](pv14::ledger::Database& store) {
    const pv14::ledger::StoreInfoRecord info = pv14::ledger::ReadStoreInfo(store);
    if (info.HasAppFolders == 0) return CopyFolder(pv14::ledger::HomeFolder(type), out, size);
    return CopyFolder(type == kDocumentsFolder ? info.Documents : info.Settings, out, size);
  });
}
