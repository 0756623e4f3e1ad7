// The progress window of the Win32 face: a modeless dialog from the
// program's resource whose bars are real progress-bar controls. The program
// runs no message loop while it shows it, so every change is painted at
// once by Update, and nothing here takes a queued message.
#pragma once

#include "platform/Ui.h"
#include "platform/win32/WindowsApi.h"

namespace pv14::win32 {

class Win32ProgressWindow final : public ProgressWindow {
 public:
  // window: the dialog made from the resource, owned from now on.
  explicit Win32ProgressWindow(HWND window);
  Win32ProgressWindow(const Win32ProgressWindow&) = delete;
  Win32ProgressWindow& operator=(const Win32ProgressWindow&) = delete;
  ~Win32ProgressWindow() override;

  // The dialog of the resource, not yet visible; null when it cannot be made.
  static HWND Create(const DialogTemplate& dialog);

  WindowHandle Handle() const override;
  void SetParent(WindowHandle parent) override;
  void Show() override;
  void SetCaption(const std::string& caption) override;
  void SetRange(int bar, int low, int high) override;
  void SetStep(int bar, int step) override;
  void SetPos(int bar, int pos) override;
  void DeltaPos(int bar, int delta) override;
  int GetPos(int bar) const override;
  void BringToTop() override;
  void SetForeground() override;
  void Update() override;
  void Close(int result) override;

 private:
  // The bar's control; one the resource lacks is made hidden, so it keeps
  // its state as the others do.
  HWND Bar(int id);

  HWND window_;
};

}  // namespace pv14::win32
