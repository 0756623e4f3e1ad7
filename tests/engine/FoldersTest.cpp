// ClFileMgr::GetAppFolderPath: the folders the store (of each kind) names, or those under
// $HOME, always cut to the caller's buffer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/engine/SampleEngine.h"

namespace pv14::testing {
namespace {

class Folders : public SampleEngineOf<> {
 protected:
  void SetUp() override {
    const char* home = std::getenv("HOME");
    savedHome_ = home != nullptr ? std::optional<std::string>(home) : std::nullopt;
    ::unsetenv("PV14_DRIVES");  // the default table: Z: is /
    SampleEngine::SetUp();
  }
  void TearDown() override {
    if (savedHome_) ::setenv("HOME", savedHome_->c_str(), 1);
    SampleEngine::TearDown();
  }

  static std::pair<std::int32_t, std::string> Folder(std::int32_t type, std::int32_t size = 261) {
    std::string buffer(static_cast<std::size_t>(size) + 8, '#');  // '#' marks untouched bytes
    const std::int32_t result = ClFileMgr::Inst()->GetAppFolderPath(type, buffer.data(), size);
    EXPECT_EQ(buffer.substr(static_cast<std::size_t>(size)), std::string(8, '#'))
        << "written past the caller's size";
    EXPECT_NE(buffer.find('\0'), std::string::npos);
    return {result, buffer.c_str()};
  }

  // The sample with AppFolders added, loaded into a store of its own.
  void ConnectWithFolders(const std::string& documents, const std::string& settings) {
    Json file = Sample();
    file["AppFolders"] = {{"Documents", documents}, {"Settings", settings}};
    ConnectTo(file.dump());
  }

 private:
  std::optional<std::string> savedHome_;
};

TEST_P(Folders, WithoutAppFoldersTheyLieUnderHome) {
  struct Case {
    const char* home;  // UTF-8, as the environment holds it
    const char* documents;
    const char* settings;
  } cases[] = {
      {"/home/tester", "Z:\\home\\tester\\Documents\\", "Z:\\home\\tester\\.config\\ledger19\\"},
      {"/home/tester/", "Z:\\home\\tester\\Documents\\", "Z:\\home\\tester\\.config\\ledger19\\"},
      // 十 ends in the byte 0x5C, which is no separator: one is still added.
      {"/home/表十", "Z:\\home\\表十\\Documents\\", "Z:\\home\\表十\\.config\\ledger19\\"},
      {"/", "Z:\\Documents\\", "Z:\\.config\\ledger19\\"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.home);
    ::setenv("HOME", c.home, 1);
    EXPECT_EQ(Folder(0), std::make_pair(kEngineOk, Sjis(c.documents)));
    EXPECT_EQ(Folder(1), std::make_pair(kEngineOk, Sjis(c.settings)));
  }
  ::unsetenv("HOME");
  EXPECT_EQ(Folder(0), std::make_pair(kEngineOk, std::string()));
}

TEST_P(Folders, AppFoldersAreTakenAsStored) {
  ConnectWithFolders("Z:\\data\\書類\\", "");
  ::setenv("HOME", "/home/tester", 1);
  EXPECT_EQ(Folder(0), std::make_pair(kEngineOk, Sjis("Z:\\data\\書類\\")));
  EXPECT_EQ(Folder(1), std::make_pair(kEngineOk, std::string())) << "empty is none, not $HOME";
}

TEST_P(Folders, AFolderLongerThanTheBufferIsCutWholeCharactersFirst) {
  // "Z:\表\" in Shift_JIS: Z : \ 0x95 0x5C \ (6 bytes).
  ConnectWithFolders("Z:\\表\\", "Z:\\表\\");
  struct Case {
    std::int32_t size;
    std::int32_t result;
    std::string text;
  } cases[] = {
      {7, kEngineOk, Sjis("Z:\\表\\")},
      {100, kEngineOk, Sjis("Z:\\表\\")},
      {6, -1, Sjis("Z:\\表")},
      {5, -1, "Z:\\"},  // never half of 表
      {4, -1, "Z:\\"},
      {1, -1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    const auto [result, text] = Folder(1, c.size);
    EXPECT_EQ(text, c.text);
    if (c.result == kEngineOk) {
      EXPECT_EQ(result, kEngineOk);
    } else {
      EXPECT_NE(result, kEngineOk) << "a cut folder names another folder";
    }
  }
}

TEST_P(Folders, BadRequestsFail) {
  char buffer[8] = "#######";
  EXPECT_NE(ClFileMgr::Inst()->GetAppFolderPath(2, buffer, sizeof buffer), kEngineOk);
  EXPECT_STREQ(buffer, "");
  EXPECT_NE(ClFileMgr::Inst()->GetAppFolderPath(-1, buffer, sizeof buffer), kEngineOk);
  EXPECT_NE(ClFileMgr::Inst()->GetAppFolderPath(0, nullptr, 8), kEngineOk);
  std::strcpy(buffer, "kept");
  EXPECT_NE(ClFileMgr::Inst()->GetAppFolderPath(0, buffer, 0), kEngineOk);
  EXPECT_STREQ(buffer, "kept") << "no room, nothing written";
  ClAccConnect::Inst()->LogOut();
  EXPECT_NE(ClFileMgr::Inst()->GetAppFolderPath(0, buffer, sizeof buffer), kEngineOk);
  EXPECT_STREQ(buffer, "");
}

INSTANTIATE_TEST_SUITE_P(Stores, Folders, EveryStoreKind(), StoreKindTestName);

}  // namespace
}  // namespace pv14::testing
