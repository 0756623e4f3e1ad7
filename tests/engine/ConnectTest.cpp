// ClAccConnect: connecting to the store, the link step and disconnecting.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>

#include "platform/Types.h"
#include "tests/engine/SampleEngine.h"

namespace pv14::testing {
namespace {

void ExpectDisconnected() {
  char user[65] = "stale";
  EXPECT_NE(ClDataMgr::Inst()->GetSysUserObject()->GetCurUserID(user), kEngineOk);
  EXPECT_STREQ(user, "");
  ClSetData* sets = ClDataMgr::Inst()->GetSetObject(5, 1);
  std::int32_t cursor = 0;
  EXPECT_NE(sets->GetDatCursor(&cursor), kEngineOk);
  EXPECT_EQ(sets->GetSelectedInfo(), nullptr);
}

void EndInEveryOrder() {
  ClAccConnect* connect = ClAccConnect::Inst();
  connect->Release();
  connect->LogOut();
  connect->Terminate();
  connect->LogOut();
}

struct UnusableStore {
  const char* name;
  void (*make)(const std::string& path);  // leaves something (or nothing) at path
};

class UnusableStores : public ::testing::TestWithParam<UnusableStore> {};

TEST_P(UnusableStores, FailToConnectAndLinkAndAreLeftAsTheyWere) {
  TempDir folder("connect");
  const std::string path = folder.Join("engine.sqlite");
  GetParam().make(path);
  const bool existed = std::filesystem::exists(path);
  const std::string bytes = existed ? ReadFileBytes(path) : "";
  ::setenv("LEDGER_ENGINE_DB", path.c_str(), 1);

  ClAccConnect* connect = ClAccConnect::Inst();
  EXPECT_NE(connect->Initiate(), kEngineOk);
  const std::int32_t link = connect->ExpSysLink();
  EXPECT_NE(link, kEngineOk);
  EXPECT_NE(link, 1) << "1 would read as the user's cancel";
  ExpectDisconnected();
  EndInEveryOrder();

  EXPECT_EQ(std::filesystem::exists(path), existed);
  if (existed) {
    EXPECT_EQ(ReadFileBytes(path), bytes);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Connect, UnusableStores,
    ::testing::Values(UnusableStore{"Missing", [](const std::string&) {}},
                      UnusableStore{"NotADatabase",
                                    [](const std::string& path) {
                                      WriteFileBytes(path, "plain text, not SQLite\n");
                                    }},
                      UnusableStore{"EmptyFile",
                                    [](const std::string& path) { WriteFileBytes(path, ""); }},
                      UnusableStore{"ADatabaseOfSomethingElse",
                                    [](const std::string& path) {
                                      sqlite3* db = nullptr;
                                      sqlite3_open(path.c_str(), &db);
                                      sqlite3_exec(db, "CREATE TABLE notes (text)", nullptr,
                                                   nullptr, nullptr);
                                      sqlite3_close(db);
                                    }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Connect, NoPlaceForTheStoreFailsToConnect) {
  ::setenv("LEDGER_ENGINE_DB", "", 1);
  ::unsetenv("XDG_DATA_HOME");
  const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
  ::unsetenv("HOME");
  EXPECT_NE(ClAccConnect::Inst()->Initiate(), kEngineOk);
  EndInEveryOrder();
  if (!home.empty()) ::setenv("HOME", home.c_str(), 1);
}

class ConnectedSample : public SampleEngineOf<> {};

TEST_P(ConnectedSample, LinksAndServesUntilLoggedOut) {
  EXPECT_EQ(ClAccConnect::Inst()->ExpSysLink(), kEngineOk);
  char user[65] = {};
  EXPECT_EQ(ClDataMgr::Inst()->GetSysUserObject()->GetCurUserID(user), kEngineOk);
  ClAccConnect::Inst()->LogOut();
  ExpectDisconnected();
  EXPECT_NE(ClAccConnect::Inst()->ExpSysLink(), kEngineOk);
  EndInEveryOrder();
}

TEST_P(ConnectedSample, DisplaysMessagesThroughTheFrontEnd) {
  ::setenv("PV14_UI", "console", 1);
  ClAccConnect* connect = ClAccConnect::Inst();
  connect->SetCaption(Sjis("所得税").c_str());
  ::testing::internal::CaptureStderr();
  const std::int32_t shown = connect->DispMsg(kNoWindow, Sjis("動作環境が不正です。").c_str(),
                                              nullptr, kMbOk | kMbIconExclamation);
  const std::string screen = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(shown, kIdOk);
  EXPECT_NE(screen.find("動作環境が不正です。"), std::string::npos) << screen;
  EXPECT_NE(screen.find("所得税"), std::string::npos) << "the caption set for the run";
}

INSTANTIATE_TEST_SUITE_P(Stores, ConnectedSample, EveryStoreKind(), StoreKindTestName);

TEST(Managers, HandOutTheirSingleObjects) {
  EXPECT_EQ(ClAccConnect::Inst(), ClAccConnect::Inst());
  EXPECT_EQ(ClDataMgr::Inst()->GetSysUserObject(), ClDataMgr::Inst()->GetSysUserObject());
  EXPECT_NE(ClDataMgr::Inst()->GetSetObject(5, 1), nullptr);
  EXPECT_EQ(ClDataMgr::Inst()->GetSetObject(5, 1), ClDataMgr::Inst()->GetSetObject(5, 1));
  EXPECT_EQ(ClDataMgr::Inst()->GetSetObject(4, 1), nullptr);
  EXPECT_NE(ClDataMgr::Inst()->GetSetMgr(), nullptr);
  EXPECT_NE(ClLinkMgr::Inst()->GetOptLink(), nullptr);
  EXPECT_EQ(ClFileMgr::Inst(), ClFileMgr::Inst());
}

}  // namespace
}  // namespace pv14::testing
