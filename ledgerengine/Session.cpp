#include "ledgerengine/Session.h"

#include "ledgerengine/Schema.h"
#include "ledgerengine/StorePath.h"

namespace pv14::ledger {

Session& Session::Instance() {
  static Session session;
  return session;
}

bool Session::Open() {
  Close();
  const std::string path = StorePath();
  if (path.empty()) return false;
  try {
    auto db = std::make_unique<Database>(path, Database::Mode::kReadOnly);
    if (!HasCurrentSchema(*db)) return false;
    db_ = std::move(db);
    return true;
  } catch (const StoreError&) {
    return false;
  }
}

void Session::Close() {
  db_.reset();
  cursors_.clear();
  selected_ = StDATAINFO{};
}

}  // namespace pv14::ledger
