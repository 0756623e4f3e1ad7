// The Win32 face's file dialog answered as a user answers it (needs a
// display: under wine and Xvfb in CI): the chosen file comes back in the
// program's Shift_JIS, a name Shift_JIS cannot hold is refused with a box
// and asked again, and a cancel chooses nothing.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/WideText.h"
#include "platform/win32/WindowsApi.h"
#include "platform/win32/face/Win32Ui.h"
#include "tests/platform/Sj.h"
#include "tests/support/TempDir.h"

namespace pv14::testing {
namespace {

constexpr wchar_t kTitle[] = L"pv14 file dialog test";
// The file-name control of the system's dialog: a combo box in newer
// versions, an edit in older ones.
constexpr int kFileNameCombo = 0x47C;
constexpr int kFileNameEdit = 0x480;
constexpr int kBoxText = 0xFFFF;

HWND FileNameControl(HWND dialog) {
  HWND control = ::GetDlgItem(dialog, kFileNameCombo);
  return control != nullptr ? control : ::GetDlgItem(dialog, kFileNameEdit);
}

// What the user does at each window that opens, in order: types a name and
// presses OK, presses Cancel, or reads a box and presses OK.
struct Step {
  enum Kind { kChoose, kCancel, kBox } kind;
  std::wstring name;  // kChoose only
};

// Plays the steps from a thread of its own while the test's thread is in the
// dialog, recording what each box said.
class User {
 public:
  explicit User(std::vector<Step> steps) : thread_([this, steps] { Play(steps); }) {}
  ~User() { Finish(); }
  // Waits until every step is played or given up on.
  void Finish() {
    if (thread_.joinable()) thread_.join();
  }
  std::vector<std::string> boxes;
  bool lost = false;  // a window the step needs never showed

 private:
  // The window titled kTitle of the step's kind, once the last one is gone.
  static HWND WaitFor(bool box) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < until) {
      HWND window = ::FindWindowW(L"#32770", kTitle);
      if (window != nullptr && ::IsWindowVisible(window) &&
          (FileNameControl(window) == nullptr) == box) {
        return window;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return nullptr;
  }

  void Play(const std::vector<Step>& steps) {
    for (const Step& step : steps) {
      HWND window = WaitFor(step.kind == Step::kBox);
      if (window == nullptr) {
        lost = true;
        return;
      }
      if (step.kind == Step::kBox) {
        wchar_t text[512] = {};
        ::GetDlgItemTextW(window, kBoxText, text, 512);
        boxes.push_back(win32::WideToUtf8(text).value_or("?"));
      }
      if (step.kind == Step::kChoose) {
        ::SendMessageW(FileNameControl(window), WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(step.name.c_str()));
      }
      const int button = step.kind == Step::kCancel ? IDCANCEL : IDOK;
      ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(::GetDlgItem(window, button)));
      while (::IsWindow(window)) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }

  std::thread thread_;
};

class Win32FileDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui_ = win32::OpenWin32Ui();
    if (ui_ == nullptr) GTEST_SKIP() << "the Win32 face cannot run here";
    // The program's browse request, over a folder holding one report.
    request_.save = true;
    request_.defaultExtension = "XML";
    request_.filter = "Xml Files (*.xml)|*.xml||";
    request_.flags = 0x180C;
    request_.initialFolder = folder_.path();
    request_.title = "pv14 file dialog test";
    const std::wstring existing = *win32::Utf8ToWide(folder_.path()) + L"\\\x65E2\x5B58.xml";
    HANDLE file = ::CreateFileW(existing.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ::CloseHandle(file);
  }

  TempDir folder_{"file-dialog"};
  FileDialogRequest request_;
  Ui* ui_ = nullptr;
};

TEST_F(Win32FileDialogTest, ChosenFileComesBackInShiftJis) {
  User user({{Step::kChoose, L"\x65E2\x5B58.xml"}});
  const std::optional<std::string> chosen = ui_->ShowFileDialog(request_);
  user.Finish();
  EXPECT_FALSE(user.lost);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(*chosen, folder_.path() + "\\" + Sj("既存.xml"));
}

TEST_F(Win32FileDialogTest, NameWithoutShiftJisFormIsRefusedAndAskedAgain) {
  User user(
      {{Step::kChoose, L"x\x00FCy.xml"}, {Step::kBox, L""}, {Step::kChoose, L"\x65E2\x5B58.xml"}});
  const std::optional<std::string> chosen = ui_->ShowFileDialog(request_);
  user.Finish();
  EXPECT_FALSE(user.lost);
  ASSERT_EQ(user.boxes.size(), 1u);
  // The box names the file, with '?' for what Shift_JIS cannot show.
  EXPECT_NE(user.boxes[0].find(folder_.path() + "\\x?y.xml"), std::string::npos) << user.boxes[0];
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(*chosen, folder_.path() + "\\" + Sj("既存.xml"));
}

TEST_F(Win32FileDialogTest, CancelChoosesNothing) {
  User user({{Step::kCancel, L""}});
  EXPECT_EQ(ui_->ShowFileDialog(request_), std::nullopt);
  user.Finish();
  EXPECT_FALSE(user.lost);
}

}  // namespace
}  // namespace pv14::testing
