// The built program run as the accounting application runs it: the exit
// status, the caller's window messages, the messages shown and the report.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "tests/e2e/ExportFixture.h"
#include "tests/support/XmlCheck.h"

namespace pv14::testing {
namespace {

using std::chrono::milliseconds;

constexpr char kLevelOne[] = "[ProgramLevel]\r\nPV14=1\r\n";
constexpr char kSupportInf[] = "[=製品名=]勘定丸１９ 試験版\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]19.00.07\r\n";

// One data set the user has selected, with a return kind that has no
// sections: the report then holds its header blocks and an empty DATA block.
std::string HeaderOnlyEngine(const std::string& home) {
  std::string settings;
  for (char c : ExportFixture::WindowsPath(home) + "\\settings\\") {
    settings += c;
    if (c == '\\') settings += c;  // escaped for JSON
  }
  return R"({
  "CurrentUserId": "U1",
  "AppFolders": { "Documents": "", "Settings": ")" +
         settings + R"(" },
  "Users": [ { "UserId": "U1", "SelectedKeyNo": 1, "SelectedDataNo": 7 } ],
  "DataSets": [
    { "DataId": "D6", "DataNo": 6, "CompanyName": "別の会社", "ReturnKind": 3 },
    { "DataId": "D7", "DataNo": 7, "CompanyName": "ABC ソフト&表計算",
      "PeriodFrom": 20170101, "PeriodTo": 20171231, "ReturnKind": 9, "StatementScope": 3 }
  ]
})";
}

std::string ExpectedHeaderOnlyReport(const std::string& functionId,
                                     const std::string& productName = "勘定丸１９ 試験版",
                                     const std::string& productVersion = "19.00.07") {
  return "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
         "<REPORT>\n"
         "\t<SYSTEM>\n"
         "\t\t<GYOUMUPREFIX>PV14</GYOUMUPREFIX>\n"
         "\t\t<VERSION>1</VERSION>\n"
         "\t\t<FUNCTIONID>" +
         functionId +
         "</FUNCTIONID>\n"
         "\t\t<CONNECTEDPROGRAMVER>19.00.00</CONNECTEDPROGRAMVER>\n"
         "\t\t<PROGRAMNAME>" +
         productName + "</PROGRAMNAME>\n\t\t<PROGRAMVER>" + productVersion +
         "</PROGRAMVER>\n"
         "\t</SYSTEM>\n"
         "\t<BASIC>\n"
         "\t\t<KOMONSAKINAME>ＡＢＣ　ソフト＆表計算</KOMONSAKINAME>\n"
         "\t\t<AOSIROKUBUN>1</AOSIROKUBUN>\n"
         "\t\t<JIGYOUNENDOFROM>20170101</JIGYOUNENDOFROM>\n"
         "\t\t<JIGYOUNENDOTO>20171231</JIGYOUNENDOTO>\n"
         "\t\t<SYOTOKUSYURUI>1</SYOTOKUSYURUI>\n"
         "\t</BASIC>\n"
         "\t<DATA>\n"
         "\t\t<EIGYOUSYOTOKU>\n"
         "\t\t</EIGYOUSYOTOKU>\n"
         "\t</DATA>\n"
         "</REPORT>\n";
}

class RunTest : public ExportFixture {
 protected:
  void SetUp() override {
    InstallProgram(PV14_STD_PROGRAM, kLevelOne, kSupportInf);
    LoadEngine(HeaderOnlyEngine(root_.Join("home")));
    report_ = root_.Join("out/report.xml");
  }
  std::string CallerLine(const std::string& functionId) const {
    return "4242,32768," + functionId + "," + WindowsPath(report_);
  }

  std::string report_;
};

TEST_F(RunTest, CallerRunWritesTheReportAndPostsDone) {
  ProcessResult result = Run(CallerLine("5"), "execute\n");
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(caller_.Drain(milliseconds(300)),
            (std::vector<std::string>{"EnableWindow 0", "SetForegroundWindow", "EnableWindow 1",
                                      "PostMessage 32768 5 0", "EnableWindow 1"}));
  EXPECT_EQ(root_.ReadFile("out/report.xml"), ReportBytes(ExpectedHeaderOnlyReport("5")));
  EXPECT_EQ(XmlWellFormednessErrors(root_.ReadFile("out/report.xml")), "");
  EXPECT_NE(result.err.find("所得税情報の出力が終了しました。"), std::string::npos) << result.err;
}

TEST_F(RunTest, FunctionIdIsSixteenBitsSigned) {
  ProcessResult result = Run(CallerLine("40000"), "execute\n");
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  const auto messages = caller_.Drain(milliseconds(300));
  ASSERT_EQ(messages.size(), 5u);
  EXPECT_EQ(messages[3], "PostMessage 32768 4294941760 0");
  EXPECT_EQ(root_.ReadFile("out/report.xml"), ReportBytes(ExpectedHeaderOnlyReport("-25536")));
}

TEST_F(RunTest, CancelledDialogPostsOneAndWritesNothing) {
  ProcessResult result = Run(CallerLine("5"), "cancel\n");
  EXPECT_EQ(result.exitStatus, 1);
  const auto messages = caller_.Drain(milliseconds(300));
  ASSERT_EQ(messages.size(), 5u);
  EXPECT_EQ(messages[3], "PostMessage 32768 5 1");
  EXPECT_EQ(root_.ReadFile("out/report.xml"), "");
  EXPECT_NE(result.err.find("｢所得税｣の集計を中止します。"), std::string::npos) << result.err;
}

TEST_F(RunTest, ReportThatCannotBeWrittenFailsWithItsMessage) {
  // A FIFO nobody reads passes the dialog's checks; the report then cannot
  // be opened.
  std::filesystem::create_directories(root_.Join("out"));
  ASSERT_EQ(::mkfifo(report_.c_str(), 0600), 0);
  ProcessResult result = Run(CallerLine("5"), "execute\n");
  EXPECT_EQ(result.exitStatus, 2) << result.err;
  const auto messages = caller_.Drain(milliseconds(300));
  ASSERT_EQ(messages.size(), 5u);
  EXPECT_EQ(messages[3], "PostMessage 32768 5 2");
  EXPECT_NE(result.err.find("XMLファイルの出力に失敗しました。"), std::string::npos) << result.err;
}

TEST_F(RunTest, DriveWithoutARootCannotBeCreated) {
  // A letter outside the drive table passes the drive check; its root, like
  // a missing drive's on Windows, cannot be made: the dialog says so and
  // stays, and the end of the input cancels.
  ProcessResult result = Run("4242,32768,5,Q:\\report.xml", "execute\ny\n");
  EXPECT_EQ(result.exitStatus, 1) << result.err;
  EXPECT_NE(result.err.find("フォルダの作成に失敗しました。"), std::string::npos) << result.err;
  EXPECT_EQ(result.err.find("XMLファイルの出力に失敗しました。"), std::string::npos) << result.err;
  const auto messages = caller_.Drain(milliseconds(300));
  ASSERT_EQ(messages.size(), 5u);
  EXPECT_EQ(messages[3], "PostMessage 32768 5 1");
}

TEST_F(RunTest, StartedAloneNotifiesNobody) {
  ProcessResult result = Run("", "path " + WindowsPath(report_) + "\nexecute\n");
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_TRUE(caller_.Drain(milliseconds(200)).empty());
  EXPECT_EQ(root_.ReadFile("out/report.xml"), ReportBytes(ExpectedHeaderOnlyReport("1")));
}

TEST_F(RunTest, IncompleteCommandLineIsNoCaller) {
  ProcessResult result = Run("4242,5", "path " + WindowsPath(report_) + "\nexecute\n");
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_TRUE(caller_.Drain(milliseconds(200)).empty());
  EXPECT_EQ(root_.ReadFile("out/report.xml"), ReportBytes(ExpectedHeaderOnlyReport("1")));
}

struct LevelCase {
  const char* name;
  std::string levelFile;  // empty: no KurodaiDef.ini
  const char* message;    // expected in the output; null when the run goes on

  friend void PrintTo(const LevelCase& c, std::ostream* os) { *os << c.name; }
};

class CompatibilityRunTest : public ExportFixture,
                             public ::testing::WithParamInterface<LevelCase> {};

TEST_P(CompatibilityRunTest, RefusedReleaseEndsWithFailure) {
  const LevelCase& c = GetParam();
  InstallProgram(PV14_STD_PROGRAM, c.levelFile, "");
  LoadEngine(HeaderOnlyEngine(root_.Join("home")));
  ProcessResult result = Run("4242,32768,5," + WindowsPath(root_.Join("out/r.xml")), "execute\n");
  const auto messages = caller_.Drain(milliseconds(300));
  ASSERT_EQ(messages.size(), 5u) << result.err;
  if (c.message == nullptr) {
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(messages[3], "PostMessage 32768 5 0");
  } else {
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_EQ(messages[3], "PostMessage 32768 5 2");
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    EXPECT_EQ(root_.ReadFile("out/r.xml"), "");
  }
}

INSTANTIATE_TEST_SUITE_P(Levels, CompatibilityRunTest,
                         ::testing::Values(LevelCase{"NoFile", "", "動作環境が不正です。"},
                                           LevelCase{"EmptyValue", "[ProgramLevel]\r\nPV14=\r\n",
                                                     "動作環境が不正です。"},
                                           LevelCase{"NoKeyMeansLevelOne", "[Other]\r\nPV14=5\r\n",
                                                     nullptr},
                                           LevelCase{"LevelTwo", "[ProgramLevel]\r\nPV14=2\r\n",
                                                     "連動コンポーネントの最新版"},
                                           LevelCase{"LevelZero", "[ProgramLevel]\r\nPV14=0\r\n",
                                                     "ES_APRPACKAGENAMEの最新版を入手して"}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- faults

// A console nobody reads any more (the reader of its pipe has gone, as with
// `| head`) must not stop the export.
TEST_F(RunTest, StderrThatCannotBeWrittenStopsNothing) {
  ProcessOptions options = RunOptions(CallerLine("5"), "execute\n");
  options.stderrClosed = true;
  ProcessResult result = RunProcess(programPath_, options);
  EXPECT_EQ(result.signal, 0);
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(root_.ReadFile("out/report.xml"), ReportBytes(ExpectedHeaderOnlyReport("5")));
  const auto messages = caller_.Drain(milliseconds(300));
  ASSERT_EQ(messages.size(), 5u);
  EXPECT_EQ(messages[3], "PostMessage 32768 5 0");
}

// A log (stderr not a terminal) gets the progress caption once per tenth.
TEST_F(RunTest, ProgressCaptionIsLoggedOncePerTenth) {
  ProcessResult result = Run(CallerLine("5"), "execute\n");
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  std::vector<std::string> captions;
  std::size_t start = 0;
  while (start < result.err.size()) {
    std::size_t end = result.err.find('\n', start);
    if (end == std::string::npos) end = result.err.size();
    const std::string line = result.err.substr(start, end - start);
    if (line.starts_with("集計中")) captions.push_back(line);
    start = end + 1;
  }
  EXPECT_LE(captions.size(), 11u) << result.err;
  ASSERT_FALSE(captions.empty());
  EXPECT_EQ(captions.back(), "集計中 100％");
}

// The program's own folder without a Windows form: the run goes on as it
// would, and one line says why the installed files are not found.
class DriveTableRunTest : public ExportFixture,
                          public ::testing::WithParamInterface<const char*> {};

TEST_P(DriveTableRunTest, ProgramFolderOutsideTheDrivesIsNamedOnce) {
  InstallProgram(PV14_STD_PROGRAM, kLevelOne, kSupportInf);
  LoadEngine(HeaderOnlyEngine(root_.Join("home")));
  ProcessOptions options = RunOptions("4242,32768,5,Z:\\r.xml", "execute\n");
  options.env["PV14_DRIVES"] = GetParam();
  ProcessResult result = RunProcess(programPath_, options);
  EXPECT_EQ(result.exitStatus, 2) << result.err;
  const std::string note = "the program's folder " + root_.Join("program/") +
                           " has no Windows form under PV14_DRIVES=\"" + GetParam() + "\"";
  const std::size_t first = result.err.find(note);
  EXPECT_NE(first, std::string::npos) << result.err;
  EXPECT_EQ(result.err.find("has no Windows form", first + note.size()), std::string::npos)
      << result.err;
  EXPECT_NE(result.err.find("動作環境が不正です。"), std::string::npos) << result.err;
  const auto messages = caller_.Drain(milliseconds(300));
  ASSERT_EQ(messages.size(), 5u);
  EXPECT_EQ(messages[3], "PostMessage 32768 5 2");
}

INSTANTIATE_TEST_SUITE_P(Tables, DriveTableRunTest,
                         ::testing::Values("H=/some/other/place;;", "H=/some/other/place"));

// A table of separators alone names no drive: it is reported as any odd
// value is, and the default table is used.
TEST_F(RunTest, TableOfSeparatorsAloneIsReported) {
  ProcessOptions options = RunOptions(CallerLine("5"), "execute\n");
  options.env["PV14_DRIVES"] = ";;;";
  ProcessResult result = RunProcess(programPath_, options);
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_NE(result.err.find("PV14_DRIVES: \";;;\" names no drive; using Z=/\n"), std::string::npos)
      << result.err;
  EXPECT_EQ(root_.ReadFile("out/report.xml"), ReportBytes(ExpectedHeaderOnlyReport("5")));
  caller_.Drain(milliseconds(300));
}

// KurodaiDef.ini and SUPPORT.INF that are no regular files count as missing,
// as the Windows calls find them: never read, never waited for.
enum class Special { kDirectory, kFifo, kDevice };

struct InstalledFileCase {
  const char* name;
  const char* file;  // beside the program
  Special kind;
  friend void PrintTo(const InstalledFileCase& c, std::ostream* os) { *os << c.name; }
};

class InstalledFileRunTest : public ExportFixture,
                             public ::testing::WithParamInterface<InstalledFileCase> {};

TEST_P(InstalledFileRunTest, CountsAsMissing) {
  const InstalledFileCase& c = GetParam();
  const bool definition = std::string(c.file) == "KurodaiDef.ini";
  InstallProgram(PV14_STD_PROGRAM, definition ? "" : kLevelOne, definition ? kSupportInf : "");
  LoadEngine(HeaderOnlyEngine(root_.Join("home")));
  const std::string special = root_.Join(std::string("program/") + c.file);
  switch (c.kind) {
    case Special::kDirectory:
      ASSERT_TRUE(std::filesystem::create_directory(special));
      break;
    case Special::kFifo:
      ASSERT_EQ(::mkfifo(special.c_str(), 0644), 0);
      break;
    case Special::kDevice:
      ASSERT_EQ(::symlink("/dev/zero", special.c_str()), 0);
      break;
  }
  ProcessOptions options =
      RunOptions("4242,32768,5," + WindowsPath(root_.Join("out/report.xml")), "execute\n");
  options.timeoutSeconds = 20;
  ProcessResult result = RunProcess(programPath_, options);
  // A missing definition file's key takes its default, level 1; a missing
  // support file gives the edition's product name and the default version.
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(root_.ReadFile("out/report.xml"),
            ReportBytes(definition ? ExpectedHeaderOnlyReport("5")
                                   : ExpectedHeaderOnlyReport("5", "勘定丸１９", "19.00.0X")));
  const auto messages = caller_.Drain(milliseconds(300));
  ASSERT_EQ(messages.size(), 5u);
  EXPECT_EQ(messages[3], "PostMessage 32768 5 0");
}

INSTANTIATE_TEST_SUITE_P(
    Files, InstalledFileRunTest,
    ::testing::Values(InstalledFileCase{"DefinitionDirectory", "KurodaiDef.ini",
                                        Special::kDirectory},
                      InstalledFileCase{"DefinitionFifo", "KurodaiDef.ini", Special::kFifo},
                      InstalledFileCase{"DefinitionDevice", "KurodaiDef.ini", Special::kDevice},
                      InstalledFileCase{"SupportDirectory", "SUPPORT.INF", Special::kDirectory},
                      InstalledFileCase{"SupportFifo", "SUPPORT.INF", Special::kFifo},
                      InstalledFileCase{"SupportDevice", "SUPPORT.INF", Special::kDevice}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pv14::testing
