// The accounting application's side on Windows: a real window whose handle
// is on the export's command line. The export (console face, scripted, and
// the Win32 dialogs) disables it, brings it to the foreground at its end,
// enables it and posts the message with the function id and the exit code.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/WindowsApi.h"
#include "tests/e2e/ExportFixture.h"
#include "tests/e2e/win32/ProgramWindows.h"
#include "resources/ControlIds.h"

namespace pv14::testing {
namespace {

constexpr UINT kNotifyMessage = 0x8000;  // WM_APP, as a caller would choose
constexpr char kLevelOne[] = "[ProgramLevel]\r\nPV14=1\r\n";

// What the caller's window saw, in order.
std::vector<std::string>* seen = nullptr;
WPARAM postedWParam = 0;
LPARAM postedLParam = 0;

LRESULT CALLBACK CallerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (seen != nullptr) {
    if (message == WM_ENABLE) {
      seen->push_back(wParam ? "enabled" : "disabled");
    } else if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE) {
      seen->push_back("foreground");
    } else if (message == kNotifyMessage) {
      seen->push_back("posted");
      postedWParam = wParam;
      postedLParam = lParam;
    }
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND NewWindow(const wchar_t* title) {
  static const ATOM kClass = [] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = CallerProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"Pv14TestCaller";
    return ::RegisterClassW(&windowClass);
  }();
  if (kClass == 0) return nullptr;
  HWND window = ::CreateWindowExW(0, L"Pv14TestCaller", title, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                  nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  if (window != nullptr) ::ShowWindow(window, SW_SHOWNORMAL);
  return window;
}

struct CallerCase {
  const char* name;
  const char* functionId;
  const char* input;
  int exitCode;
  INT_PTR wParam;  // the function id as the caller reads it: sign-extended
};

void PrintTo(const CallerCase& c, std::ostream* os) { *os << c.name; }

class CallerWindowTest : public ExportFixture, public ::testing::WithParamInterface<CallerCase> {
 protected:
  void SetUp() override {
    InstallProgram(PV14_STD_PROGRAM, kLevelOne, "");
    nlohmann::ordered_json data = nlohmann::ordered_json::parse(
        ReadFileBytes(std::string(PV14_SOURCE_DIR) + "/tests/golden/blue-general.json"));
    const std::string home = WindowsPath(root_.Join("home"));
    data["AppFolders"] = {{"Documents", home + "\\Documents\\"},
                          {"Settings", home + "\\settings\\"}};
    LoadEngine(data.dump());
    seen = &seen_;
  }
  void TearDown() override {
    seen = nullptr;
    for (HWND window : {caller_, other_}) {
      if (window != nullptr) ::DestroyWindow(window);
    }
  }

  // Runs the export on another thread while this one, the windows' own,
  // answers the messages the export sends.
  ProcessResult RunPumping(const ProcessOptions& options) {
    ProcessResult result;
    HANDLE done = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread run([&] {
      result = RunProcess(programPath_, options);
      ::SetEvent(done);
    });
    for (;;) {
      MSG message;
      while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
      if (::MsgWaitForMultipleObjects(1, &done, FALSE, 60000, QS_ALLINPUT) == WAIT_OBJECT_0) break;
    }
    run.join();
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    ::CloseHandle(done);
    return result;
  }

  // Dispatches what comes to this thread's windows for the time given.
  static void SettleMessages(std::chrono::milliseconds time) {
    const auto end = std::chrono::steady_clock::now() + time;
    for (auto now = std::chrono::steady_clock::now(); now < end;
         now = std::chrono::steady_clock::now()) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - now);
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left.count()), QS_ALLINPUT);
      MSG message;
      while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    }
  }

  // The caller's window, made and shown while another window has the
  // foreground; the command line that names it.
  std::string ShowCaller(const std::string& functionId, const std::string& report) {
    caller_ = NewWindow(L"caller");
    other_ = NewWindow(L"other");
    EXPECT_NE(caller_, nullptr);
    EXPECT_NE(other_, nullptr);
    // The caller lets the export take the foreground, and is not in it now.
    ::AllowSetForegroundWindow(ASFW_ANY);
    ::SetForegroundWindow(other_);
    // The display's own focus changes for the new windows arrive late under
    // wine: they are taken before the run, not counted as the run's.
    SettleMessages(std::chrono::milliseconds(300));
    EXPECT_NE(::GetForegroundWindow(), caller_);
    seen_.clear();
    const auto handle = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(caller_));
    return std::to_string(handle) + "," + std::to_string(kNotifyMessage) + "," + functionId + "," +
           report;
  }

  std::vector<std::string> seen_;
  HWND caller_ = nullptr;
  HWND other_ = nullptr;
};

TEST_P(CallerWindowTest, IsDisabledForegroundedEnabledAndNotified) {
  const CallerCase& c = GetParam();
  const std::string report = WindowsPath(root_.Join("out/report.xml"));
  const ProcessResult result = RunPumping(RunOptions(ShowCaller(c.functionId, report), c.input));

  EXPECT_EQ(result.exitStatus, c.exitCode) << result.err;
  EXPECT_EQ(seen_, (std::vector<std::string>{"disabled", "foreground", "enabled", "posted"}));
  EXPECT_EQ(static_cast<INT_PTR>(postedWParam), c.wParam);
  EXPECT_EQ(postedLParam, c.exitCode);
  EXPECT_TRUE(::IsWindowEnabled(caller_));
  EXPECT_EQ(::GetForegroundWindow(), caller_);
}

class CallerOfTheWin32Face : public CallerWindowTest {};

// The dialogs are used by hand, from another thread, while this one answers
// the caller's messages: the caller stays disabled while they show.
TEST_F(CallerOfTheWin32Face, IsDisabledWhileTheDialogsShowThenEnabledAndNotified) {
  const std::string report = WindowsPath(root_.Join("out/gui.xml"));
  ProcessOptions options = RunOptions(ShowCaller("7", report), "");
  options.env["PV14_UI"] = "win32";
  std::erase(options.unsetEnv, "DISPLAY");
  bool disabledWhileShown = false;
  std::wstring message;
  std::thread user([&] {
    if (HWND dialog = WaitForDialog(kConditionsCaption, programPath_, std::chrono::seconds(40))) {
      disabledWhileShown = !::IsWindowEnabled(caller_);
      ::PostMessageW(::GetDlgItem(dialog, ids::kExecuteButton), BM_CLICK, 0, 0);
      if (HWND box = WaitForDialog(kMessageCaption, programPath_, std::chrono::seconds(40))) {
        disabledWhileShown = disabledWhileShown && !::IsWindowEnabled(caller_);
        message = ItemText(box, kMessageText);
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
      }
    }
  });
  const ProcessResult result = RunPumping(options);
  user.join();

  EXPECT_FALSE(message.empty()) << "no closing message\n" << result.err;
  EXPECT_TRUE(disabledWhileShown);
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_FALSE(ReadFileBytes(root_.Join("out/gui.xml")).empty());
  // Each dialog that closes hands the activation back to its owner, the
  // caller, as the system does: the order of the rest is the run's.
  std::vector<std::string> run = seen_;
  std::erase(run, "foreground");
  EXPECT_EQ(run, (std::vector<std::string>{"disabled", "enabled", "posted"}));
  const auto enabled = std::find(seen_.begin(), seen_.end(), "enabled");
  EXPECT_NE(std::find(seen_.begin(), enabled, "foreground"), enabled) << "foregrounded first";
  EXPECT_EQ(postedWParam, 7u);
  EXPECT_EQ(postedLParam, 0);
  EXPECT_TRUE(::IsWindowEnabled(caller_));
}

INSTANTIATE_TEST_SUITE_P(Runs, CallerWindowTest,
                         ::testing::Values(CallerCase{"Written", "7", "execute\n", 0, 7},
                                           CallerCase{"Cancelled", "7", "cancel\n", 1, 7},
                                           CallerCase{"FunctionIdSignExtended", "40000", "cancel\n",
                                                      1, -25536}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pv14::testing
