// One export through the real Win32 dialogs of the installed program,
// driven by window messages as a user drives them by hand: the conditions
// dialog found by its caption, the income kind clicked, the path typed,
// 実行 pressed, the completion message answered. The report must be the
// console run's, byte for byte. Needs a display (Xvfb under wine in CI).
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>

#include "platform/win32/WindowsApi.h"
#include "tests/e2e/ExportFixture.h"
#include "tests/support/XmlCheck.h"
#include "resources/ControlIds.h"

namespace pv14::testing {
namespace {

constexpr char kLevelOne[] = "[ProgramLevel]\r\nPV14=1\r\n";
constexpr int kOtherIncome = ids::kOtherRadio;  // IncomeKind 2
constexpr int kPathEdit = ids::kOutputPathEdit;
constexpr int kExecute = ids::kExecuteButton;
constexpr int kMessageText = 0xFFFF;  // the text of a message box
const wchar_t kConditionsCaption[] = L"\x6240\x5F97\x7A0E - \x96C6\x8A08\x6761\x4EF6";
const wchar_t kMessageCaption[] = L"\x6240\x5F97\x7A0E";
const wchar_t kDoneText[] = L"\x6240\x5F97\x7A0E\x60C5\x5831\x306E\x51FA\x529B\x304C\x7D42\x4E86";
// XMLファイルの出力に失敗しました
const wchar_t kFailureText[] = L"XML\x30D5\x30A1\x30A4\x30EB\x306E\x51FA\x529B\x306B\x5931\x6557";

std::string GoldenFile(const std::string& name) {
  return std::string(PV14_SOURCE_DIR) + "/tests/golden/" + name;
}

// A shown dialog of the caption that a process of the program's file name
// owns: other tests (the platform tests' dialogs) may show the same caption
// on the same desktop meanwhile.
struct DialogSearch {
  const wchar_t* caption;
  std::wstring programName;
  HWND found = nullptr;
};

std::wstring ProcessFileName(HWND window) {
  DWORD id = 0;
  ::GetWindowThreadProcessId(window, &id);
  HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  if (process == nullptr) return {};
  wchar_t image[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  const bool named = ::QueryFullProcessImageNameW(process, 0, image, &size);
  ::CloseHandle(process);
  if (!named) return {};
  const std::wstring path(image, size);
  return path.substr(path.find_last_of(L"\\/") + 1);
}

BOOL CALLBACK MatchDialog(HWND window, LPARAM searchAddress) {
  auto* search = reinterpret_cast<DialogSearch*>(searchAddress);
  wchar_t text[256] = {};
  wchar_t windowClass[64] = {};
  ::GetWindowTextW(window, text, 256);
  ::GetClassNameW(window, windowClass, 64);
  if (std::wstring(windowClass) != L"#32770" || std::wstring(text) != search->caption ||
      !::IsWindowVisible(window) ||
      ::_wcsicmp(ProcessFileName(window).c_str(), search->programName.c_str()) != 0) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

HWND WaitForDialog(const wchar_t* caption, const std::string& program, std::chrono::seconds limit) {
  DialogSearch search{caption, std::filesystem::path(program).filename().wstring()};
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    ::EnumWindows(&MatchDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return nullptr;
}

std::wstring ItemText(HWND dialog, int id) {
  wchar_t text[512] = {};
  ::GetDlgItemTextW(dialog, id, text, 512);
  return text;
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
};

TEST_F(GuiRunTest, ReportEqualsTheConsoleRunsReport) {
  const std::string guiReport = WindowsPath(root_.Join("out/gui.xml"));
  ProcessOptions options = RunOptions("", "");
  options.env["PV14_UI"] = "win32";
  std::erase(options.unsetEnv, "DISPLAY");
  ProcessResult gui;
  std::thread run([&] { gui = RunProcess(programPath_, options); });

  std::wstring message;
  if (HWND dialog = WaitForDialog(kConditionsCaption, programPath_, std::chrono::seconds(40))) {
    ::PostMessageW(::GetDlgItem(dialog, kOtherIncome), BM_CLICK, 0, 0);
    const std::wstring path(guiReport.begin(), guiReport.end());  // ASCII
    ::SendMessageW(::GetDlgItem(dialog, kPathEdit), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(path.c_str()));
    ::PostMessageW(::GetDlgItem(dialog, kExecute), BM_CLICK, 0, 0);
    if (HWND box = WaitForDialog(kMessageCaption, programPath_, std::chrono::seconds(40))) {
      message = ItemText(box, kMessageText);
      ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
  }
  run.join();
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
  const std::string guiReport = WindowsPath(root_.Join("out/ended.xml"));
  ProcessOptions options = RunOptions("", "");
  options.env["PV14_UI"] = "win32";
  std::erase(options.unsetEnv, "DISPLAY");
  ProcessResult gui;
  std::thread run([&] { gui = RunProcess(programPath_, options); });

  std::wstring message;
  LRESULT mayEnd = FALSE;
  if (HWND dialog = WaitForDialog(kConditionsCaption, programPath_, std::chrono::seconds(40))) {
    mayEnd = ::SendMessageW(dialog, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    const std::wstring path(guiReport.begin(), guiReport.end());  // ASCII
    ::SendMessageW(::GetDlgItem(dialog, kPathEdit), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(path.c_str()));
    ::PostMessageW(::GetDlgItem(dialog, kExecute), BM_CLICK, 0, 0);
    if (HWND box = WaitForDialog(kMessageCaption, programPath_, std::chrono::seconds(40))) {
      message = ItemText(box, kMessageText);
      ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
  }
  run.join();
  EXPECT_TRUE(mayEnd);
  EXPECT_NE(message.find(kFailureText), std::wstring::npos) << "no failure message\n" << gui.err;
  EXPECT_EQ(message.find(kDoneText), std::wstring::npos);
  EXPECT_EQ(gui.exitStatus, 2) << gui.err;
}

}  // namespace
}  // namespace pv14::testing
