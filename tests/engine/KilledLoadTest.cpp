// A `ledger-engine load` killed part-way leaves its journal behind: whoever
// opens the store next rolls it back, so the store reads exactly as before
// that load, through the tool and through the engine's classes alike. The
// real tool process is killed (SIGKILL) at chosen system calls: strace
// stops it on entering the n-th call of a kind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <algorithm>
#include <map>
#include <memory>
#include <ostream>
#include <string>

#include "engine/LedgerEngine.h"
#include "tests/engine/JsonValues.h"
#include "tests/engine/ToolStore.h"
#include "tests/support/TempDir.h"

namespace pv14::testing {
namespace {

constexpr char kStrace[] = "/usr/bin/strace";
constexpr int kBulkRows = 8000;  // enough that the load writes the store before it commits

// The sample with one more data set whose long income list outgrows the
// tool's page cache.
std::string BulkText() {
  Json file = Json::parse(SampleText());
  Json rows = Json::array();
  for (int i = 1; i <= kBulkRows; ++i) {
    rows.push_back({{"RowKey", i},
                    {"Location", "東京都港区南青山五丁目十番地"},
                    {"TenantName", "表 能子 " + std::to_string(i)},
                    {"AnnualRent", 960000 + i},
                    {"Deposit", "160000.5"}});
  }
  file["DataSets"].push_back({{"DataId", "BULK"},
                              {"DataNo", 99},
                              {"ReturnKind", 3},
                              {"RealEstateSaveInfo", {{"IncomeRows", rows}}}});
  return file.dump();
}

// The environment of a traced tool: a leak check cannot stop a traced
// process to look for leaks, and would end the tool at exit.
std::map<std::string, std::string> TracedEnvironment(const std::string& database) {
  return {{"LEDGER_ENGINE_DB", database}, {"ASAN_OPTIONS", "detect_leaks=0"}};
}

bool CanTrace() {
  if (!std::filesystem::exists(kStrace)) return false;
  ProcessOptions options;
  options.args = {"-o", "/dev/null", "/bin/true"};
  return RunProcess(kStrace, options).exitStatus == 0;
}

// The calls of a complete load of the bulk file over the sample, by kind;
// "unlink-journal" is the ordinal of the unlink that deletes the journal,
// the load's commit point.
std::map<std::string, int> CountCalls(const std::string& bulkFile) {
  ToolStore store;
  EXPECT_EQ(store.Load(SampleText()).exitStatus, 0);
  const std::string trace = store.Folder().Join("trace.txt");
  ProcessOptions options;
  options.args = {
      "-f",   "-o",    trace, "-e", "trace=pwrite64,fdatasync,unlink", LEDGER_ENGINE_TOOL,
      "load", bulkFile};
  options.env = TracedEnvironment(store.DatabasePath());
  EXPECT_EQ(RunProcess(kStrace, options).exitStatus, 0);
  std::map<std::string, int> counts;
  std::ifstream lines(trace);
  for (std::string line; std::getline(lines, line);) {
    for (const char* call : {"pwrite64", "fdatasync", "unlink"}) {
      if (line.find(std::string(call) + "(") == std::string::npos) continue;
      ++counts[call];
      if (std::string(call) == "unlink" && line.find("-journal\"") != std::string::npos) {
        counts["unlink-journal"] = counts["unlink"];
      }
    }
  }
  return counts;
}

struct KillPoint {
  const char* name;
  const char* call;       // the system call the tool is killed on
  const char* counted;    // which count the ordinal comes from
  double share;           // the ordinal: this share of the count, at least 1
  bool classesReadFirst;  // the engine's classes, not the tool, open the store first
};

void PrintTo(const KillPoint& point, std::ostream* out) { *out << point.name; }

class KilledLoad : public ::testing::TestWithParam<KillPoint> {
 protected:
  static void SetUpTestSuite() {
    if (!CanTrace()) return;
    folder_ = std::make_unique<TempDir>("bulk");
    bulkFile_ = folder_->WriteFile("bulk.json", BulkText());
    counts_ = CountCalls(bulkFile_);
  }
  static void TearDownTestSuite() { folder_.reset(); }

  static std::unique_ptr<TempDir> folder_;
  static std::string bulkFile_;
  static std::map<std::string, int> counts_;
};

std::unique_ptr<TempDir> KilledLoad::folder_;
std::string KilledLoad::bulkFile_;
std::map<std::string, int> KilledLoad::counts_;

// What the engine's classes read of the sample: the current user, the
// selected data set and its first income statement row.
void ExpectClassesReadTheSample(const std::string& database) {
  ::setenv("LEDGER_ENGINE_DB", database.c_str(), 1);
  ClAccConnect* connect = ClAccConnect::Inst();
  ASSERT_EQ(connect->Initiate(), kEngineOk);
  EXPECT_EQ(connect->ExpSysLink(), kEngineOk);
  char user[65] = {};
  EXPECT_EQ(ClDataMgr::Inst()->GetSysUserObject()->GetCurUserID(user), kEngineOk);
  EXPECT_STREQ(user, "NOTO");
  const StDATAINFO* selected = ClDataMgr::Inst()->GetSetObject(5, 1)->GetSelectedInfo();
  ASSERT_NE(selected, nullptr);
  EXPECT_STREQ(selected->DataId, "NOTO-HYOGU-2023");
  ClRuleAo rules;
  rules.SetCurDataID(selected->DataId);
  ASSERT_EQ(rules.Ready(nullptr), kEngineOk);
  StAOSUMINFO row{};
  EXPECT_EQ(rules.MoveFirst_PL(RuleAoSumGeneral, &row), kEngineOk);
  EXPECT_GT(rules.GetCount_PL(RuleAoSumGeneral), 0);
  connect->LogOut();
  connect->Terminate();
  connect->Release();
}

TEST_P(KilledLoad, LeavesTheStoreAsItWasBefore) {
  if (!CanTrace()) GTEST_SKIP() << "strace cannot trace here";
  const KillPoint& point = GetParam();
  const int count = counts_[point.counted];
  ASSERT_GT(count, 0) << "a complete load makes no " << point.counted << " call";
  const int ordinal = std::max(1, static_cast<int>(count * point.share));

  ToolStore store;
  ASSERT_EQ(store.Load(SampleText()).exitStatus, 0);
  const ProcessResult before = store.Dump();
  ASSERT_EQ(before.exitStatus, 0) << before.err;

  ProcessOptions options;
  options.args = {
      "-f",
      "-o",
      "/dev/null",
      "-e",
      std::string("inject=") + point.call + ":signal=SIGKILL:when=" + std::to_string(ordinal),
      LEDGER_ENGINE_TOOL,
      "load",
      bulkFile_};
  options.env = TracedEnvironment(store.DatabasePath());
  const ProcessResult killed = RunProcess(kStrace, options);
  ASSERT_NE(killed.exitStatus, 0) << "the load ran to its end: " << killed.err;
  ASSERT_TRUE(std::filesystem::exists(store.DatabasePath() + "-journal"))
      << "killed at " << point.call << " " << ordinal << " of " << count;

  if (point.classesReadFirst) ExpectClassesReadTheSample(store.DatabasePath());
  const ProcessResult after = store.Dump();
  ASSERT_EQ(after.exitStatus, 0) << after.err;
  EXPECT_EQ(after.out, before.out);
  if (!point.classesReadFirst) ExpectClassesReadTheSample(store.DatabasePath());
  // A journal the load had not yet made whole is no threat, and stays until
  // the next load, which must go through.
  const ProcessResult next = store.Load(R"({"CurrentUserId": "NEXT"})");
  ASSERT_EQ(next.exitStatus, 0) << next.err;
  EXPECT_EQ(Json::parse(store.Dump().out)["CurrentUserId"], "NEXT");
  EXPECT_FALSE(std::filesystem::exists(store.DatabasePath() + "-journal"));
}

INSTANTIATE_TEST_SUITE_P(
    Tool, KilledLoad,
    ::testing::Values(KillPoint{"AtTheFirstJournalWrite", "pwrite64", "pwrite64", 0, true},
                      KillPoint{"AQuarterIntoTheWrites", "pwrite64", "pwrite64", 0.25, false},
                      KillPoint{"HalfwayThroughTheWrites", "pwrite64", "pwrite64", 0.5, true},
                      KillPoint{"AtTheLastWrite", "pwrite64", "pwrite64", 1.0, false},
                      KillPoint{"AtTheFirstSync", "fdatasync", "fdatasync", 0, false},
                      KillPoint{"AtTheLastSync", "fdatasync", "fdatasync", 1.0, true},
                      KillPoint{"JustBeforeCommitting", "unlink", "unlink-journal", 1.0, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pv14::testing
