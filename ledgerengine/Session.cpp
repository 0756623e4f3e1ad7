#include "ledgerengine/Session.h"

#include "ledgerengine/ServerStore.h"
#include "ledgerengine/StoreOpen.h"
#include "ledgerengine/StorePath.h"

namespace pv14::ledger {

Session& Session::Instance() {
  static Session session;
  return session;
}

bool Session::Open() {
  Close();
  const std::string location = StorePath();
  if (IsServerStore(location)) {
    OpenedServerStore opened = OpenServerForReading(location);
    db_ = std::move(opened.copy);
    problem_ = std::move(opened.problem);
    return db_ != nullptr;
  }
  OpenedStore opened = OpenStoreForReading(location);
  db_ = std::move(opened.db);
  problem_ = std::move(opened.problem);
  return db_ != nullptr;
}

void Session::Close() {
  db_.reset();
  cursors_.clear();
  selected_ = StDATAINFO{};
}

}  // namespace pv14::ledger
