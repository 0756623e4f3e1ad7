// The run's own steps against the engine double and a scripted environment:
// the command line, the release check, the current data record, the texts
// handed to the dialog, and the exit step.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/ExportApp.h"
#include "platform/EnvWrapper.h"
#include "resources/Text.h"
#include "tests/fakes/FakeEngine.h"
#include "tests/fakes/FakeUi.h"
#include "tests/fakes/TestEdition.h"
#include "tests/fakes/WindowCallsEnv.h"

namespace pv14 {
namespace {

using testing::FakeEngine;

// The program's folder, its KurodaiDef.ini and the caller's window as
// scripted values; every other call goes to the real environment.
class ScriptedEnv : public testing::WindowCallsEnv {
 public:
  ScriptedEnv() : WindowCallsEnv(Env::Default()) {}

  std::string GetModuleFileName() override { return module; }
  std::string GetCurrentDirectory() override { return directory; }
  bool SetCurrentDirectory(const std::string& path) override {
    directory = path;
    return true;
  }
  bool PathFileExists(const std::string& path) override {
    checkedPaths.push_back(path);
    return iniExists;
  }
  std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                      const std::string& def, const std::string&,
                                      std::size_t size) override {
    if (section != "ProgramLevel" || key != "PV14" || !level) return def;
    return level->substr(0, size - 1);
  }

  std::string module = "Z:\\opt\\ledger\\LedgerStd19ToPv14";
  std::string directory = "Z:\\home\\";
  bool iniExists = true;
  std::optional<std::string> level = "1";
  std::vector<std::string> checkedPaths;
};

class ExportAppTest : public ::testing::Test {
 protected:
  void SetUp() override { FakeEngine::Get().Reset(); }

  ScriptedEnv env_;
  testing::FakeUi ui_;
  ExportApp app_{env_, ui_, testing::TestEdition()};
};

// ---------------------------------------------------------------- command line

struct CommandLineCase {
  const char* name;
  std::string text;
  int complete;
  WindowHandle window;
  std::uint32_t message;
  std::int16_t functionId;
  std::string path;
  friend void PrintTo(const CommandLineCase& c, std::ostream* os) { *os << c.name; }
};

class CommandLineTest : public ExportAppTest,
                        public ::testing::WithParamInterface<CommandLineCase> {};

TEST_P(CommandLineTest, FieldsAreReadUpToTheLastComma) {
  const CommandLineCase& c = GetParam();
  EXPECT_EQ(app_.ParseCommandLine(c.text), c.complete);
  EXPECT_EQ(app_.CallerWindow, c.window);
  EXPECT_EQ(app_.NotifyMessage, c.message);
  EXPECT_EQ(app_.FunctionId, c.functionId);
  EXPECT_EQ(app_.InitialOutputPath, c.path);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, CommandLineTest,
    ::testing::Values(
        CommandLineCase{"Empty", "", 0, 0, 0, 1, ""},
        CommandLineCase{"ThreeFieldsAndNoPath", "1234,32768,5,", 1, 1234, 32768, 5, ""},
        CommandLineCase{"PathKeepsItsCommas", "1234,32768,5,C:\\a,b\\x.xml", 1, 1234, 32768, 5,
                        "C:\\a,b\\x.xml"},
        CommandLineCase{"TwoFieldsKeepTheFirst", "1234,5", 0, 1234, 0, 1, ""},
        CommandLineCase{"NoThirdComma", "1234,32768,5", 0, 1234, 32768, 1, ""},
        CommandLineCase{"FunctionIdWrapsToSixteenBits", "1,2,40000,", 1, 1, 2, -25536, ""},
        CommandLineCase{"BlanksSignsAndJunk", " 12x,+7,-3,", 1, 12, 7, -3, ""},
        CommandLineCase{"NoDigitsGiveZero", "a,b,c,path", 1, 0, 0, 0, "path"},
        CommandLineCase{"QuotesStay", "1,2,3,\"C:\\x.xml\"", 1, 1, 2, 3, "\"C:\\x.xml\""},
        CommandLineCase{"HugeNumbersSaturate", "99999999999,1,1,", 1, 2147483647, 1, 1, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExportAppTest, LongCallerPathIsKeptWhole) {
  const std::string path = "C:\\" + std::string(600, 'a') + ".xml";
  EXPECT_EQ(app_.ParseCommandLine("1,2,3," + path), 1);
  EXPECT_EQ(app_.InitialOutputPath, path);
}

// --------------------------------------------------------- release check

struct LevelCase {
  const char* name;
  bool iniExists;
  std::optional<std::string> level;  // nullopt: no such key
  int passed;
  const char* messageStart;  // UTF-8; null when none
  friend void PrintTo(const LevelCase& c, std::ostream* os) { *os << c.name; }
};

class CompatibilityTest : public ExportAppTest, public ::testing::WithParamInterface<LevelCase> {};

TEST_P(CompatibilityTest, OnlyLevelOnePasses) {
  const LevelCase& c = GetParam();
  env_.iniExists = c.iniExists;
  env_.level = c.level;
  EXPECT_EQ(app_.CompatibilityCheck(1), c.passed);
  auto& messages = FakeEngine::Get().messages;
  if (c.messageStart == nullptr) {
    EXPECT_TRUE(messages.empty());
    return;
  }
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text.rfind(LiteralToCp932(c.messageStart), 0), 0u);
  EXPECT_EQ(messages[0].caption, SJ("所得税"));
  EXPECT_EQ(messages[0].owner, kNoWindow);
  EXPECT_EQ(messages[0].style, kMbOk | kMbIconExclamation);
}

constexpr char kBroken[] = "動作環境が不正です。\nES_APRPACKAGENAMEが";
constexpr char kOlderFiling[] =
    "ご利用の連動コンポーネントは、インストールされているES_APRPACKAGENAMEでは使用できません。\n"
    "ES_APRPACKAGENAMEの最新版";
constexpr char kOlderComponent[] =
    "ご利用の連動コンポーネントは、インストールされているES_APRPACKAGENAMEでは使用できません。\n"
    "連動コンポーネントの最新版";

INSTANTIATE_TEST_SUITE_P(Values, CompatibilityTest,
                         ::testing::Values(LevelCase{"One", true, "1", 1, nullptr},
                                           LevelCase{"LeadingZero", true, "01", 1, nullptr},
                                           LevelCase{"LeadingBlank", true, " 1", 1, nullptr},
                                           LevelCase{"Fraction", true, "1.9", 1, nullptr},
                                           LevelCase{"KeyMissing", true, std::nullopt, 1, nullptr},
                                           LevelCase{"Two", true, "2", 0, kOlderComponent},
                                           LevelCase{"Ten", true, "10", 0, kOlderComponent},
                                           LevelCase{"Zero", true, "0", 0, kOlderFiling},
                                           LevelCase{"Negative", true, "-1", 0, kOlderFiling},
                                           LevelCase{"NoDigits", true, "abc", 0, kOlderFiling},
                                           LevelCase{"EmptyValue", true, "", 0, kBroken},
                                           LevelCase{"NoFile", false, "1", 0, kBroken}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExportAppTest, CompatibilityCheckWithoutMessagesShowsNothing) {
  env_.level = "2";
  EXPECT_EQ(app_.CompatibilityCheck(0), 0);
  EXPECT_TRUE(FakeEngine::Get().messages.empty());
}

TEST_F(ExportAppTest, DefinitionFileIsLookedUpInTheWorkingDirectory) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Z:\\opt\\ledger", "Z:\\opt\\ledger\\KurodaiDef.ini"},
      {"Z:\\", "Z:\\KurodaiDef.ini"},  // a drive root gets no second backslash
      // ソ ends in 0x5C: not a separator, so one is added.
      {LiteralToCp932("Z:\\ソ"), LiteralToCp932("Z:\\ソ\\KurodaiDef.ini")},
      {"", "KurodaiDef.ini"},
  };
  for (const auto& [directory, expected] : cases) {
    env_.directory = directory;
    env_.checkedPaths.clear();
    app_.CompatibilityCheck(0);
    ASSERT_EQ(env_.checkedPaths.size(), 1u);
    EXPECT_EQ(env_.checkedPaths[0], expected) << directory;
  }
}

// --------------------------------------------------------- current data

TEST_F(ExportAppTest, CurrentDataIsTheSelectedNumberWhereverItStands) {
  auto& engine = FakeEngine::Get();
  engine.currentUserId = "ME";
  engine.users["ME"] = {1, 7};
  engine.dataSets = {testing::DataInfo("A", 3, 3, 1), testing::DataInfo("B", 7, 4, 2),
                     testing::DataInfo("C", 7, 3, 3)};
  StDATAINFO record;
  std::memset(&record, 0xAB, sizeof record);
  EXPECT_EQ(app_.CurrentDataReader(&record), 1);
  EXPECT_STREQ(record.DataId, "B");  // the first match only
  EXPECT_EQ(record.ReturnKind, 4);
  EXPECT_EQ(engine.openCursors, 0);
}

TEST_F(ExportAppTest, NoMatchOrAFailedWalkLeavesAnAllZeroRecord) {
  auto& engine = FakeEngine::Get();
  engine.users["USER"] = {1, 9};
  engine.dataSets = {testing::DataInfo("A", 3, 3, 1), testing::DataInfo("B", 9, 4, 2)};
  engine.walkFailAfter = 1;
  StDATAINFO record;
  std::memset(&record, 0xAB, sizeof record);
  EXPECT_EQ(app_.CurrentDataReader(&record), 1);
  StDATAINFO zero;
  std::memset(&zero, 0, sizeof zero);
  EXPECT_EQ(std::memcmp(&record, &zero, sizeof record), 0);
  EXPECT_EQ(engine.openCursors, 0);
  EXPECT_EQ(app_.CurrentDataReader(nullptr), 0);
}

TEST_F(ExportAppTest, CaptionTexts) {
  StDATAINFO record = testing::DataInfo("A", 1, 3, 3);
  std::strcpy(record.CompanyName, "ACME");
  record.PeriodFrom = 20170101;
  record.PeriodTo = 20171231;
  EXPECT_EQ(ExportApp::CaptionText(0, &record), " ACME");
  EXPECT_EQ(ExportApp::CaptionText(1, &record), LiteralToCp932(" 2017/01/01～2017/12/31"));
  EXPECT_EQ(ExportApp::CaptionText(2, &record), "");
  EXPECT_EQ(ExportApp::CaptionText(0, nullptr), "");
  StDATAINFO zero;
  std::memset(&zero, 0, sizeof zero);
  EXPECT_EQ(ExportApp::CaptionText(1, &zero), LiteralToCp932(" 0000/00/00～0000/00/00"));
}

TEST_F(ExportAppTest, LongCompanyNameIsCutAtACharacterBoundary) {
  StDATAINFO record = testing::DataInfo("A", 1, 3, 3);
  // 127 double-byte characters and one more byte: 255 bytes, the most the
  // record holds. With the leading blank the caption may hold 255 bytes.
  const std::string kanji = LiteralToCp932("表");
  std::string name;
  for (int i = 0; i < 127; ++i) name += kanji;
  name += 'x';
  std::memcpy(record.CompanyName, name.data(), name.size());
  record.CompanyName[255] = '\0';
  const std::string caption = ExportApp::CaptionText(0, &record);
  EXPECT_EQ(caption.size(), 255u);
  EXPECT_EQ(caption, " " + name.substr(0, 254));

  name = "x" + name.substr(0, 254);  // now the 255th byte is a lead byte's pair start
  std::memcpy(record.CompanyName, name.data(), name.size());
  EXPECT_EQ(ExportApp::CaptionText(0, &record), " " + name.substr(0, 253));
}

// --------------------------------------------------------- run and exit

TEST_F(ExportAppTest, FailedEngineStartEndsWithoutTouchingTheCaller) {
  FakeEngine::Get().initiateResult = 3;
  EXPECT_FALSE(app_.InitInstance("1234,32768,5,"));
  EXPECT_EQ(app_.ExitInstance(), ExportApp::kFailed);
  EXPECT_TRUE(env_.windowCalls.empty());
  const auto& engine = FakeEngine::Get();
  ASSERT_GE(engine.IndexOf("LogOut"), 0);
  EXPECT_LT(engine.IndexOf("LogOut"), engine.IndexOf("Terminate"));
  EXPECT_LT(engine.IndexOf("Terminate"), engine.IndexOf("Release"));
}

TEST_F(ExportAppTest, EngineIsStartedForTheEdition) {
  FakeEngine::Get().initiateResult = 3;
  app_.InitInstance("");
  const auto& engine = FakeEngine::Get();
  EXPECT_EQ(engine.caption, SJ("所得税"));
  // The app type is the edition's, announced before anything else.
  ASSERT_GE(engine.IndexOf("SetAppType 5"), 0);
  EXPECT_LT(engine.IndexOf("SetAppType 5"), engine.IndexOf("SetUseDataType 2"));
  EXPECT_LT(engine.IndexOf("SetUseDataType 2"), engine.IndexOf("Initiate"));
}

struct LinkCase {
  const char* name;
  std::int32_t linkResult;
  int exitCode;
};

class LinkTest : public ExportAppTest, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(LinkTest, LinkResultEndsTheRunBeforeTheDialog) {
  FakeEngine::Get().expSysLinkResult = GetParam().linkResult;
  EXPECT_FALSE(app_.InitInstance("1234,32768,40000,Z:\\x.xml"));
  EXPECT_EQ(app_.ExitInstance(), GetParam().exitCode);
  EXPECT_EQ(ui_.modalRuns, 0);
  EXPECT_EQ(env_.directory, "Z:\\opt\\ledger\\");
  EXPECT_EQ(FakeEngine::Get().ownerWindow, 1234u);
  EXPECT_EQ(env_.windowCalls,
            (std::vector<std::string>{
                "EnableWindow 1234 0", "SetForegroundWindow 1234", "EnableWindow 1234 1",
                "PostMessage 1234 32768 4294941760 " + std::to_string(GetParam().exitCode),
                "EnableWindow 1234 1"}));
}

INSTANTIATE_TEST_SUITE_P(Results, LinkTest,
                         ::testing::Values(LinkCase{"Cancelled", 1, ExportApp::kCancelled},
                                           LinkCase{"Failed", 2, ExportApp::kFailed},
                                           LinkCase{"Negative", -1, ExportApp::kFailed}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExportAppTest, RefusedReleaseNotifiesTheCallerWithFailure) {
  env_.iniExists = false;
  EXPECT_FALSE(app_.InitInstance("77,100,1,"));
  EXPECT_EQ(app_.ExitInstance(), ExportApp::kFailed);
  EXPECT_EQ(FakeEngine::Get().CountOf("ExpSysLink"), 0);
  ASSERT_EQ(env_.windowCalls.size(), 5u);
  EXPECT_EQ(env_.windowCalls[3], "PostMessage 77 100 1 2");
}

TEST_F(ExportAppTest, IncompleteCommandLineDisablesAndNotifiesNobody) {
  FakeEngine::Get().expSysLinkResult = 1;
  app_.InitInstance("1234,5");
  EXPECT_EQ(app_.ExitInstance(), ExportApp::kCancelled);
  EXPECT_TRUE(env_.windowCalls.empty());
  EXPECT_EQ(app_.CallerWindow, 1234u);
}

}  // namespace
}  // namespace pv14

namespace pv14 {
namespace {

TEST_F(ExportAppTest, OnlyTheExecuteResultLeadsToTheExport) {
  // 1 is the framework's OK command, 2 a front end's own close: neither has
  // passed the output checks.
  for (int result : {1, 2, 1014, -1}) {
    FakeEngine::Get().Reset();
    ExportApp app(env_, ui_, testing::TestEdition());
    ui_.runModal = [result](const DialogTemplate&, WindowHandle, DialogLogic&) { return result; };
    EXPECT_FALSE(app.InitInstance(""));
    EXPECT_EQ(app.ExitInstance(), ExportApp::kCancelled) << result;
    EXPECT_EQ(FakeEngine::Get().CountOf("ClSaveAoSiro::GetDataIppan"), 0) << result;
  }
}

}  // namespace
}  // namespace pv14
