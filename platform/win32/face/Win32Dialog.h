// A modal dialog of the Win32 face: the real dialog manager builds it from
// the program's dialog resource, and its events go to the DialogLogic. The
// modal loop is the face's own, as the framework's is, so that every key
// reaches the logic's PreTranslateKey before the dialog manager sees it.
#pragma once

#include <map>
#include <string>

#include "platform/Ui.h"
#include "platform/win32/WindowsApi.h"

namespace pv14::win32 {

class Win32Dialog final : public DialogControls {
 public:
  Win32Dialog(const DialogTemplate& dialog, DialogLogic& logic);
  Win32Dialog(const Win32Dialog&) = delete;
  Win32Dialog& operator=(const Win32Dialog&) = delete;
  ~Win32Dialog() override;

  // Runs the dialog owned by owner (none: null) and returns its result;
  // kIdCancel when the resource cannot be made into a dialog.
  int Run(HWND owner);

  WindowHandle Handle() const override;
  bool IsChecked(int id) const override;
  void SetCheck(int id, bool checked) override;
  bool IsEnabled(int id) const override;
  void Enable(int id, bool enabled) override;
  std::string GetText(int id) const override;
  void SetText(int id, const std::string& text) override;
  void LimitText(int id, std::size_t bytes) override;
  void SetFocus(int id) override;
  int GetFocus() const override;
  void SelectAll(int id) override;
  void EndDialog(int result) override;

 private:
  // An edit held to a limit in bytes, with the last text it took.
  struct LimitedEdit {
    std::size_t bytes;
    std::wstring accepted;
  };

  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  BOOL OnInitDialog();
  void OnCommand(int id, int code);
  void RunModalLoop();
  bool PreTranslate(const MSG& message);
  void NoMoreInput();
  void KeepWithinLimit(int id);
  HWND Item(int id) const;
  // The id of the dialog's control that window is or lies in; 0 for none.
  int ControlIdOf(HWND window) const;

  const DialogTemplate& template_;
  DialogLogic& logic_;
  HWND window_ = nullptr;
  bool ended_ = false;
  int result_ = kIdCancel;
  std::map<int, LimitedEdit> limited_;
  bool settingText_ = false;
};

// Centres a dialog over its visible owner, else on its monitor's work area,
// as the framework does for a dialog its template leaves at 0, 0.
void CentreDialog(HWND window);

}  // namespace pv14::win32
