// The conditions dialog on the console front end, scripted through stdin as
// a user would answer it: the income kind, the output path, the folder and
// overwrite questions, cancelling, and the remembered settings.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/e2e/ExportFixture.h"
#include "tests/support/XmlCheck.h"

namespace pv14::testing {
namespace {

using std::chrono::milliseconds;

constexpr char kLevelOne[] = "[ProgramLevel]\r\nPV14=1\r\n";

std::string JsonEscaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') out += '\\';
    out += c;
  }
  return out;
}

class DialogRunTest : public ExportFixture {
 protected:
  void SetUp() override {
    InstallProgram(PV14_STD_PROGRAM, kLevelOne, "");
    LoadEngine(R"({
  "CurrentUserId": "U1",
  "AppFolders": { "Documents": ")" +
               JsonEscaped(WindowsPath(root_.Join("out")) + "\\") + R"(", "Settings": ")" +
               JsonEscaped(WindowsPath(root_.Join("home/settings")) + "\\") + R"(" },
  "Users": [ { "UserId": "U1", "SelectedKeyNo": 1, "SelectedDataNo": 7 } ],
  "DataSets": [ { "DataId": "D7", "DataNo": 7, "CompanyName": "試験商店",
                  "PeriodFrom": 20230101, "PeriodTo": 20231231,
                  "ReturnKind": 9, "StatementScope": 3 } ]
})");
  }

  std::string Settings() const { return root_.ReadFile("home/settings/LedgerStd19ToPv14.env"); }
  bool Exists(const std::string& relative) const {
    return std::filesystem::exists(root_.Join(relative));
  }
  static std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
      ++n;
    }
    return n;
  }

  // The income-kind element and value a report of that kind carries.
  static std::string KindLines(int kind) {
    static const char* const kElements[] = {"", "EIGYOUSYOTOKU", "SONOTASYOTOKU",
                                            "FUDOUSANSYOTOKU"};
    return "\t\t<SYOTOKUSYURUI>" + std::to_string(kind) + "</SYOTOKUSYURUI>\r\n\t</BASIC>\r\n" +
           "\t<DATA>\r\n\t\t<" + kElements[kind] + ">\r\n";
  }
};

class IncomeKindRunTest : public DialogRunTest, public ::testing::WithParamInterface<int> {};

TEST_P(IncomeKindRunTest, ChosenKindIsWrittenAndRemembered) {
  const int kind = GetParam();
  const std::string path = WindowsPath(root_.Join("out/kind.xml"));
  ProcessResult result = Run("", std::to_string(kind) + "\npath " + path + "\nexecute\n");
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_NE(root_.ReadFile("out/kind.xml").find(KindLines(kind)), std::string::npos);
  EXPECT_EQ(XmlWellFormednessErrors(root_.ReadFile("out/kind.xml")), "");
  // The settings folder did not exist: it is created with the file.
  EXPECT_EQ(Settings(), "U1/1/7:0/0/" + std::to_string(kind) + "/" + path + "\n");
}

INSTANTIATE_TEST_SUITE_P(Kinds, IncomeKindRunTest, ::testing::Values(1, 2, 3));

TEST_F(DialogRunTest, ScriptWithCrLfLinesAndNoLastLineFeedRuns) {
  const std::string path = WindowsPath(root_.Join("out/crlf.xml"));
  ProcessResult result = Run("", "2\r\npath " + path + "\r\nexecute");
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_NE(root_.ReadFile("out/crlf.xml").find(KindLines(2)), std::string::npos);
}

TEST_F(DialogRunTest, DefaultPathIsThePatternInTheDocumentsFolder) {
  // Executing the offered default is refused (the pattern's "*"), then cancelled.
  ProcessResult result = Run("", "execute\ncancel\n");
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_NE(result.err.find(WindowsPath(root_.Join("out")) + "\\*.xml"), std::string::npos)
      << result.err;
  EXPECT_NE(result.err.find("データの出力先に不正な文字が含まれています。"), std::string::npos);
  EXPECT_EQ(Settings(), "");
}

TEST_F(DialogRunTest, MissingFolderIsCreatedOnlyAfterYes) {
  const std::string path = WindowsPath(root_.Join("out/新しい表/sub/r.xml"));
  ProcessResult result = Run("", "path " + path + "\nexecute\nn\nexecute\ny\n");
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(Count(result.err, "指定されたフォルダは存在しません。"), 2u) << result.err;
  EXPECT_FALSE(root_.ReadFile("out/新しい表/sub/r.xml").empty());
}

TEST_F(DialogRunTest, MissingFolderAnsweredNoThenCancelCreatesNothing) {
  const std::string path = WindowsPath(root_.Join("out/none/r.xml"));
  ProcessResult result = Run("", "path " + path + "\nexecute\nn\ncancel\n");
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_FALSE(Exists("out/none"));
  EXPECT_NE(result.err.find("｢所得税｣の集計を中止します。"), std::string::npos);
  EXPECT_EQ(Settings(), "");
}

TEST_F(DialogRunTest, ExistingFileIsOverwrittenOnlyAfterYes) {
  root_.WriteFile("out/old.xml", "old contents");
  const std::string path = WindowsPath(root_.Join("out/old.xml"));

  ProcessResult refused = Run("", "path " + path + "\nexecute\nn\nesc\n");
  EXPECT_EQ(refused.exitStatus, 1);
  EXPECT_NE(refused.err.find("同名のファイルが存在します。"), std::string::npos);
  EXPECT_EQ(root_.ReadFile("out/old.xml"), "old contents");

  ProcessResult accepted = Run("", "path " + path + "\nexecute\ny\n");
  EXPECT_EQ(accepted.exitStatus, 0) << accepted.err;
  EXPECT_NE(root_.ReadFile("out/old.xml").find("<REPORT>"), std::string::npos);
}

TEST_F(DialogRunTest, NextRunOffersTheRememberedKindAndPath) {
  const std::string first = WindowsPath(root_.Join("out/first.xml"));
  ASSERT_EQ(Run("", "3\npath " + first + "\nexecute\n").exitStatus, 0);

  // Nothing chosen: kind 3 and the remembered path are preselected; the
  // existing file is overwritten after Yes.
  ProcessResult again = Run("", "execute\ny\n");
  ASSERT_EQ(again.exitStatus, 0) << again.err;
  EXPECT_NE(root_.ReadFile("out/first.xml").find(KindLines(3)), std::string::npos);
  EXPECT_EQ(Settings(), "U1/1/7:0/0/3/" + first + "\n");
}

TEST_F(DialogRunTest, CallerRunKeepsTheRememberedPath) {
  const std::string remembered = WindowsPath(root_.Join("out/mine.xml"));
  ASSERT_EQ(Run("", "2\npath " + remembered + "\nexecute\n").exitStatus, 0);

  const std::string callers = WindowsPath(root_.Join("out/callers.xml"));
  ProcessResult result = Run("4242,32768,3," + callers, "1\nexecute\n");
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  const auto messages = caller_.Drain(milliseconds(300));
  ASSERT_EQ(messages.size(), 5u);
  EXPECT_EQ(messages[3], "PostMessage 32768 3 0");
  EXPECT_NE(root_.ReadFile("out/callers.xml").find(KindLines(1)), std::string::npos);
  EXPECT_EQ(Settings(), "U1/1/7:0/0/1/" + remembered + "\n");
}

TEST_F(DialogRunTest, CallersPathCannotBeEdited) {
  const std::string callers = WindowsPath(root_.Join("out/fixed.xml"));
  root_.WriteFile("out/fixed.xml", "old");
  ProcessResult result = Run("4242,32768,3," + callers,
                             "path " + WindowsPath(root_.Join("out/other.xml")) + "\nexecute\n");
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  // No overwrite question for the caller's own path.
  EXPECT_EQ(result.err.find("同名のファイルが存在します。"), std::string::npos);
  EXPECT_NE(root_.ReadFile("out/fixed.xml").find("<REPORT>"), std::string::npos);
  EXPECT_FALSE(Exists("out/other.xml"));
}

// ---------------------------------------------------------------- faults

// Paths typed as a newcomer or a broken settings line would type them. The
// remembered path names an existing file: no script may export to it
// unless it typed it.
struct PathScriptCase {
  const char* name;
  std::string path;     // typed after "path "; <out> is the output folder in POSIX form,
                        // <OUT> in Windows form
  std::string answers;  // the lines after "execute"
  int status;
  std::vector<std::string> shown;  // in stderr, in this order
  std::string written;             // the file under out/ that holds the report; empty: none
  std::map<std::string, std::string> env = {};
  friend void PrintTo(const PathScriptCase& c, std::ostream* os) { *os << c.name; }
};

class PathScriptRunTest : public DialogRunTest,
                          public ::testing::WithParamInterface<PathScriptCase> {};

std::string Replaced(std::string text, const std::string& what, const std::string& with) {
  for (std::size_t at = text.find(what); at != std::string::npos;
       at = text.find(what, at + with.size())) {
    text.replace(at, what.size(), with);
  }
  return text;
}

TEST_P(PathScriptRunTest, FailsWhereAPersonWould) {
  const PathScriptCase& c = GetParam();
  const std::string remembered = WindowsPath(root_.Join("out/old.xml"));
  std::filesystem::create_directories(root_.Join("home/settings"));
  root_.WriteFile("home/settings/LedgerStd19ToPv14.env", "U1/1/7:0/0/1/" + remembered + "\n");
  root_.WriteFile("out/old.xml", "old");
  root_.WriteFile("out/keep", "a file, not a folder");
  const std::string path = Replaced(Replaced(c.path, "<out>", root_.Join("out")), "<OUT>",
                                    WindowsPath(root_.Join("out")));
  ProcessOptions options = RunOptions("", "path " + path + "\nexecute\n" + c.answers);
  for (const auto& [name, value] : c.env)
    options.env[name] = Replaced(value, "<root>", root_.path());
  ProcessResult result = RunProcess(programPath_, options);

  EXPECT_EQ(result.exitStatus, c.status) << result.err;
  std::size_t at = 0;
  for (const std::string& expected : c.shown) {
    at = result.err.find(expected, at);
    ASSERT_NE(at, std::string::npos) << expected << "\n" << result.err;
  }
  for (char shown : result.err) {
    const auto byte = static_cast<unsigned char>(shown);
    ASSERT_TRUE((byte >= 0x20 && byte != 0x7F) || shown == '\n') << "raw control byte " << +byte;
  }
  EXPECT_EQ(root_.ReadFile("out/old.xml"), "old");
  EXPECT_EQ(root_.ReadFile("out/keep"), "a file, not a folder");
  std::vector<std::string> reports;
  for (const auto& entry : std::filesystem::directory_iterator(root_.Join("out"))) {
    const std::string name = entry.path().filename().string();
    if (name != "old.xml" && name != "keep") reports.push_back(name);
  }
  EXPECT_EQ(reports,
            c.written.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.written});
}

const char kRefusedCharacters[] = "データの出力先に不正な文字が含まれています。";

INSTANTIATE_TEST_SUITE_P(
    Cases, PathScriptRunTest,
    ::testing::Values(
        PathScriptCase{"CharacterBeyondShiftJisBecomesAQuestionMark",
                       "<OUT>\\\xF0\x9F\x98\x80.xml",
                       "y\n",
                       1,
                       {"typed as ?", kRefusedCharacters},
                       ""},
        PathScriptCase{
            "TabInThePath", "<OUT>\\a\tb.xml", "y\n", 1, {"a␉b.xml", kRefusedCharacters}, ""},
        PathScriptCase{"EscapeSequenceIsShownNotObeyed",
                       "<OUT>\\a\x1b[31mb.xml",
                       "y\n",
                       1,
                       {"a␛[31mb.xml", kRefusedCharacters},
                       ""},
        PathScriptCase{"PosixPathIsNamedThroughTheDrives",
                       "<out>/posix.xml",
                       "",
                       0,
                       {"posix.xml is Z:\\"},
                       "posix.xml"},
        PathScriptCase{"PosixPathOutsideTheDrivesNamesThem",
                       "/elsewhere/x.xml",
                       "y\n",
                       1,
                       {"PV14_DRIVES", "typed as it stands", kRefusedCharacters},
                       "",
                       {{"PV14_DRIVES", "Z=<root>"}}},
        PathScriptCase{"FileWhereTheFolderShouldBe",
                       "<OUT>\\keep\\x.xml",
                       "y\n",
                       1,
                       {"指定されたフォルダは存在しません。", "フォルダの作成に失敗しました。"},
                       ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogRunTest, BrowseWithoutANameSaysWhatItDid) {
  ProcessResult result = Run("", "browse\ncancel\n");
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_NE(result.err.find("the file dialog was cancelled"), std::string::npos) << result.err;
}

}  // namespace
}  // namespace pv14::testing
