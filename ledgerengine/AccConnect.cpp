// ClAccConnect: the connection to the engine's store.
#include <cstdio>
#include <string>

#include "engine/LedgerEngine.h"
#include "ledgerengine/AccConnectImpl.h"
#include "ledgerengine/Session.h"
#include "ledgerengine/Store.h"

using pv14::ledger::Session;

ClAccConnect* ClAccConnect::Inst() {
  static ClAccConnect connect;
  return &connect;
}

ClAccConnect::ClAccConnect() {
  static Impl state;
  impl_ = &state;
}

void ClAccConnect::SetCaption(const char* caption) { impl_->caption = caption ? caption : ""; }
void ClAccConnect::SetOwnerWindow(pv14::WindowHandle owner) { impl_->owner = owner; }
void ClAccConnect::SetAppType(std::int32_t type) { impl_->appType = type; }
void ClAccConnect::SetUseDataType(std::int32_t type) { impl_->useDataType = type; }

std::int32_t ClAccConnect::Initiate() {
  try {
    Session& session = Session::Instance();
    if (session.Open()) return kEngineOk;
    // The program shows nothing when the engine fails to start; the engine
    // tells its user why, once.
    std::fprintf(stderr, "ledger engine: %s\n", session.Problem().c_str());
  } catch (...) {
  }
  return pv14::ledger::kEngineNotConnected;
}

std::int32_t ClAccConnect::ExpSysLink() {
  const std::int32_t result = pv14::ledger::WithStore([](pv14::ledger::Database& store) {
    pv14::ledger::ReadStoreInfo(store);  // throws when the store is not usable
    return kEngineOk;
  });
  return result == kEngineOk ? kEngineOk : pv14::ledger::kEngineLinkFailed;
}

std::int32_t ClAccConnect::GetLastResult() { return Session::Instance().Failure(); }

// Each ends the run's read transaction, letting a waiting load go on.
void ClAccConnect::LogOut() { Session::Instance().Close(); }
void ClAccConnect::Terminate() { Session::Instance().Close(); }
void ClAccConnect::Release() { Session::Instance().Close(); }
