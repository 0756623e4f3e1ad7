// The desktop face: the program's dialogs, message boxes, file dialog,
// progress window and wait cursor as Qt 6 Widgets. A QApplication must
// exist before it is made (OpenQtUi() makes both).
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <utility>

#include "platform/DriveTable.h"
#include "platform/Ui.h"
#include "platform/qt/QtFileDialog.h"
#include "platform/qt/QtKeys.h"

namespace pv14::qt {

class QtUi final : public Ui {
 public:
  explicit QtUi(const DriveTable& drives, FileChooser chooser = UserChoosesFile());
  ~QtUi() override;

  int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                 std::uint32_t style) override;
  int RunModal(const DialogTemplate& dialog, WindowHandle parent, DialogLogic& logic) override;
  std::optional<std::string> ShowFileDialog(const FileDialogRequest& request) override;
  std::unique_ptr<ProgressWindow> CreateProgressWindow(const DialogTemplate& dialog) override;
  bool IsKeyDown(int virtualKey) override { return keys_.IsDown(virtualKey); }
  void BeginWaitCursor() override;
  void EndWaitCursor() override;
  void SetExitStep(std::function<int()> step) override { exitStep_ = std::move(step); }

  // The run's exit step, taken away: empty when no run is in progress.
  std::function<int()> TakeExitStep() { return std::exchange(exitStep_, {}); }

  // The shown window of one of this face's handles; null for any other
  // (the caller's window belongs to another program).
  QWidget* ShownWindow(WindowHandle handle) const;

 private:
  WindowHandle Register(QWidget& window);

  const DriveTable& drives_;
  FileChooser chooser_;
  KeyState keys_;
  std::map<WindowHandle, QPointer<QWidget>> windows_;
  WindowHandle nextHandle_ = 0x10000;
  WaitCursorDepth wait_;
  RepeatedActionKeys repeats_;
  std::function<int()> exitStep_;
};

}  // namespace pv14::qt

namespace pv14 {
// The face's Ui for the rest of the process, made with its QApplication on
// the first call; null when no display can be reached.
Ui* OpenQtUi();
}  // namespace pv14
