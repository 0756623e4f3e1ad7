// An engine store that cannot be read: the export fails (exit status 2)
// without a word of its own, and the engine says why on one stderr line,
// naming the store; `ledger-engine dump` says the same, and `load` either
// makes a store of it or refuses and leaves it exactly as it was.
#include <sys/stat.h>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "tests/e2e/ExportFixture.h"

namespace pv14::testing {
namespace {

constexpr char kLevelOne[] = "[ProgramLevel]\r\nPV14=1\r\n";
constexpr char kStartOver[] =
    "; to start over, move it away and run `ledger-engine load FILE.json`";

struct StoreFault {
  const char* name;
  // Leaves the fault at path; sample is a path to put a good store at.
  void (*make)(const std::string& path, const std::string& sample);
  std::string why;  // the cause, with @ standing for the store's path
  int loadStatus;   // `ledger-engine load` over it: 0 makes a store, 3 refuses
};

void PrintTo(const StoreFault& fault, std::ostream* out) { *out << fault.name; }

std::string WithPath(std::string text, const std::string& path) {
  const std::size_t at = text.find('@');
  return at == std::string::npos ? text : text.replace(at, 1, path);
}

ProcessResult Tool(const std::string& database, const std::vector<std::string>& args) {
  ProcessOptions options;
  options.args = args;
  options.env = {{"LEDGER_ENGINE_DB", database}};
  options.timeoutSeconds = 20;
  return RunProcess(LEDGER_ENGINE_TOOL, options);
}

std::string PseudoRandomBytes(std::size_t size) {
  std::string bytes;
  std::uint32_t state = 12345;
  for (std::size_t i = 0; i < size; ++i) {
    state = state * 1103515245u + 12345u;
    bytes += static_cast<char>(state >> 16);
  }
  return bytes;
}

// A good store changed by hand behind the engine's back, its version kept.
void Altered(const std::string& path, const std::string& sample, const char* sql) {
  const std::string json = std::string(PV14_SOURCE_DIR) + "/samples/sample-company.json";
  ASSERT_EQ(Tool(path, {"load", json}).exitStatus, 0);
  static_cast<void>(sample);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  char* error = nullptr;
  const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &error);
  const std::string why = error != nullptr ? error : "";
  sqlite3_free(error);
  sqlite3_close(db);
  ASSERT_EQ(rc, SQLITE_OK) << why;
}

class StoreFaults : public ExportFixture, public ::testing::WithParamInterface<StoreFault> {};

TEST_P(StoreFaults, AreNamedByTheEngineAndLeftAlone) {
  const StoreFault& fault = GetParam();
  InstallProgram(PV14_STD_PROGRAM, kLevelOne, "");
  const std::string store = root_.Join("engine.sqlite");
  const std::string sampleFile = std::string(PV14_SOURCE_DIR) + "/samples/sample-company.json";
  fault.make(store, root_.Join("good.sqlite"));
  const bool isFile = std::filesystem::is_regular_file(store);
  const std::string bytes = isFile ? ReadFileBytes(store) : "";
  const std::string why = WithPath(fault.why, store);

  const ProcessResult run = Run("", "execute\n");
  EXPECT_EQ(run.exitStatus, 2);
  EXPECT_EQ(run.err, "ledger engine: " + why + "\n") << "one line from the engine, none from us";
  EXPECT_EQ(run.out, "");

  const ProcessResult dump = Tool(store, {"dump"});
  EXPECT_EQ(dump.exitStatus, 3);
  EXPECT_EQ(dump.out, "");
  EXPECT_EQ(dump.err, "ledger-engine: " + why + "\n");
  if (isFile) {
    EXPECT_EQ(ReadFileBytes(store), bytes) << "reading changed nothing";
  }

  const ProcessResult load = Tool(store, {"load", sampleFile});
  EXPECT_EQ(load.exitStatus, fault.loadStatus) << load.err;
  if (fault.loadStatus == 0) {
    EXPECT_EQ(Tool(store, {"dump"}).exitStatus, 0);
  } else {
    EXPECT_NE(load.err.find(why), std::string::npos) << load.err;
    EXPECT_EQ(std::filesystem::is_regular_file(store), isFile);
    if (isFile) {
      EXPECT_EQ(ReadFileBytes(store), bytes);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Engine, StoreFaults,
    ::testing::Values(
        StoreFault{"NoStoreSaysHowToMakeOne", [](const std::string&, const std::string&) {},
                   "there is no store at @; create one with `ledger-engine load FILE.json`", 0},
        StoreFault{"EmptyFile",
                   [](const std::string& path, const std::string&) { WriteFileBytes(path, ""); },
                   "@ is an empty file, not a store; fill it with `ledger-engine load FILE.json`",
                   0},
        StoreFault{"RandomBytesAreNoDatabase",
                   [](const std::string& path, const std::string&) {
                     WriteFileBytes(path, PseudoRandomBytes(5000));
                   },
                   std::string("@ is not a database, so not a store") + kStartOver, 3},
        StoreFault{"TruncatedStoreIsDamaged",
                   [](const std::string& path, const std::string& sample) {
                     ASSERT_EQ(Tool(sample, {"load", std::string(PV14_SOURCE_DIR) +
                                                         "/samples/sample-company.json"})
                                   .exitStatus,
                               0);
                     const std::string whole = ReadFileBytes(sample);
                     WriteFileBytes(path, whole.substr(0, whole.size() / 2));
                   },
                   std::string("@ is damaged (database disk image is malformed)") + kStartOver, 3},
        StoreFault{"Directory",
                   [](const std::string& path, const std::string&) {
                     std::filesystem::create_directory(path);
                   },
                   "@ is a directory, not a store; LEDGER_ENGINE_DB names the store's file", 3},
        StoreFault{"FifoIsNeverOpened",
                   [](const std::string& path, const std::string&) {
                     ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
                   },
                   "@ is not a regular file, so not a store", 3},
        StoreFault{"DroppedColumn",
                   [](const std::string& path, const std::string& sample) {
                     Altered(path, sample, "ALTER TABLE users DROP COLUMN \"SelectedDataNo\"");
                   },
                   std::string("@ is not a store as this engine makes it: the table users has no "
                               "column SelectedDataNo") +
                       kStartOver,
                   0},
        StoreFault{"DroppedTable",
                   [](const std::string& path, const std::string& sample) {
                     Altered(path, sample, "DROP TABLE monthly_totals");
                   },
                   std::string("@ is not a store as this engine makes it: there is no table "
                               "monthly_totals") +
                       kStartOver,
                   0},
        StoreFault{"AddedColumn",
                   [](const std::string& path, const std::string& sample) {
                     Altered(path, sample, "ALTER TABLE data_sets ADD COLUMN note TEXT");
                   },
                   std::string("@ is not a store as this engine makes it: the table data_sets "
                               "has a column note of no store of this engine") +
                       kStartOver,
                   0},
        StoreFault{"ChangedColumnType",
                   [](const std::string& path, const std::string& sample) {
                     Altered(path, sample,
                             "PRAGMA writable_schema = ON; UPDATE sqlite_master SET sql = "
                             "replace(sql, '\"DataNo\" INTEGER', '\"DataNo\" TEXT') WHERE "
                             "name = 'data_sets'");
                   },
                   std::string("@ is not a store as this engine makes it: the table data_sets "
                               "is not made as this engine makes it") +
                       kStartOver,
                   0}),
    [](const auto& info) { return std::string(info.param.name); });

// Working as a user the store does not know would export nobody's data.
TEST_F(ExportFixture, AnEngineUserWhoIsNoUserOfTheStoreStopsTheStart) {
  InstallProgram(PV14_STD_PROGRAM, kLevelOne, "");
  const std::string store = root_.Join("engine.sqlite");
  ASSERT_EQ(Tool(store, {"load", std::string(PV14_SOURCE_DIR) + "/samples/sample-company.json"})
                .exitStatus,
            0);
  ProcessOptions options = RunOptions("", "execute\n");
  options.env["LEDGER_ENGINE_USER"] = "NOBODY";
  const ProcessResult run = RunProcess(programPath_, options);
  EXPECT_EQ(run.exitStatus, 2);
  EXPECT_EQ(run.err,
            "ledger engine: LEDGER_ENGINE_USER names \"NOBODY\", who is no user of the "
            "store " +
                store + "\n");
}

// A desk without PostgreSQL's client library, its store on a server: the
// run fails at its start with one line naming the package to install.
TEST_F(ExportFixture, AServerStoreWithoutTheClientLibraryStopsTheStartInOneLine) {
#ifndef PV14_HIDE_CLIENT_LIBRARY
  GTEST_SKIP() << "this build has no server store";
#else
  InstallProgram(PV14_NET_PROGRAM, kLevelOne, "");
  engineDb_ = "postgresql://clerk:Pa55word@/books?host=" + root_.Join("no-server");
  const std::string report = root_.Join("out/report.xml");
  ProcessOptions options = RunOptions("4242,32768,7," + WindowsPath(report), "execute\n");
  PreloadLibrary(options, PV14_HIDE_CLIENT_LIBRARY);
  const ProcessResult run = RunProcess(programPath_, options);
  EXPECT_EQ(run.exitStatus, 2);
  EXPECT_EQ(run.err,
            "ledger engine: cannot use the server store postgresql://clerk@/books?host=" +
                root_.Join("no-server") +
                ": a server store needs the PostgreSQL client library libpq.so.5, which is not "
                "installed; install the package libpq5\n");
  EXPECT_EQ(run.out, "");
  EXPECT_FALSE(std::filesystem::exists(report));
#endif
}

TEST(StoreFaults, NoPlaceForAStoreIsSaid) {
  TempDir folder("noplace");
  ProcessOptions options;
  options.input = "execute\n";
  options.workingDirectory = folder.path();
  options.env = {{"PV14_UI", "console"}};
  options.unsetEnv = {"LEDGER_ENGINE_DB", "XDG_DATA_HOME", "HOME", "DISPLAY", "WAYLAND_DISPLAY"};
  const ProcessResult run = RunProcess(PV14_STD_PROGRAM, options);
  EXPECT_EQ(run.exitStatus, 2);
  EXPECT_EQ(run.err, "ledger engine: no place for the store: set LEDGER_ENGINE_DB or HOME\n");
}

}  // namespace
}  // namespace pv14::testing
