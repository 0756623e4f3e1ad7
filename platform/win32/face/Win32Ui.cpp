// The Win32 face: the system's own dialogs, message boxes and file dialog,
// built from the resources compiled into the program (dialogs 130 and 131).
#include "platform/win32/WindowsApi.h"
// After <windows.h>, which they need.
#include <commctrl.h>
#include <commdlg.h>

#include "platform/ChosenFile.h"
#include "platform/TypedText.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WindowHandle.h"
#include "platform/win32/face/Win32Dialog.h"
#include "platform/win32/face/Win32Mapping.h"
#include "platform/win32/face/Win32Progress.h"
#include "platform/win32/face/Win32Ui.h"

namespace pv14::win32 {
namespace {

// IDC_WAIT and IDC_ARROW, as the W functions take them.
const LPCWSTR kWaitCursor = MAKEINTRESOURCEW(32514);
const LPCWSTR kArrowCursor = MAKEINTRESOURCEW(32512);

class Win32Ui final : public Ui {
 public:
  int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                 std::uint32_t style) override {
    HWND window = LiveWindow(owner);
    const int returned =
        ::MessageBoxW(window, DisplayText(text).c_str(), DisplayText(caption).c_str(),
                      MessageBoxFlags(style, window != nullptr));
    return MessageBoxAnswer(returned, style);
  }

  int RunModal(const DialogTemplate& dialog, WindowHandle parent, DialogLogic& logic) override {
    Win32Dialog window(dialog, logic);
    return window.Run(LiveWindow(parent));
  }

  std::optional<std::string> ShowFileDialog(const FileDialogRequest& request) override {
    FileDialogSetup setup = SetUpFileDialog(request);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = LiveWindow(request.owner);
    dialog.lpstrFilter = setup.filter.empty() ? nullptr : setup.filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = setup.file.data();
    dialog.nMaxFile = static_cast<DWORD>(setup.file.size());
    dialog.lpstrInitialDir = setup.initialFolder.empty() ? nullptr : setup.initialFolder.c_str();
    dialog.lpstrTitle = setup.title.empty() ? nullptr : setup.title.c_str();
    dialog.lpstrDefExt = setup.defaultExtension.empty() ? nullptr : setup.defaultExtension.c_str();
    dialog.Flags = setup.flags;
    for (;;) {
      const BOOL chosen = request.save ? ::GetSaveFileNameW(&dialog) : ::GetOpenFileNameW(&dialog);
      if (!chosen) return std::nullopt;
      const std::wstring file = setup.file.c_str();
      if (auto path = WideToCp932(file)) return path;
      // A name no Shift_JIS text can hold names no file the program can
      // open: said, as every face says it, and asked again.
      ::MessageBoxW(
          dialog.hwndOwner,
          DisplayText(UnwritableNameRefusal(Utf16ToUtf8(std::u16string(file.begin(), file.end()))))
              .c_str(),
          dialog.lpstrTitle,
          MessageBoxFlags(kMbOk | kMbIconExclamation, dialog.hwndOwner != nullptr));
    }
  }

  std::unique_ptr<ProgressWindow> CreateProgressWindow(const DialogTemplate& dialog) override {
    HWND window = Win32ProgressWindow::Create(dialog);
    if (window == nullptr) return nullptr;
    return std::make_unique<Win32ProgressWindow>(window);
  }

  bool IsKeyDown(int virtualKey) override { return ::GetKeyState(virtualKey) < 0; }

  void BeginWaitCursor() override {
    if (wait_.Begin()) previous_ = ::SetCursor(::LoadCursorW(nullptr, kWaitCursor));
  }

  void EndWaitCursor() override {
    if (!wait_.End()) return;
    ::SetCursor(previous_ != nullptr ? previous_ : ::LoadCursorW(nullptr, kArrowCursor));
  }

 private:
  WaitCursorDepth wait_;
  HCURSOR previous_ = nullptr;
};

BOOL CALLBACK FoundOne(HMODULE, LPCWSTR, LPWSTR, LONG_PTR found) {
  *reinterpret_cast<bool*>(found) = true;
  return FALSE;  // one is enough
}

}  // namespace

Ui* OpenWin32Ui() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
  if (!::InitCommonControlsEx(&controls)) return nullptr;
  const LPCWSTR kDialogType = MAKEINTRESOURCEW(5);  // RT_DIALOG
  bool found = false;
  ::EnumResourceNamesW(nullptr, kDialogType, &FoundOne, reinterpret_cast<LONG_PTR>(&found));
  if (!found) return nullptr;
  static Win32Ui ui;
  return &ui;
}

}  // namespace pv14::win32
