// The store on a PostgreSQL server, named by a connection URI in
// LEDGER_ENGINE_DB. The engine's classes read it through a copy in memory
// taken inside one read-only REPEATABLE READ transaction: each table is
// fetched in one query, so no engine call waits on the network, and the
// copy is one state of the store however long the run takes.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "ledgerengine/EngineData.h"
#include "ledgerengine/Sqlite.h"
#include "ledgerengine/StoreFile.h"

namespace pv14::ledger {

// True for postgresql://... and postgres://...; anything else is a file.
bool IsServerStore(std::string_view location);

// "DB on HOST:PORT as USER" for messages: never the password. HOST is a
// socket folder for a local server.
std::string ServerStoreName(const std::string& uri);

class ServerConnection;
struct OpenedServerStore;

// A run's reading of a server store: the data sets and users at once, the
// data sets' content when a class first asks for it, all from one snapshot.
class ServerReader {
 public:
  ~ServerReader();
  ServerReader(const ServerReader&) = delete;
  ServerReader& operator=(const ServerReader&) = delete;

  // Copies the content tables into mirror once; throws StoreError naming the
  // store when the server cannot give them (the connection lost, ...). A
  // failed reader stays failed: a new connection would see another state.
  void FetchContent(Database& mirror);

 private:
  friend OpenedServerStore OpenServerForReading(const std::string& uri);
  ServerReader() = default;

  std::unique_ptr<ServerConnection> connection_;
  bool fetched_ = false;
  std::string failure_;
};

struct OpenedServerStore {
  std::unique_ptr<Database> mirror;  // null when the store cannot be read
  std::unique_ptr<ServerReader> reader;
  std::string problem;  // one line naming the store and the cause
};

// Connects, begins the read transaction and copies the store's heads
// (store_info, users, data_sets) into a database in memory.
OpenedServerStore OpenServerForReading(const std::string& uri);

// Replaces the whole content in one transaction, one load at a time.
ToolResult LoadServerStore(const EngineData& data, const std::string& uri);
// The whole content as JSON text, as DumpStore.
ToolResult DumpServerStore(const std::string& uri, std::string* out);

}  // namespace pv14::ledger
