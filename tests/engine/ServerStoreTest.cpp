// The store's contract held by both stores: a file, and a database on the
// test run's PostgreSQL server; then what a server store that cannot serve
// gives, one case each.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "engine/FieldText.h"
#include "engine/LedgerEngine.h"
#include "platform/Encoding.h"
#include "tests/engine/JsonValues.h"
#include "tests/engine/ToolStore.h"
#include "tests/support/TestServer.h"

namespace pv14::testing {
namespace {

constexpr char kBlueId[] = "NOTO-HYOGU-2023";
constexpr char kPassword[] = "s3cret-Pa55";

std::string SmallText() {
  return R"({"CurrentUserId": "SMALL", "Users": [{"UserId": "SMALL", "SelectedDataNo": 7}],
             "DataSets": [{"DataId": "ONLY", "DataNo": 7, "CompanyName": "小さな会社",
                           "ReturnKind": 3, "StatementScope": 1,
                           "Statements": {"General": {"PL": [
                             {"LineNo": 1, "Code": 101, "ItemName": "売上", "ClosingBalance": 5}]}}}]})";
}

// The dump of a fresh file store loaded from text: what every store's dump
// of the same text must be.
std::string FileDumpOf(const std::string& text) {
  ToolStore file;
  EXPECT_EQ(file.Load(text).exitStatus, 0);
  const ProcessResult dump = file.Dump();
  EXPECT_EQ(dump.exitStatus, 0) << dump.err;
  return dump.out;
}

// The engine's classes connected to the store for one test.
class Connected {
 public:
  explicit Connected(const std::string& location) {
    ::setenv("LEDGER_ENGINE_DB", location.c_str(), 1);
    ok_ = ClAccConnect::Inst()->Initiate() == kEngineOk;
  }
  ~Connected() {
    ClAccConnect::Inst()->LogOut();
    ClAccConnect::Inst()->Terminate();
    ::unsetenv("LEDGER_ENGINE_DB");
  }
  bool ok() const { return ok_; }

 private:
  bool ok_ = false;
};

// The blue data set's general PL item names through ClRuleAo; empty with
// *result the failing call's result.
std::vector<std::string> BluePlNames(const char* dataId, std::int32_t* result) {
  ClRuleAo rules;
  rules.SetCurDataID(dataId);
  StAOSUMCONDITION condition{};
  *result = rules.Ready(&condition);
  std::vector<std::string> names;
  if (*result != kEngineOk) return names;
  StAOSUMINFO row{};
  for (std::int32_t rc = rules.MoveFirst_PL(_RuleAoSumType{}, &row); rc == kEngineOk;
       rc = rules.MoveNext_PL(_RuleAoSumType{}, &row)) {
    names.emplace_back(FieldText(row.ItemName));
  }
  return names;
}

std::vector<std::string> SamplePlNames() {
  std::vector<std::string> names;
  const Json sample = Json::parse(SampleText());
  for (const Json& set : sample["DataSets"]) {
    if (set["DataId"] != kBlueId) continue;
    for (const Json& row : set["Statements"]["General"]["PL"]) {
      names.push_back(*Utf8ToCp932(row["ItemName"].get<std::string>()));
    }
  }
  return names;
}

class StoreContract : public StoreSuite<> {};

TEST_P(StoreContract, TheSamplesDumpIsTheFileStoresByteForByte) {
  ASSERT_EQ(store_.Load(SampleText()).exitStatus, 0);
  const ProcessResult dump = store_.Run({"dump"});
  ASSERT_EQ(dump.exitStatus, 0) << dump.err;
  EXPECT_EQ(dump.out, FileDumpOf(SampleText()));
}

TEST_P(StoreContract, ALoadReplacesTheWholeContent) {
  ASSERT_EQ(store_.Load(SampleText()).exitStatus, 0);
  const ProcessResult load = store_.Load(SmallText());
  ASSERT_EQ(load.exitStatus, 0) << load.err;
  const ProcessResult dump = store_.Run({"dump"});
  ASSERT_EQ(dump.exitStatus, 0) << dump.err;
  EXPECT_EQ(dump.out, FileDumpOf(SmallText()));
}

TEST_P(StoreContract, ARefusedFileChangesNothing) {
  ASSERT_EQ(store_.Load(SampleText()).exitStatus, 0);
  const std::string before = store_.Run({"dump"}).out;
  const ProcessResult refused = store_.Load(R"({"DataSets": [{"DataNo": 1}, {"DataNo": 1}]})");
  EXPECT_EQ(refused.exitStatus, 1) << refused.err;
  EXPECT_EQ(store_.Run({"dump"}).out, before);
}

TEST_P(StoreContract, TheEngineServesTheStoredRowsInOrder) {
  ASSERT_EQ(store_.Load(SampleText()).exitStatus, 0);
  Connected connected(store_.Location());
  ASSERT_TRUE(connected.ok());
  EXPECT_EQ(ClAccConnect::Inst()->ExpSysLink(), kEngineOk);
  std::int32_t ready = -1;
  const std::vector<std::string> names = BluePlNames(kBlueId, &ready);
  ASSERT_EQ(ready, kEngineOk);
  EXPECT_EQ(names, SamplePlNames());
}

// A run reads one state: a load that ends while the run reads is not seen
// by it, and is by the next run.
TEST_P(StoreContract, ARunKeepsReadingTheStateItBeganWith) {
  ASSERT_EQ(store_.Load(SampleText()).exitStatus, 0);
  {
    Connected connected(store_.Location());
    ASSERT_TRUE(connected.ok());
    std::thread load([&] { EXPECT_EQ(store_.Load(SmallText()).exitStatus, 0); });
    if (GetParam() == StoreKind::kServer) load.join();  // a file store's load waits for the run
    std::int32_t ready = -1;
    EXPECT_EQ(BluePlNames(kBlueId, &ready), SamplePlNames());
    ClAccConnect::Inst()->LogOut();
    if (load.joinable()) load.join();
  }
  Connected next(store_.Location());
  ASSERT_TRUE(next.ok());
  std::int32_t ready = -1;
  BluePlNames(kBlueId, &ready);
  EXPECT_EQ(ready, 2003);  // the sample's data set is gone
}

TEST_P(StoreContract, WhereNamesTheStore) {
  const ProcessResult where = store_.Run({"where"});
  ASSERT_EQ(where.exitStatus, 0) << where.err;
  if (GetParam() == StoreKind::kFile) {
    EXPECT_EQ(where.out, "file store " + store_.Location() + "\n");
  } else {
    EXPECT_EQ(where.out, "server store " + store_.Database() + " on " + store_.Server()->Folder() +
                             " as postgres\n");
  }
}

INSTANTIATE_TEST_SUITE_P(Stores, StoreContract, EveryStoreKind(), StoreKindTestName);

// ---- a server store that cannot serve

// The URI of a case, given the run's server and a database of the test's own
// (with the password a user might have put there, never to be shown).
struct FailureCase {
  const char* name;
  // Prepares the database; returns the URI to use.
  std::string (*prepare)(TestServer& server, const std::string& database);
  const char* cause;  // in the one line
};

std::string WithPassword(const std::string& database, const std::string& host,
                         const std::string& user = "postgres") {
  return "postgresql://" + user + ":" + kPassword + "@/" + database + "?host=" + host;
}

const FailureCase kFailures[] = {
    {"NoServer",
     [](TestServer&, const std::string& database) {
       return WithPassword(database, "/nonexistent/pv14-socket-folder");
     },
     "cannot connect"},
    {"RefusedLogin",
     [](TestServer& server, const std::string& database) {
       server.Sql("postgres", "CREATE ROLE " + database + "_nologin NOLOGIN");
       return WithPassword(database, server.Folder(), database + "_nologin");
     },
     "not permitted to log in"},
    {"MalformedUri",
     [](TestServer& server, const std::string& database) {
       return "postgresql://postgres:" + std::string(kPassword) + "%zz@/" + database +
              "?host=" + server.Folder();
     },
     "not a connection URI"},
    {"NoDatabase",
     [](TestServer& server, const std::string& database) {
       return WithPassword(database + "_missing", server.Folder());
     },
     "does not exist"},
    {"NeverLoaded",
     [](TestServer& server, const std::string& database) {
       return WithPassword(database, server.Folder());
     },
     "holds no store yet"},
    {"AnotherLayout",
     [](TestServer& server, const std::string& database) {
       ProcessOptions options;
       options.args = {"load", "-"};
       options.input = SmallText();
       options.env = {{"LEDGER_ENGINE_DB", server.Uri(database)}};
       EXPECT_EQ(RunProcess(LEDGER_ENGINE_TOOL, options).exitStatus, 0);
       server.Sql(database, "UPDATE store_layout SET version = 1800");
       return WithPassword(database, server.Folder());
     },
     "holds layout 1800, this engine reads 1901; load it again"},
    {"TablesThatAreNotAStore",
     [](TestServer& server, const std::string& database) {
       server.Sql(database, "CREATE TABLE users (name text)");
       return WithPassword(database, server.Folder());
     },
     "another layout"},
};

class ServerFailures : public ::testing::TestWithParam<FailureCase> {
 protected:
  void SetUp() override {
    std::string why;
    server_ = TestServer::Get(&why);
    if (server_ == nullptr) GTEST_SKIP() << why;
    database_ = server_->NewDatabase();
    uri_ = GetParam().prepare(*server_, database_);
  }
  TestServer* server_ = nullptr;
  std::string database_;
  std::string uri_;
};

TEST_P(ServerFailures, TheToolAndTheEngineSayWhyInOneLineWithoutThePassword) {
  ProcessOptions options;
  options.args = {"dump"};
  options.env = {{"LEDGER_ENGINE_DB", uri_}};
  const ProcessResult dump = RunProcess(LEDGER_ENGINE_TOOL, options);
  EXPECT_EQ(dump.exitStatus, 3);
  EXPECT_TRUE(dump.out.empty());
  EXPECT_EQ(dump.err.rfind("ledger-engine: ", 0), 0u) << dump.err;
  EXPECT_EQ(dump.err.find('\n'), dump.err.size() - 1) << dump.err;
  EXPECT_NE(dump.err.find(GetParam().cause), std::string::npos) << dump.err;
  EXPECT_NE(dump.err.find(database_), std::string::npos) << dump.err;
  EXPECT_EQ(dump.err.find(kPassword), std::string::npos) << dump.err;

  ::setenv("LEDGER_ENGINE_DB", uri_.c_str(), 1);
  EXPECT_NE(ClAccConnect::Inst()->Initiate(), kEngineOk);
  EXPECT_NE(ClAccConnect::Inst()->ExpSysLink(), kEngineOk);
  ClAccConnect::Inst()->Terminate();
  ::unsetenv("LEDGER_ENGINE_DB");
}

INSTANTIATE_TEST_SUITE_P(Server, ServerFailures, ::testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.name); });

// A machine without the client library: every command that needs the
// server says so in one line naming the package, and nothing else breaks.
TEST(MissingClientLibrary, TheToolNamesThePackageInOneLine) {
#ifndef PV14_HIDE_CLIENT_LIBRARY
  GTEST_SKIP() << "this build has no server store";
#else
  const std::string uri = std::string("postgresql://clerk:") + kPassword +
                          "@/books?host=/nonexistent/pv14-socket-folder";
  ProcessOptions options;
  options.env = {{"LEDGER_ENGINE_DB", uri}};
  options.input = SmallText();
  for (const std::vector<std::string>& args : {std::vector<std::string>{"dump"}, {"load", "-"}}) {
    SCOPED_TRACE(args[0]);
    options.args = args;
    options.env.erase("LD_PRELOAD");
    const ProcessResult found = RunProcess(LEDGER_ENGINE_TOOL, options);
    EXPECT_EQ(found.err.find("libpq5"), std::string::npos) << "the library is installed here";

    PreloadLibrary(options, PV14_HIDE_CLIENT_LIBRARY);
    const ProcessResult missing = RunProcess(LEDGER_ENGINE_TOOL, options);
    EXPECT_EQ(missing.exitStatus, 3);
    EXPECT_TRUE(missing.out.empty());
    EXPECT_EQ(missing.err.rfind("ledger-engine: ", 0), 0u) << missing.err;
    EXPECT_EQ(missing.err.find('\n'), missing.err.size() - 1) << missing.err;
    EXPECT_NE(missing.err.find("install the package libpq5"), std::string::npos) << missing.err;
    EXPECT_NE(missing.err.find("books"), std::string::npos) << "names the store: " << missing.err;
    EXPECT_EQ(missing.err.find(kPassword), std::string::npos) << missing.err;
  }
#endif
}

class ServerStore : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!store_.Unavailable().empty()) GTEST_SKIP() << store_.Unavailable();
  }
  ToolStore store_{StoreKind::kServer};
};

// A run copies the whole store when it connects and lets the server go:
// nothing it reads later can be cut short by a server lost meanwhile.
TEST_F(ServerStore, ARunHoldsItsWholeStateAndNoConnection) {
  ASSERT_EQ(store_.Load(SampleText()).exitStatus, 0);
  Connected connected(store_.Location());
  ASSERT_TRUE(connected.ok());
  EXPECT_EQ(store_.Server()
                ->Sql("postgres", "SELECT count(*) FROM pg_stat_activity WHERE datname = '" +
                                      store_.Database() + "'")
                .out,
            "0\n");
  std::int32_t ready = -1;
  EXPECT_EQ(BluePlNames(kBlueId, &ready), SamplePlNames());
}

// A store edited behind the tool's back past what the engine reads is
// refused in one line naming it, never read wrongly.
struct EditedStore {
  const char* name;
  const char* sql;
  const char* cause;
};

class EditedServerStores : public ::testing::TestWithParam<EditedStore> {
 protected:
  void SetUp() override {
    if (!store_.Unavailable().empty()) GTEST_SKIP() << store_.Unavailable();
  }
  ToolStore store_{StoreKind::kServer};
};

TEST_P(EditedServerStores, FailTheConnectInOneLineNamingTheStore) {
  ASSERT_EQ(store_.Load(SampleText()).exitStatus, 0);
  store_.Server()->Sql(store_.Database(), GetParam().sql);
  const ProcessResult dump = store_.Run({"dump"});
  EXPECT_EQ(dump.exitStatus, 3);
  EXPECT_EQ(
      dump.err.rfind("ledger-engine: cannot use the server store " + store_.Database() + " on ", 0),
      0u)
      << dump.err;
  EXPECT_NE(dump.err.find(GetParam().cause), std::string::npos) << dump.err;
  EXPECT_EQ(dump.err.find('\n'), dump.err.size() - 1) << dump.err;
  Connected connected(store_.Location());
  EXPECT_FALSE(connected.ok());
}

INSTANTIATE_TEST_SUITE_P(
    Server, EditedServerStores,
    ::testing::Values(
        EditedStore{"ValueOutsideItsField",
                    "ALTER TABLE data_sets DROP CONSTRAINT \"data_sets_DataKind_check\"; "
                    "UPDATE data_sets SET \"DataKind\" = 70000",
                    "CHECK constraint failed"},
        EditedStore{"ColumnOfAnotherType",
                    "ALTER TABLE data_sets ALTER COLUMN \"DataKind\" TYPE integer",
                    "holds a column of another type"},
        EditedStore{"EmptyColumn",
                    "ALTER TABLE users ALTER COLUMN \"SelectedDataNo\" DROP NOT NULL; "
                    "UPDATE users SET \"SelectedDataNo\" = NULL",
                    "holds an empty column"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ServerStore, ALoadWaitsForAnotherThenSaysTheStoreIsBusyAndChangesNothing) {
  ASSERT_EQ(store_.Load(SmallText()).exitStatus, 0);
  const std::string before = store_.Run({"dump"}).out;
  // The other load holds the lock in a session of its own until the test
  // has had its answer, then the session is ended: however slowly either
  // starts, and whatever the tests running beside it lock.
  TestServer* server = store_.Server();
  const std::string database = store_.Database();
  std::thread holder([&] {
    ProcessOptions options;
    options.args = {"-X", "-q",
                    "-h", server->Folder(),
                    "-U", "postgres",
                    "-d", database,
                    "-c", "BEGIN; SELECT pg_advisory_xact_lock(4711190019); SELECT pg_sleep(120)"};
    options.unsetEnv = {"PGPASSWORD", "PGSERVICE", "PGOPTIONS"};
    options.timeoutSeconds = 150;
    RunProcess(server->Psql(), options);  // ended below: its status says nothing
  });
  bool held = false;
  for (int i = 0; i < 600 && !held; ++i) {
    held = server
               ->Sql("postgres",
                     "SELECT count(*) FROM pg_locks l JOIN pg_database d ON d.oid = l.database "
                     "WHERE l.locktype = 'advisory' AND l.granted AND d.datname = '" +
                         database + "'")
               .out == "1\n";
    if (!held) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ProcessResult load;
  auto waited = std::chrono::steady_clock::duration{};
  if (held) {
    const auto start = std::chrono::steady_clock::now();
    load = store_.Load(SampleText());
    waited = std::chrono::steady_clock::now() - start;
  }
  server->Sql("postgres",
              "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = '" +
                  database + "' AND query LIKE '%pg_sleep(120)%' AND pid <> pg_backend_pid()");
  holder.join();
  ASSERT_TRUE(held) << "the other load never took the lock";
  EXPECT_EQ(load.exitStatus, 3);
  EXPECT_NE(load.err.find("busy with another load"), std::string::npos) << load.err;
  EXPECT_GE(waited, std::chrono::seconds(4));
  EXPECT_EQ(store_.Run({"dump"}).out, before);
}

// An export needs connect, usage and select only.
TEST_F(ServerStore, AReadOnlyRoleExportsAndCannotLoad) {
  ASSERT_EQ(store_.Load(SampleText()).exitStatus, 0);
  const std::string role = store_.Database() + "_reader";
  store_.Server()->Sql("postgres", "CREATE ROLE " + role + " LOGIN");
  store_.Server()->Sql(store_.Database(), "GRANT CONNECT ON DATABASE " + store_.Database() +
                                              " TO " + role + "; GRANT USAGE ON SCHEMA public TO " +
                                              role +
                                              "; GRANT SELECT ON ALL TABLES IN SCHEMA "
                                              "public TO " +
                                              role);
  ProcessOptions options;
  options.env = {{"LEDGER_ENGINE_DB", store_.Server()->Uri(store_.Database(), role)}};
  options.args = {"dump"};
  const ProcessResult dump = RunProcess(LEDGER_ENGINE_TOOL, options);
  EXPECT_EQ(dump.exitStatus, 0) << dump.err;
  EXPECT_EQ(dump.out, FileDumpOf(SampleText()));
  options.args = {"load", "-"};
  options.input = SmallText();
  const ProcessResult load = RunProcess(LEDGER_ENGINE_TOOL, options);
  EXPECT_EQ(load.exitStatus, 3);
  EXPECT_NE(load.err.find("permission denied"), std::string::npos) << load.err;
  EXPECT_EQ(store_.Run({"dump"}).out, dump.out);
}

}  // namespace
}  // namespace pv14::testing
