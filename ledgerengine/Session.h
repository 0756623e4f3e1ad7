// The engine's connection to its store, shared by all of its classes, and
// the results its calls give besides 0 and 5000.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <new>
#include <optional>
#include <string>

#include "engine/LedgerEngine.h"
#include "ledgerengine/Sqlite.h"

namespace pv14::ledger {

inline constexpr std::int32_t kEngineLinkFailed = 2;  // ExpSysLink: not 1, which is a cancel
inline constexpr std::int32_t kEngineNotConnected = 2001;
inline constexpr std::int32_t kEngineBadArgument = 2002;
inline constexpr std::int32_t kEngineNoDataSet = 2003;
inline constexpr std::int32_t kEngineWrongReturnKind = 2004;
inline constexpr std::int32_t kEngineNotReady = 2005;
inline constexpr std::int32_t kEngineStoreError = 2006;
inline constexpr std::int32_t kEngineOutOfMemory = 2007;
inline constexpr std::int32_t kEngineTruncated = 2008;
inline constexpr std::int32_t kEngineNoCursor = 2009;

class Session {
 public:
  static Session& Instance();

  // Opens the store for reading, for the whole run: every call until Close
  // reads inside one read transaction, so a run sees one state of the store
  // even when a load replaces it meanwhile (that load waits for Close, up to
  // its busy timeout). False when it is missing or not a store of this
  // engine (nothing is ever created or written here); Problem() says why.
  bool Open();
  void Close();
  const std::string& Problem() const { return problem_; }
  // The open store, or null.
  Database* Store() { return db_.get(); }

  // The engine's own record of the selected data set (GetSelectedInfo).
  StDATAINFO& SelectedInfo() { return selected_; }

  // Data-set walks of ClSetData: cursor -> position last delivered (-1
  // before the first); absent until ReadyDat.
  std::map<std::int32_t, std::optional<std::int64_t>>& Cursors() { return cursors_; }
  std::int32_t NewCursorId() { return ++lastCursor_; }

 private:
  std::unique_ptr<Database> db_;
  std::string problem_;
  StDATAINFO selected_{};
  std::map<std::int32_t, std::optional<std::int64_t>> cursors_;
  std::int32_t lastCursor_ = 0;
};

// Runs body(store) against the open store; no exception leaves an engine call.
template <class Body>
std::int32_t WithStore(Body&& body) noexcept {
  try {
    Database* store = Session::Instance().Store();
    if (store == nullptr) return kEngineNotConnected;
    return body(*store);
  } catch (const std::bad_alloc&) {
    return kEngineOutOfMemory;
  } catch (...) {
    return kEngineStoreError;
  }
}

}  // namespace pv14::ledger
