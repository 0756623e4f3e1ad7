// ClSetData: the walk over the data sets and the selected data set.
#include <cstring>

#include "engine/LedgerEngine.h"
#include "ledgerengine/Session.h"
#include "ledgerengine/Store.h"

using pv14::ledger::Database;
using pv14::ledger::Session;

std::int32_t ClSetData::GetDatCursor(std::int32_t* cursor) {
  if (cursor == nullptr) return pv14::ledger::kEngineBadArgument;
  return pv14::ledger::WithStore([cursor](Database&) {
    Session& session = Session::Instance();
    *cursor = session.NewCursorId();
    session.Cursors()[*cursor] = std::nullopt;
    return kEngineOk;
  });
}

std::int32_t ClSetData::ReadyDat(std::int32_t cursor, std::int32_t) {
  return pv14::ledger::WithStore([cursor](Database&) {
    auto& cursors = Session::Instance().Cursors();
    auto it = cursors.find(cursor);
    if (it == cursors.end()) return pv14::ledger::kEngineNoCursor;
    it->second = -1;  // before the first data set
    return kEngineOk;
  });
}

std::int32_t ClSetData::WalkDat(StDATAINFO* record, std::int32_t cursor) {
  if (record == nullptr) return pv14::ledger::kEngineBadArgument;
  return pv14::ledger::WithStore([record, cursor](Database& store) {
    auto& cursors = Session::Instance().Cursors();
    auto it = cursors.find(cursor);
    if (it == cursors.end()) return pv14::ledger::kEngineNoCursor;
    if (!it->second) return pv14::ledger::kEngineNotReady;
    const auto next = pv14::ledger::DataSetAfter(store, *it->second);
    if (!next) return kEngineNoMoreRows;
    std::memcpy(record, &next->info, sizeof *record);
    it->second = next->position;
    return kEngineOk;
  });
}

std::int32_t ClSetData::ReleaseDatCursor(std::int32_t cursor) {
  return Session::Instance().Cursors().erase(cursor) == 1 ? kEngineOk
                                                          : pv14::ledger::kEngineNoCursor;
}

const StDATAINFO* ClSetData::GetSelectedInfo() {
  const StDATAINFO* selected = nullptr;
  pv14::ledger::WithStore([&selected](Database& store) {
    // The same selection the program's own walk finds: the current user's
    // selected data number, 0 for a user not listed.
    const pv14::ledger::StoreInfoRecord info = pv14::ledger::ReadStoreInfo(store);
    const auto user = pv14::ledger::FindUser(store, pv14::ledger::SessionUserId(info));
    const auto set = pv14::ledger::FindDataSetByNo(store, user ? user->SelectedDataNo : 0);
    if (!set) return kEngineOk;
    StDATAINFO& own = Session::Instance().SelectedInfo();
    own = set->info;
    selected = &own;
    return kEngineOk;
  });
  return selected;
}
