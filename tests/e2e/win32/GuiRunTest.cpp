// One export through the real Win32 dialogs of the installed program,
// driven by window messages as a user drives them by hand: the conditions
// dialog found by its caption, the income kind clicked, the path typed,
// 実行 pressed, the completion message answered. The report must be the
// console run's, byte for byte. Needs a display (Xvfb under wine in CI).
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>

#include "platform/win32/WindowsApi.h"
#include "tests/e2e/ExportFixture.h"
#include "tests/e2e/win32/ProgramWindows.h"
#include "tests/support/XmlCheck.h"
#include "resources/ControlIds.h"

namespace pv14::testing {
namespace {

constexpr char kLevelOne[] = "[ProgramLevel]\r\nPV14=1\r\n";
constexpr int kOtherIncome = ids::kOtherRadio;  // IncomeKind 2
constexpr int kPathEdit = ids::kOutputPathEdit;
constexpr int kExecute = ids::kExecuteButton;
const wchar_t kDoneText[] = L"\x6240\x5F97\x7A0E\x60C5\x5831\x306E\x51FA\x529B\x304C\x7D42\x4E86";
// XMLファイルの出力に失敗しました
const wchar_t kFailureText[] = L"XML\x30D5\x30A1\x30A4\x30EB\x306E\x51FA\x529B\x306B\x5931\x6557";

std::string GoldenFile(const std::string& name) {
  return std::string(PV14_SOURCE_DIR) + "/tests/golden/" + name;
}

class GuiRunTest : public ExportFixture {
 protected:
  void SetUp() override {
    InstallProgram(PV14_STD_PROGRAM, kLevelOne, "");
    root_.WriteFile("program/SUPPORT.INF", ReadFileBytes(GoldenFile("SUPPORT.INF")));
    // Scope 1: business income is preselected, other income is clicked.
    nlohmann::ordered_json data =
        nlohmann::ordered_json::parse(ReadFileBytes(GoldenFile("white-general.json")));
    const std::string home = WindowsPath(root_.Join("home"));
    data["AppFolders"] = {{"Documents", home + "\\Documents\\"},
                          {"Settings", home + "\\settings\\"}};
    LoadEngine(data.dump());
  }

  // Runs the program with the system's dialogs and uses them: prepare acts on
  // the shown conditions dialog, the report path is typed, 実行 is pressed
  // and the message box that follows is answered. Its text, empty when none
  // showed.
  std::wstring ExportThroughDialogs(const std::string& report,
                                    const std::function<void(HWND)>& prepare,
                                    ProcessResult* result) {
    ProcessOptions options = RunOptions("", "");
    options.env["PV14_UI"] = "win32";
    std::erase(options.unsetEnv, "DISPLAY");
    std::thread run([&] { *result = RunProcess(programPath_, options); });
    std::wstring message;
    if (HWND dialog = WaitForDialog(kConditionsCaption, programPath_, std::chrono::seconds(40))) {
      prepare(dialog);
      const std::wstring path(report.begin(), report.end());  // ASCII
      ::SendMessageW(::GetDlgItem(dialog, kPathEdit), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(path.c_str()));
      ::PostMessageW(::GetDlgItem(dialog, kExecute), BM_CLICK, 0, 0);
      if (HWND box = WaitForDialog(kMessageCaption, programPath_, std::chrono::seconds(40))) {
        message = ItemText(box, kMessageText);
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
      }
    }
    run.join();
    return message;
  }
};

TEST_F(GuiRunTest, ReportEqualsTheConsoleRunsReport) {
  const std::string guiReport = WindowsPath(root_.Join("out/gui.xml"));
  ProcessResult gui;
  const std::wstring message = ExportThroughDialogs(
      guiReport,
      [](HWND dialog) { ::PostMessageW(::GetDlgItem(dialog, kOtherIncome), BM_CLICK, 0, 0); },
      &gui);
  ASSERT_NE(message.find(kDoneText), std::wstring::npos) << "no completion message\n" << gui.err;
  EXPECT_EQ(gui.exitStatus, 0) << gui.err;

  const std::string consoleReport = WindowsPath(root_.Join("out/console.xml"));
  const ProcessResult console = Run("", "2\npath " + consoleReport + "\nexecute\n");
  ASSERT_EQ(console.exitStatus, 0) << console.err;

  const std::string written = ReadFileBytes(guiReport);
  ASSERT_FALSE(written.empty());
  const std::string difference = FirstDifference(ReadFileBytes(consoleReport), written);
  EXPECT_TRUE(difference.empty()) << difference;
}

// The session ending while the dialog shows: the system's question is let
// through, and the export that follows stops at its first line, says so and
// ends as any failed run does.
TEST_F(GuiRunTest, TheSessionsEndFailsTheRun) {
  LRESULT mayEnd = FALSE;
  ProcessResult gui;
  const std::wstring message = ExportThroughDialogs(
      WindowsPath(root_.Join("out/ended.xml")),
      [&](HWND dialog) {
        mayEnd = ::SendMessageW(dialog, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
      },
      &gui);
  EXPECT_TRUE(mayEnd);
  EXPECT_NE(message.find(kFailureText), std::wstring::npos) << "no failure message\n" << gui.err;
  EXPECT_EQ(message.find(kDoneText), std::wstring::npos);
  EXPECT_EQ(gui.exitStatus, 2) << gui.err;
}

}  // namespace
}  // namespace pv14::testing
