// ClSysUser: the current user and the data set each user has selected.
#include <cstring>

#include "engine/LedgerEngine.h"
#include "ledgerengine/Session.h"
#include "ledgerengine/Store.h"

using pv14::ledger::Database;

std::int32_t ClSysUser::GetCurUserID(char* out) {
  if (out == nullptr) return pv14::ledger::kEngineBadArgument;
  out[0] = '\0';  // what a failed call leaves
  return pv14::ledger::WithStore([out](Database& store) {
    const pv14::ledger::StoreInfoRecord info = pv14::ledger::ReadStoreInfo(store);
    // The caller's buffer holds 64 bytes and the terminator, as the field does.
    const std::string user = pv14::ledger::SessionUserId(info);
    std::memcpy(out, user.c_str(), user.size() + 1);
    return kEngineOk;
  });
}

std::int32_t ClSysUser::GetSelectedNo(const char* userId, std::int32_t* keyNo,
                                      std::int32_t* dataNo) {
  if (userId == nullptr || keyNo == nullptr || dataNo == nullptr) {
    return pv14::ledger::kEngineBadArgument;
  }
  *keyNo = 0;
  *dataNo = 0;
  return pv14::ledger::WithStore([&](Database& store) {
    if (auto user = pv14::ledger::FindUser(store, userId)) {
      *keyNo = user->SelectedKeyNo;
      *dataNo = user->SelectedDataNo;
    }
    return kEngineOk;
  });
}
