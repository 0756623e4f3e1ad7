#include "ledgerengine/Session.h"

#include <cstdio>
#include <cstdlib>

#include "ledgerengine/ServerStore.h"
#include "ledgerengine/Store.h"
#include "ledgerengine/StoreOpen.h"
#include "ledgerengine/StorePath.h"

namespace pv14::ledger {
namespace {

// A user named from outside must be one of the store's: working as nobody
// would export nobody's selection and remember it under that name.
std::string UserProblem(const std::string& path, Database& db) {
  const char* named = std::getenv("LEDGER_ENGINE_USER");
  if (named == nullptr || *named == '\0') return {};
  const std::string user = SessionUserId(ReadStoreInfo(db));
  if (FindUser(db, user)) return {};
  return "LEDGER_ENGINE_USER names \"" + user + "\", who is no user of the store " + path;
}

// What messages call the store: a server's URI may hold a password.
std::string StoreName(const std::string& location) {
  return IsServerStore(location) ? ServerStoreName(location) : location;
}

}  // namespace

Session& Session::Instance() {
  static Session session;
  return session;
}

bool Session::Open() {
  Close();
  failure_ = 0;
  const std::string location = StorePath();
  if (IsServerStore(location)) {
    OpenedServerStore opened = OpenServerForReading(location);
    db_ = std::move(opened.copy);
    problem_ = std::move(opened.problem);
  } else {
    OpenedStore opened = OpenStoreForReading(location);
    db_ = std::move(opened.db);
    problem_ = std::move(opened.problem);
  }
  if (db_ != nullptr) {
    const std::string name = StoreName(location);
    try {
      problem_ = UserProblem(name, *db_);
    } catch (const StoreError& error) {
      problem_ = StoreProblem(name, error);
    }
    if (!problem_.empty()) db_.reset();
  }
  return db_ != nullptr;
}

void Session::Fail(std::int32_t result, const char* why) noexcept {
  if (failure_ != 0) return;
  failure_ = result;
  std::fprintf(stderr, "ledger engine: %s\n", why);
}

void Session::Fail(std::int32_t result, const StoreError& error) noexcept {
  try {
    Fail(result, StoreProblem(StoreName(StorePath()), error).c_str());
  } catch (...) {
    Fail(result, error.what());
  }
}

void Session::Close() {
  db_.reset();
  cursors_.clear();
  selected_ = StDATAINFO{};
}

}  // namespace pv14::ledger
