// Where the engine keeps its store and its default folders on Windows: read
// from the environment in UTF-16, so a profile folder with a name outside
// the system's code page still works.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "ledgerengine/HomeFolders.h"
#include "ledgerengine/StorePath.h"
#include "tests/platform/Sj.h"

namespace pv14::testing {
namespace {

struct Variables {
  const wchar_t* storeFile;  // null: unset
  const wchar_t* localAppData;
  const wchar_t* profile;
  const wchar_t* appData;
};

struct FolderCase {
  const char* name;
  Variables variables;
  std::string store;      // UTF-8
  std::string documents;  // UTF-8 here, Shift_JIS from the engine
  std::string settings;
};

class WindowsFoldersTest : public ::testing::TestWithParam<FolderCase> {
 protected:
  static constexpr const wchar_t* kNames[] = {L"LEDGER_ENGINE_DB", L"LOCALAPPDATA", L"USERPROFILE",
                                              L"APPDATA"};

  void SetUp() override {
    for (const wchar_t* name : kNames) {
      const wchar_t* value = ::_wgetenv(name);
      saved_.push_back(value != nullptr ? std::optional<std::wstring>(value) : std::nullopt);
    }
  }
  void TearDown() override {
    for (std::size_t i = 0; i < std::size(kNames); ++i) {
      Set(kNames[i], saved_[i] ? saved_[i]->c_str() : nullptr);
    }
  }
  static void Set(const wchar_t* name, const wchar_t* value) {
    ::_wputenv_s(name, value != nullptr ? value : L"");
  }

  std::vector<std::optional<std::wstring>> saved_;
};

TEST_P(WindowsFoldersTest, ComeFromTheEnvironment) {
  const FolderCase& c = GetParam();
  Set(L"LEDGER_ENGINE_DB", c.variables.storeFile);
  Set(L"LOCALAPPDATA", c.variables.localAppData);
  Set(L"USERPROFILE", c.variables.profile);
  Set(L"APPDATA", c.variables.appData);
  EXPECT_EQ(ledger::StorePath(), c.store);
  EXPECT_EQ(ledger::HomeFolder(0), c.documents.empty() ? "" : Sj(c.documents));
  EXPECT_EQ(ledger::HomeFolder(1), c.settings.empty() ? "" : Sj(c.settings));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WindowsFoldersTest,
    ::testing::Values(FolderCase{"Defaults",
                                 {nullptr, L"C:\\Users\\me\\AppData\\Local", L"C:\\Users\\me",
                                  L"C:\\Users\\me\\AppData\\Roaming"},
                                 "C:\\Users\\me\\AppData\\Local\\ledger19\\engine.sqlite",
                                 "C:\\Users\\me\\Documents\\",
                                 "C:\\Users\\me\\AppData\\Roaming\\ledger19\\"},
                      FolderCase{"StoreNamedByTheVariable",
                                 {L"D:\\data\\engine.sqlite", L"C:\\L", L"C:\\P\\", L"C:\\R\\"},
                                 "D:\\data\\engine.sqlite",
                                 "C:\\P\\Documents\\",
                                 "C:\\R\\ledger19\\"},
                      FolderCase{"JapaneseNamesInUtf8AndShiftJis",
                                 {nullptr, L"C:\\\u8868\\Local", L"C:\\\u8868", nullptr},
                                 "C:\\表\\Local\\ledger19\\engine.sqlite",
                                 "C:\\表\\Documents\\",
                                 "C:\\表\\AppData\\Roaming\\ledger19\\"},
                      FolderCase{"NameWithoutAShiftJisForm",
                                 {L"C:\\\u00e9\\e.sqlite", nullptr, L"C:\\\u00e9", nullptr},
                                 "C:\\é\\e.sqlite",
                                 "",
                                 ""},
                      FolderCase{"NothingSet", {nullptr, nullptr, nullptr, nullptr}, "", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pv14::testing
