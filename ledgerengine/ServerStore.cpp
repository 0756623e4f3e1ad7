#include "ledgerengine/ServerStore.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <cstdint>
#include <exception>
#include <memory>
#include <set>
#include <thread>
#include <utility>
#include <vector>

#include "ledgerengine/FormError.h"
#include "ledgerengine/JsonForm.h"
#include "ledgerengine/Schema.h"
#include "ledgerengine/Store.h"

#ifdef PV14_SERVER_STORE
#include "ledgerengine/PqLibrary.h"
#endif

namespace pv14::ledger {
namespace {

// The URI without what follows a user name before '@' and without a
// password parameter: for messages when the client library is missing.
std::string WithoutPassword(const std::string& uri) {
  std::string text = uri;
  const std::size_t scheme = text.find("://");
  if (scheme != std::string::npos) {
    const std::size_t start = scheme + 3;
    const std::size_t end = text.find_first_of("/?", start);
    const std::size_t at = text.rfind('@', end == std::string::npos ? text.size() : end);
    if (at != std::string::npos && at >= start) {
      const std::size_t colon = text.find(':', start);
      if (colon != std::string::npos && colon < at) text.erase(colon, at - colon);
    }
  }
  const std::size_t query = text.find('?');
  if (query == std::string::npos) return text;
  std::string kept = text.substr(0, query);
  std::size_t from = query + 1;
  char separator = '?';
  while (from <= text.size()) {
    std::size_t next = text.find('&', from);
    if (next == std::string::npos) next = text.size();
    const std::string parameter = text.substr(from, next - from);
    if (!parameter.empty() && parameter.rfind("password=", 0) != 0) {
      kept += separator + parameter;
      separator = '&';
    }
    from = next + 1;
  }
  return kept;
}

}  // namespace

bool IsServerStore(std::string_view location) {
  return location.starts_with("postgresql://") || location.starts_with("postgres://");
}

#ifdef PV14_SERVER_STORE

namespace {

std::string Describe(std::string db, std::string host, std::string port, std::string user) {
  if (host.empty()) host = "the default socket";
  if (db.empty()) db = "(the user's database)";
  std::string name = db + " on " + host;
  if (!port.empty()) name += ":" + port;
  if (!user.empty()) name += " as " + user;
  return name;
}

constexpr char kLayoutTable[] = "store_layout";
constexpr char kConnectTimeoutSeconds[] = "10";  // when the URI gives none
constexpr char kApplicationName[] = "ledger19";
constexpr std::chrono::milliseconds kLoadWait{5000};
constexpr char kLockTimeout[] = "SET LOCAL lock_timeout = '5s'";
// Any number the store's loads agree on: one load at a time per database.
constexpr char kLoadLockKey[] = "4711190019";

// A failure the server (or the client library) reported: its cause and,
// when there is one, its SQLSTATE.
class ServerError : public StoreError {
 public:
  ServerError(const std::string& cause, std::string sqlstate)
      : StoreError(cause), sqlstate_(std::move(sqlstate)) {}
  const std::string& sqlstate() const { return sqlstate_; }

 private:
  std::string sqlstate_;
};

const Pv14Pq& Library() {
  char why[256] = {};
  const Pv14Pq* pq = pv14_pq_load(why, sizeof why);
  if (pq == nullptr) throw StoreError(why);
  return *pq;
}

// The first line of a message of the library, without its severity or the
// connection attempt it was about.
std::string Cause(const char* message) {
  std::string text = message != nullptr ? message : "";
  for (const char* marker : {"failed: ", "FATAL:  ", "ERROR:  "}) {
    const std::size_t at = text.find(marker);
    if (at != std::string::npos && at < text.find('\n')) text.erase(0, at + std::strlen(marker));
  }
  text = text.substr(0, text.find('\n'));
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.pop_back();
  return text.empty() ? "no reason given" : text;
}

std::string Text(const char* value) { return value != nullptr ? value : ""; }

class Result {
 public:
  Result(const Pv14Pq& pq, PGresult* result) : pq_(pq), result_(result) {}
  Result(const Result&) = delete;
  Result& operator=(const Result&) = delete;
  ~Result() { pq_.clear(result_); }
  int Rows() const { return pq_.ntuples(result_); }
  std::string_view Value(int row, int column) const {
    return std::string_view(pq_.getvalue(result_, row, column),
                            static_cast<std::size_t>(pq_.getlength(result_, row, column)));
  }
  bool IsNull(int row, int column) const { return pq_.getisnull(result_, row, column) != 0; }

 private:
  const Pv14Pq& pq_;
  PGresult* result_;
};

}  // namespace

// One connection to the server; every failure is a ServerError.
class ServerConnection {
 public:
  explicit ServerConnection(const std::string& uri) : pq_(Library()) {
    // The library's word on a malformed URI may quote it, password and all.
    char* error = nullptr;
    PQconninfoOption* parsed = pq_.conninfoParse(uri.c_str(), &error);
    if (error != nullptr) pq_.freemem(error);
    if (parsed == nullptr) {
      name_ = WithoutPassword(uri);
      throw ServerError("LEDGER_ENGINE_DB is not a connection URI the client library takes",
                        "08001");
    }
    pq_.conninfoFree(parsed);
    // Earlier keywords give way to the URI's own: a timeout of its own wins.
    const char* const keywords[] = {"connect_timeout", "fallback_application_name", "dbname",
                                    nullptr};
    const char* const values[] = {kConnectTimeoutSeconds, kApplicationName, uri.c_str(), nullptr};
    conn_ = pq_.connectdbParams(keywords, values, 1);
    if (conn_ == nullptr) throw ServerError("out of memory", "53200");
    name_ = Describe(Text(pq_.db(conn_)), Text(pq_.host(conn_)), Text(pq_.port(conn_)),
                     Text(pq_.user(conn_)));
    if (pq_.status(conn_) != CONNECTION_OK) {
      const std::string cause = Cause(pq_.errorMessage(conn_));
      pq_.finish(conn_);  // no destructor runs for a constructor that throws
      throw ServerError(cause, "08001");
    }
  }
  ServerConnection(const ServerConnection&) = delete;
  ServerConnection& operator=(const ServerConnection&) = delete;
  ~ServerConnection() {
    if (conn_ != nullptr) pq_.finish(conn_);
  }

  const std::string& Name() const { return name_; }

  void Exec(const std::string& sql) { Check(pq_.exec(conn_, sql.c_str()), PGRES_COMMAND_OK); }

  // Results in binary when binary is set: integers as 8 bytes in network
  // order, bytea as its bytes.
  std::unique_ptr<Result> Query(const std::string& sql, bool binary) {
    PGresult* result =
        pq_.execParams(conn_, sql.c_str(), 0, nullptr, nullptr, nullptr, nullptr, binary ? 1 : 0);
    Check(result, PGRES_TUPLES_OK, false);
    return std::make_unique<Result>(pq_, result);
  }

  // Sends every statement at once and reads their results in order: one
  // round trip for them all. Rows come in binary, to each (with the
  // statement's index); a statement that gives none gives nothing to it.
  // A failure is thrown once the pipeline has ended, so the connection
  // stays usable (for a ROLLBACK and a look at what the database holds).
  template <class Each>
  void Pipeline(const std::vector<std::string>& statements, Each&& each) {
    if (pq_.enterPipelineMode(conn_) != 1) Lost();
    for (const std::string& sql : statements) {
      if (pq_.sendQueryParams(conn_, sql.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 1) != 1) {
        Lost();
      }
    }
    if (pq_.pipelineSync(conn_) != 1) Lost();
    std::exception_ptr failure;
    for (std::size_t i = 0; i < statements.size(); ++i) {
      PGresult* result = pq_.getResult(conn_);
      if (result == nullptr) Lost();
      const ExecStatusType status = pq_.resultStatus(result);
      if (failure != nullptr || status == PGRES_PIPELINE_ABORTED) {
        pq_.clear(result);
      } else if (status == PGRES_COMMAND_OK) {
        pq_.clear(result);
      } else {
        try {
          Check(result, PGRES_TUPLES_OK, false);
          const Result rows(pq_, result);
          each(i, rows);
        } catch (...) {
          failure = std::current_exception();
        }
      }
      while (PGresult* rest = pq_.getResult(conn_)) pq_.clear(rest);  // this statement's end
    }
    Check(pq_.getResult(conn_), PGRES_PIPELINE_SYNC);
    if (pq_.exitPipelineMode(conn_) != 1) Lost();
    if (failure != nullptr) std::rethrow_exception(failure);
  }

  // COPY ... FROM STDIN with data in the text format.
  void CopyIn(const std::string& sql, std::string_view data) {
    Check(pq_.exec(conn_, sql.c_str()), PGRES_COPY_IN);
    constexpr std::size_t kChunk = 1 << 16;
    for (std::size_t at = 0; at < data.size(); at += kChunk) {
      const std::size_t size = std::min(kChunk, data.size() - at);
      if (pq_.putCopyData(conn_, data.data() + at, static_cast<int>(size)) != 1) {
        throw ServerError(Cause(pq_.errorMessage(conn_)), "08006");
      }
    }
    if (pq_.putCopyEnd(conn_, nullptr) != 1) {
      throw ServerError(Cause(pq_.errorMessage(conn_)), "08006");
    }
    Check(pq_.getResult(conn_), PGRES_COMMAND_OK);
    while (PGresult* rest = pq_.getResult(conn_)) pq_.clear(rest);
  }

 private:
  [[noreturn]] void Lost() {
    throw ServerError(Cause(pq_.errorMessage(conn_)),
                      pq_.status(conn_) != CONNECTION_OK ? "08006" : "");
  }

  // Clears the result unless keep and it succeeded.
  void Check(PGresult* result, ExecStatusType wanted, bool clear = true) {
    if (result != nullptr && pq_.resultStatus(result) == wanted) {
      if (clear) pq_.clear(result);
      return;
    }
    std::string cause =
        result != nullptr ? Cause(pq_.resultErrorMessage(result)) : Cause(pq_.errorMessage(conn_));
    std::string sqlstate =
        result != nullptr ? Text(pq_.resultErrorField(result, PG_DIAG_SQLSTATE)) : "";
    if (pq_.status(conn_) != CONNECTION_OK) sqlstate = "08006";  // the connection is gone
    if (result != nullptr) pq_.clear(result);
    throw ServerError(cause, sqlstate);
  }

  const Pv14Pq& pq_;
  PGconn* conn_ = nullptr;
  std::string name_;
};

namespace {

struct Column {
  std::string name;  // quoted
  bool bytes;        // a text's Shift_JIS bytes; else a 64-bit integer
};

struct Table {
  std::string name;
  std::vector<Column> columns;
  std::string key;  // the primary key's columns, for ORDER BY
  std::string Columns() const {
    std::string names;
    for (const Column& column : columns) names += (names.empty() ? "" : ", ") + column.name;
    return names;
  }
};

std::string Quoted(std::string_view name) { return "\"" + std::string(name) + "\""; }

// The store's tables as the SQLite store lays them out, in creation order.
std::vector<Table> Layout(Database& copy) {
  std::vector<Table> tables;
  auto names = copy.Prepare("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid");
  while (names->Step()) tables.push_back(Table{std::string(names->Blob(0)), {}, {}});
  for (Table& table : tables) {
    auto info = copy.Prepare("PRAGMA table_info(" + Quoted(table.name) + ")");
    std::vector<std::pair<std::int64_t, std::string>> key;
    while (info->Step()) {
      const std::string name = Quoted(info->Blob(1));
      table.columns.push_back(Column{name, info->Blob(2) == "BLOB"});
      if (info->Int(5) > 0) key.emplace_back(info->Int(5), name);
    }
    std::sort(key.begin(), key.end());
    for (const auto& [order, name] : key) table.key += (table.key.empty() ? "" : ", ") + name;
  }
  return tables;
}

// The SQLite store's CREATE TABLE in the server's words: the same columns,
// keys and checks, texts as bytea (the server cannot hold Shift_JIS as its
// encoding) and numbers as bigint.
std::string ServerStatement(const std::string& sqlite) {
  std::string sql;
  bool quoted = false;
  for (std::size_t i = 0; i < sqlite.size();) {
    if (sqlite[i] == '"') quoted = !quoted;
    if (!quoted) {
      bool replaced = false;
      for (const auto& [from, to] :
           {std::pair<std::string_view, std::string_view>{"INTEGER", "bigint"},
            {"BLOB", "bytea"},
            {"length(", "octet_length("}}) {
        if (std::string_view(sqlite).substr(i, from.size()) == from) {
          sql += to;
          i += from.size();
          replaced = true;
          break;
        }
      }
      if (replaced) continue;
    }
    sql += sqlite[i++];
  }
  return sql;
}

std::int64_t NetworkInt64(std::string_view bytes) {
  if (bytes.size() != 8) throw StoreError("the server store holds a column of another type");
  std::uint64_t value = 0;
  for (unsigned char byte : bytes) value = (value << 8) | byte;
  return static_cast<std::int64_t>(value);
}

std::string SelectAll(const Table& table) {
  return "SELECT " + table.Columns() + " FROM " + table.name + " ORDER BY " + table.key;
}

// The copy's INSERT of every column of a table.
std::unique_ptr<Statement> PrepareInsert(Database& copy, const Table& table) {
  std::string marks;
  for (std::size_t i = 0; i < table.columns.size(); ++i) marks += i == 0 ? "?" : ", ?";
  return copy.Prepare("INSERT INTO " + table.name + " (" + table.Columns() + ") VALUES (" + marks +
                      ")");
}

// One table's rows from the server into the same table of the copy.
void CopyRows(const Result& rows, Statement& insert, const Table& table) {
  for (int row = 0; row < rows.Rows(); ++row) {
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
      const int column = static_cast<int>(i);
      if (rows.IsNull(row, column)) throw StoreError("the server store holds an empty column");
      if (table.columns[i].bytes) {
        insert.BindBlob(column + 1, rows.Value(row, column));
      } else {
        insert.Bind(column + 1, NetworkInt64(rows.Value(row, column)));
      }
    }
    insert.Step();
    insert.Reset();
  }
}

std::string TableList(const std::vector<Table>& tables) {
  std::string list = kLayoutTable;
  for (const Table& table : tables) list += ", " + table.name;
  return list;
}

// The store's own tables that the database holds.
std::set<std::string> PresentTables(ServerConnection& server, const std::vector<Table>& tables) {
  const std::unique_ptr<Result> rows = server.Query(
      "SELECT tablename FROM pg_catalog.pg_tables WHERE schemaname = current_schema()", false);
  std::set<std::string> wanted = {kLayoutTable};
  for (const Table& table : tables) wanted.insert(table.name);
  std::set<std::string> present;
  for (int row = 0; row < rows->Rows(); ++row) {
    std::string name(rows->Value(row, 0));
    if (wanted.count(name) != 0) present.insert(name);
  }
  return present;
}

std::int64_t LayoutVersion(ServerConnection& server) {
  const std::unique_ptr<Result> rows =
      server.Query(std::string("SELECT version FROM ") + kLayoutTable, false);
  if (rows->Rows() != 1) return 0;
  return std::stoll(std::string(rows->Value(0, 0)));
}

std::string LoadAgain() {
  return "load it again with this release's `ledger-engine load FILE.json`";
}

// Why a store whose tables are not all there cannot be read.
std::string MissingTablesProblem(const std::string& name, ServerConnection& server,
                                 const std::vector<Table>& tables) {
  const std::set<std::string> present = PresentTables(server, tables);
  if (present.empty()) {
    return "the server store " + name +
           " holds no store yet; fill it with `ledger-engine load FILE.json`";
  }
  return "the server store " + name + " holds another layout of the store; " + LoadAgain();
}

std::string ReadProblem(const std::string& name, const ServerError& error) {
  const std::string& state = error.sqlstate();
  if (state == "08001") return "cannot connect to the server store " + name + ": " + error.what();
  if (state.rfind("08", 0) == 0 || state.rfind("57P", 0) == 0) {
    return "lost the connection to the server store " + name + ": " + error.what();
  }
  if (state == "55P03") {
    return "the server store " + name + " stayed locked by a load; try again when it ends";
  }
  return "cannot read the server store " + name + ": " + error.what();
}

void AppendCopyRow(Statement& row, const Table& table, std::string* data) {
  static const char kHex[] = "0123456789abcdef";
  for (std::size_t i = 0; i < table.columns.size(); ++i) {
    if (i > 0) *data += '\t';
    const int column = static_cast<int>(i);
    if (table.columns[i].bytes) {
      *data += "\\\\x";  // bytea's hex form, its backslash escaped for COPY
      for (unsigned char byte : row.Blob(column)) {
        *data += kHex[byte >> 4];
        *data += kHex[byte & 0xF];
      }
    } else {
      *data += std::to_string(row.Int(column));
    }
  }
  *data += '\n';
}

// Waits for the loads' lock of this transaction; false when another load
// kept it for the whole wait.
bool TakeLoadLock(ServerConnection& server) {
  const auto until = std::chrono::steady_clock::now() + kLoadWait;
  for (;;) {
    const std::unique_ptr<Result> taken =
        server.Query(std::string("SELECT pg_try_advisory_xact_lock(") + kLoadLockKey + ")", false);
    if (taken->Rows() == 1 && taken->Value(0, 0) == "t") return true;
    if (std::chrono::steady_clock::now() >= until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

// Readies the layout for the new content: the rows deleted when it is this
// release's (concurrent exports keep reading their snapshot), else the
// store's tables made anew. Throws when the database holds tables of the
// store's names that are not a store's.
void PrepareLayout(ServerConnection& server, const std::string& name,
                   const std::vector<Table>& tables) {
  const std::set<std::string> present = PresentTables(server, tables);
  if (present.size() == tables.size() + 1 && LayoutVersion(server) == kSchemaVersion) {
    for (auto it = tables.rbegin(); it != tables.rend(); ++it)
      server.Exec("DELETE FROM " + it->name);
    return;
  }
  if (!present.empty() && present.count(kLayoutTable) == 0) {
    throw StoreError("the server store " + name + " holds tables of the store's names (" +
                     *present.begin() +
                     ", ...) that are not a store; name an empty database (nothing was changed)");
  }
  for (auto it = tables.rbegin(); it != tables.rend(); ++it) {
    server.Exec("DROP TABLE IF EXISTS " + it->name);
  }
  server.Exec(std::string("DROP TABLE IF EXISTS ") + kLayoutTable);
  server.Exec(std::string("CREATE TABLE ") + kLayoutTable +
              " (\n  id integer PRIMARY KEY CHECK (id = 1),\n  version integer NOT NULL\n)");
  server.Exec(std::string("INSERT INTO ") + kLayoutTable + " VALUES (1, " +
              std::to_string(kSchemaVersion) + ")");
  for (const std::string& statement : SchemaStatements()) server.Exec(ServerStatement(statement));
}

}  // namespace

std::string ServerStoreName(const std::string& uri) {
  char why[256] = {};
  const Pv14Pq* pq = pv14_pq_load(why, sizeof why);
  if (pq == nullptr) return WithoutPassword(uri);
  char* error = nullptr;
  PQconninfoOption* options = pq->conninfoParse(uri.c_str(), &error);
  if (options == nullptr) {
    if (error != nullptr) pq->freemem(error);
    return WithoutPassword(uri);
  }
  std::string db, host, port, user;
  for (const PQconninfoOption* option = options; option->keyword != nullptr; ++option) {
    const std::string keyword = option->keyword;
    const std::string value = Text(option->val);
    if (keyword == "dbname") db = value;
    if (keyword == "host" || (keyword == "hostaddr" && host.empty())) host = value;
    if (keyword == "port") port = value;
    if (keyword == "user") user = value;
  }
  pq->conninfoFree(options);
  return Describe(db, host, port, user);
}

namespace {

// A store of another layout than this engine's: its line says it all.
class OtherLayout : public StoreError {
 public:
  using StoreError::StoreError;
};

// The empty copy a run reads from, its INSERTs ready before the rows come.
struct Copy {
  std::unique_ptr<Database> db =
      std::make_unique<Database>(":memory:", Database::Mode::kReadWriteCreate);
  Transaction transaction{*db};
  std::vector<Table> tables;
  std::vector<std::unique_ptr<Statement>> inserts;

  Copy() {
    CreateSchema(*db);
    tables = Layout(*db);
    for (const Table& table : tables) inserts.push_back(PrepareInsert(*db, table));
  }
};

}  // namespace

OpenedServerStore OpenServerForReading(const std::string& uri) {
  OpenedServerStore opened;
  std::unique_ptr<ServerConnection> server;
  try {
    server = std::make_unique<ServerConnection>(uri);
    Copy copy;
    // One round trip: the locks first, as the snapshot is taken by the
    // first query after them, so no load that drops a table can come
    // between; the layout's version; every table. A read-only transaction
    // needs no COMMIT: closing the connection ends it.
    std::vector<std::string> statements = {
        "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY",
        "SET LOCAL client_min_messages = warning",  // no notices on the user's terminal
        kLockTimeout,
        "LOCK TABLE " + TableList(copy.tables) + " IN ACCESS SHARE MODE",
        std::string("SELECT version::bigint FROM ") + kLayoutTable,
    };
    const std::size_t first = statements.size();
    for (const Table& table : copy.tables) statements.push_back(SelectAll(table));
    try {
      server->Pipeline(statements, [&](std::size_t i, const Result& rows) {
        if (i < first) {
          const std::int64_t version = rows.Rows() == 1 ? NetworkInt64(rows.Value(0, 0)) : 0;
          if (version != kSchemaVersion) {
            throw OtherLayout("the server store " + server->Name() + " holds layout " +
                              std::to_string(version) + ", this engine reads " +
                              std::to_string(kSchemaVersion) + "; " + LoadAgain());
          }
          return;
        }
        CopyRows(rows, *copy.inserts[i - first], copy.tables[i - first]);
      });
    } catch (const ServerError& error) {
      if (error.sqlstate() != "42P01") throw;  // undefined_table
      server->Exec("ROLLBACK");
      opened.problem = MissingTablesProblem(server->Name(), *server, copy.tables);
      return opened;
    }
    copy.inserts.clear();
    copy.transaction.Commit();
    opened.copy = std::move(copy.db);
  } catch (const ServerError& error) {
    opened.problem = ReadProblem(server != nullptr ? server->Name() : ServerStoreName(uri), error);
  } catch (const OtherLayout& error) {
    opened.problem = error.what();
  } catch (const StoreError& error) {
    opened.problem = "cannot use the server store " +
                     (server != nullptr ? server->Name() : ServerStoreName(uri)) + ": " +
                     error.what();
  }
  return opened;
}

ToolResult LoadServerStore(std::string_view jsonText, const std::string& uri) {
  std::string name = ServerStoreName(uri);
  std::size_t dataSets = 0;
  try {
    // A temporary database of its own, which goes to a file when it outgrows
    // its cache: a long file is never held whole in memory.
    Database copy("", Database::Mode::kReadWriteCreate);
    {
      Transaction transaction(copy);
      dataSets = WriteStoreFromJson(copy, jsonText);
      transaction.Commit();
    }
    const std::vector<Table> tables = Layout(copy);

    ServerConnection server(uri);
    name = server.Name();
    server.Exec("SET client_min_messages = warning");  // no notices on the user's terminal
    server.Exec("BEGIN");
    server.Exec(kLockTimeout);
    if (!TakeLoadLock(server)) {
      return {ToolResult::kStoreFailed, "the server store " + name +
                                            " is busy with another load; try again when it ends "
                                            "(nothing was changed)"};
    }
    PrepareLayout(server, name, tables);
    for (const Table& table : tables) {
      std::string rows;
      auto read = copy.Prepare("SELECT " + table.Columns() + " FROM " + table.name + " ORDER BY " +
                               table.key);
      while (read->Step()) AppendCopyRow(*read, table, &rows);
      if (!rows.empty()) {
        server.CopyIn("COPY " + table.name + " (" + table.Columns() + ") FROM STDIN", rows);
      }
    }
    server.Exec("COMMIT");
  } catch (const ServerError& error) {
    std::string problem = error.sqlstate() == "55P03"
                              ? "the server store " + name +
                                    " stayed locked by an export that reads it; try again when "
                                    "it ends"
                              : ReadProblem(name, error);
    if (error.sqlstate() != "08001" && problem.rfind("cannot read", 0) == 0) {
      problem = "cannot load the server store " + name + ": " + error.what();
    }
    return {ToolResult::kStoreFailed, problem + " (nothing was changed)"};
  } catch (const FormError& error) {
    return {ToolResult::kRefused, error.what()};
  } catch (const StoreError& error) {
    const std::string what = error.what();
    return {ToolResult::kStoreFailed,
            what.rfind("the server store", 0) == 0
                ? what
                : "cannot load the server store " + name + ": " + what + " (nothing was changed)"};
  }
  return {ToolResult::kDone,
          "loaded " + std::to_string(dataSets) + " data set(s) into the server store " + name};
}

#else  // a build without the client library's header

namespace {
constexpr char kNoServerStore[] = "this build of the engine has no server store; use a file";
}

std::string ServerStoreName(const std::string& uri) { return WithoutPassword(uri); }

OpenedServerStore OpenServerForReading(const std::string& uri) {
  OpenedServerStore opened;
  opened.problem =
      std::string(kNoServerStore) + " (LEDGER_ENGINE_DB names " + ServerStoreName(uri) + ")";
  return opened;
}

ToolResult LoadServerStore(std::string_view, const std::string& uri) {
  return {ToolResult::kStoreFailed, OpenServerForReading(uri).problem};
}

#endif

ToolResult DumpServerStore(const std::string& uri, std::string* out) {
  OpenedServerStore opened = OpenServerForReading(uri);
  if (opened.copy == nullptr) return {ToolResult::kStoreFailed, opened.problem};
  try {
    *out = WriteEngineJson(ReadStore(*opened.copy)).dump(2) + "\n";
  } catch (const StoreError& failure) {
    return {ToolResult::kStoreFailed, failure.what()};
  } catch (const FormError& failure) {
    return {ToolResult::kStoreFailed, failure.what()};
  }
  return {};
}

}  // namespace pv14::ledger
