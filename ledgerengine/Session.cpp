#include "ledgerengine/Session.h"

#include "ledgerengine/StoreOpen.h"
#include "ledgerengine/StorePath.h"

namespace pv14::ledger {

Session& Session::Instance() {
  static Session session;
  return session;
}

bool Session::Open() {
  Close();
  OpenedStore opened = OpenStoreForReading(StorePath());
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
