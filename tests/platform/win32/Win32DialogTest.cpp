// The Win32 face's modal dialog on real controls (needs a display: under
// wine and Xvfb in CI): the controls the logic addresses by id, the byte
// limit of the edit, and which event each input becomes, with keys reaching
// the logic before the dialog manager.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/win32/WindowHandle.h"
#include "platform/win32/WindowsApi.h"
#include "platform/win32/face/Win32Ui.h"
#include "resources/Templates.h"
#include "tests/platform/Sj.h"
#include "resources/ControlIds.h"

namespace pv14::testing {
namespace {

constexpr int kEdit = ids::kOutputPathEdit;
constexpr int kExecute = ids::kExecuteButton;
constexpr int kCancel = ids::kCancelButton;

// Records the events; ends the dialog on 実行 (1013) and キャンセル.
class ScriptedLogic : public DialogLogic {
 public:
  std::function<void(DialogControls&, HWND)> init;
  bool consumeF12 = true;
  std::vector<std::string> events;

  bool OnInitDialog(DialogControls& controls) override {
    if (init) init(controls, win32::ToHwnd(controls.Handle()));
    return true;
  }
  void OnCommand(DialogControls& controls, int id) override {
    events.push_back("command " + std::to_string(id));
    if (id == kExecute || id == kCancel) controls.EndDialog(id);
  }
  void OnCancel(DialogControls& controls) override {
    events.push_back("cancel");
    controls.EndDialog(kCancel);
  }
  bool PreTranslateKey(DialogControls& controls, int key, int focusId) override {
    events.push_back("key " + std::to_string(key) + " on " + std::to_string(focusId));
    if (key != VK_F12 || !consumeF12) return false;
    controls.EndDialog(kExecute);
    return true;
  }
};

class Win32DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui_ = win32::OpenWin32Ui();
    if (ui_ == nullptr) GTEST_SKIP() << "the Win32 face cannot run here";
  }
  int Run(ScriptedLogic& logic) {
    return ui_->RunModal(ConditionDialogTemplate(), kNoWindow, logic);
  }
  Ui* ui_ = nullptr;
};

TEST_F(Win32DialogTest, ControlsAreTheRealOnes) {
  ScriptedLogic logic;
  std::vector<std::string> seen;
  logic.init = [&](DialogControls& c, HWND dialog) {
    c.SetText(1004, Sj("事業所名 表ソ能"));
    seen.push_back(c.GetText(1004) == Sj("事業所名 表ソ能") ? "text kept" : "text lost");
    c.SetCheck(1012, true);
    c.SetCheck(1010, false);
    seen.push_back(c.IsChecked(1012) && !c.IsChecked(1010) ? "checked" : "check lost");
    c.Enable(1011, false);
    seen.push_back(!c.IsEnabled(1011) && c.IsEnabled(1012) ? "disabled" : "enable lost");
    // Typed characters are held to 5 bytes: あ would make 6.
    c.LimitText(kEdit, 5);
    HWND edit = ::GetDlgItem(dialog, kEdit);
    for (wchar_t typed : std::wstring(L"abcd\x3042"
                                      L"e"))
      ::SendMessageW(edit, WM_CHAR, typed, 0);
    seen.push_back(c.GetText(kEdit));
    // What the program reads of a character it cannot hold.
    ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"x\x00E9y"));
    seen.push_back(c.GetText(kEdit));
    // The program's own text is not held to the limit.
    c.SetText(kEdit, "C:\\long\\name.xml");
    seen.push_back(c.GetText(kEdit));
    c.SetFocus(kEdit);
    seen.push_back("focus " + std::to_string(c.GetFocus()));
    c.SelectAll(kEdit);
    DWORD from = 0, to = 0;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    seen.push_back("selected " + std::to_string(from) + ".." + std::to_string(to));
    seen.push_back(c.Handle() == win32::FromHwnd(dialog) ? "handle" : "other handle");
    c.EndDialog(kExecute);
  };
  EXPECT_EQ(Run(logic), kExecute);
  EXPECT_EQ(seen, (std::vector<std::string>{"text kept", "checked", "disabled", "abcde", "x?y",
                                            "C:\\long\\name.xml", "focus 1016", "selected 0..16",
                                            "handle"}));
  EXPECT_TRUE(logic.events.empty());  // ended during initialisation: no input taken
}

struct InputCase {
  const char* name;
  int control;  // the window the input goes to; 0 for the dialog
  UINT message;
  WPARAM wParam;
  bool consumeF12;
  int result;
  std::vector<std::string> events;
};

void PrintTo(const InputCase& c, std::ostream* os) { *os << c.name; }

class Win32DialogInputTest : public Win32DialogTest,
                             public ::testing::WithParamInterface<InputCase> {};

TEST_P(Win32DialogInputTest, BecomesTheEvent) {
  const InputCase& c = GetParam();
  ScriptedLogic logic;
  logic.consumeF12 = c.consumeF12;
  logic.init = [&](DialogControls&, HWND dialog) {
    HWND target = c.control != 0 ? ::GetDlgItem(dialog, c.control) : dialog;
    ::PostMessageW(target, c.message, c.wParam, 0);
    // Should the input end nothing, the dialog still ends: キャンセル once
    // the queue is empty (a timer fires only then).
    ::SetTimer(dialog, 1, 200, [](HWND window, UINT, UINT_PTR timer, DWORD) {
      ::KillTimer(window, timer);
      ::PostMessageW(::GetDlgItem(window, kCancel), BM_CLICK, 0, 0);
    });
  };
  EXPECT_EQ(Run(logic), c.result);
  EXPECT_EQ(logic.events, c.events);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, Win32DialogInputTest,
    ::testing::Values(
        InputCase{
            "PushButtonClickIsItsCommand", kExecute, BM_CLICK, 0, true, kExecute, {"command 1013"}},
        InputCase{
            "RadioButtonClickIsNoCommand", 1012, BM_CLICK, 0, true, kCancel, {"command 1014"}},
        InputCase{"KeyReachesTheLogicFirstWithTheFocusedControl",
                  kEdit,
                  WM_KEYDOWN,
                  VK_F12,
                  true,
                  kExecute,
                  {"key 123 on 1016"}},
        InputCase{"EscapeLeftByTheLogicIsTheCancelCommand",
                  kEdit,
                  WM_KEYDOWN,
                  VK_ESCAPE,
                  true,
                  kCancel,
                  {"key 27 on 1016", "cancel"}},
        InputCase{"CloseBoxIsTheCancelCommand", 0, WM_CLOSE, 0, true, kCancel, {"cancel"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pv14::testing
