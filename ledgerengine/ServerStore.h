// The store on a PostgreSQL server, named by a connection URI in
// LEDGER_ENGINE_DB. The engine's classes read it through a copy in memory
// of the SQLite store's layout: each table is fetched in one query, so no
// engine call waits on the network, and the copy is one state of the store
// however long the run takes.
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

struct OpenedServerStore {
  // A copy in memory of the whole store, taken inside one read-only
  // REPEATABLE READ transaction; null when the store cannot be read.
  std::unique_ptr<Database> copy;
  std::string problem;  // one line naming the store and the cause
};

// Connects, copies every table of the store and lets the server go: a run
// holds all it will read before it shows anything, so a server lost later
// cannot cut its report short.
OpenedServerStore OpenServerForReading(const std::string& uri);

// Replaces the whole content in one transaction, one load at a time, from
// a JSON form already found good.
ToolResult LoadServerStore(std::string_view jsonText, const std::string& uri);
// The whole content as JSON text, as DumpStore.
ToolResult DumpServerStore(const std::string& uri, std::string* out);

}  // namespace pv14::ledger
