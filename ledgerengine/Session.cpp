#include "ledgerengine/Session.h"

#include <cstdio>

#include "ledgerengine/StoreOpen.h"
#include "ledgerengine/StorePath.h"

namespace pv14::ledger {

Session& Session::Instance() {
  static Session session;
  return session;
}

bool Session::Open() {
  Close();
  if (const std::string location = StorePath(); IsServerStore(location)) {
    OpenedServerStore opened = OpenServerForReading(location);
    db_ = std::move(opened.mirror);
    server_ = std::move(opened.reader);
    problem_ = std::move(opened.problem);
    return db_ != nullptr;
  }
  OpenedStore opened = OpenStoreForReading(StorePath());
  db_ = std::move(opened.db);
  problem_ = std::move(opened.problem);
  return db_ != nullptr;
}

void Session::FetchContent() {
  if (server_ == nullptr || db_ == nullptr) return;
  try {
    server_->FetchContent(*db_);
  } catch (const StoreError& error) {
    // The program names no engine failure; the engine tells its user, once.
    if (problem_.empty()) std::fprintf(stderr, "ledger engine: %s\n", error.what());
    problem_ = error.what();
    throw;
  }
}

void Session::Close() {
  server_.reset();
  db_.reset();
  cursors_.clear();
  selected_ = StDATAINFO{};
}

}  // namespace pv14::ledger
