// A run reads the store in one read transaction, from Initiate to its end:
// it sees one state of the store while a load waits for it, and a load that
// waits too long gives up and leaves the store as it was.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "engine/LedgerEngine.h"
#include "tests/engine/JsonValues.h"
#include "tests/engine/ToolStore.h"

namespace pv14::testing {
namespace {

std::string CurrentUser() {
  char user[65] = {};
  ClDataMgr::Inst()->GetSysUserObject()->GetCurUserID(user);
  return user;
}

TEST(ReadTransaction, ALoadWaitsUntilTheRunEnds) {
  ToolStore store;
  ASSERT_EQ(store.Load(SampleText()).exitStatus, 0);
  ::setenv("LEDGER_ENGINE_DB", store.DatabasePath().c_str(), 1);
  ClAccConnect* connect = ClAccConnect::Inst();
  ASSERT_EQ(connect->Initiate(), kEngineOk);
  ASSERT_EQ(CurrentUser(), "NOTO");

  ProcessResult load;
  std::thread loader([&] { load = store.Load(R"({"CurrentUserId": "LATER"})"); });
  std::this_thread::sleep_for(std::chrono::seconds(1));
  EXPECT_EQ(CurrentUser(), "NOTO") << "the run reads the state it began with";
  connect->Terminate();  // ends the run's reading, as LogOut and Release do
  loader.join();
  EXPECT_EQ(load.exitStatus, 0) << load.err;

  ASSERT_EQ(connect->Initiate(), kEngineOk);
  EXPECT_EQ(CurrentUser(), "LATER");
  connect->LogOut();
}

TEST(ReadTransaction, ALoadGivesUpAfterItsTimeoutAndChangesNothing) {
  ToolStore store;
  ASSERT_EQ(store.Load(SampleText()).exitStatus, 0);
  const ProcessResult before = store.Dump();
  ::setenv("LEDGER_ENGINE_DB", store.DatabasePath().c_str(), 1);
  ClAccConnect* connect = ClAccConnect::Inst();
  ASSERT_EQ(connect->Initiate(), kEngineOk);

  const ProcessResult load = store.Load(R"({"CurrentUserId": "LATER"})");
  EXPECT_EQ(load.exitStatus, 3);
  EXPECT_NE(load.err.find("stayed locked by another program (an export or a load); try again when "
                          "it ends (the store is unchanged)"),
            std::string::npos)
      << load.err;
  EXPECT_EQ(CurrentUser(), "NOTO");
  connect->LogOut();
  EXPECT_EQ(store.Dump().out, before.out);
}

}  // namespace
}  // namespace pv14::testing
