// The JSON form of the whole store: read with every check the store relies
// on, written back so that reading it again gives the same content.
#pragma once

#include <string_view>

#include "ledgerengine/EngineData.h"
#include "ledgerengine/JsonDocument.h"

namespace pv14::ledger {

// Longest folder text of AppFolders, in Shift_JIS bytes (a Windows path).
inline constexpr std::size_t kFolderLimit = sizeof(StoreInfoRecord::Documents) - 1;
inline constexpr std::size_t kUserIdLimit = sizeof(StoreInfoRecord::CurrentUserId) - 1;

// Throws FormError naming the first value that cannot be taken.
EngineData ReadEngineJson(std::string_view text);
// Throws FormError when the store holds a text that is not Shift_JIS.
Json WriteEngineJson(const EngineData& data);

}  // namespace pv14::ledger
