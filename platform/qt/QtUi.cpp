#include "platform/qt/QtUi.h"

#include <QApplication>
#include <QCursor>

#include "platform/qt/QtDialog.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtProgressWindow.h"
#include "platform/qt/QtText.h"

namespace pv14::qt {

QtUi::QtUi(const DriveTable& drives, FileChooser chooser)
    : drives_(drives), chooser_(std::move(chooser)) {
  qApp->installEventFilter(&repeats_);
}

QtUi::~QtUi() { qApp->removeEventFilter(&repeats_); }

int QtUi::MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                     std::uint32_t style) {
  return ShowMessageBox(ShownWindow(owner), ToDisplay(text), ToDisplay(caption), style);
}

int QtUi::RunModal(const DialogTemplate& dialog, WindowHandle, DialogLogic& logic) {
  // The parent handle is the caller's window, another program's.
  QtDialog window(dialog, nextHandle_, keys_);
  Register(window);
  return window.Run(logic);
}

std::optional<std::string> QtUi::ShowFileDialog(const FileDialogRequest& request) {
  return ChooseFile(request, ShownWindow(request.owner), drives_, chooser_);
}

std::unique_ptr<ProgressWindow> QtUi::CreateProgressWindow(const DialogTemplate& dialog) {
  auto window = std::make_unique<QtProgressWindow>(dialog, nextHandle_);
  Register(window->Window());
  return window;
}

void QtUi::BeginWaitCursor() {
  if (wait_.Begin()) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtUi::EndWaitCursor() {
  if (wait_.End()) QApplication::restoreOverrideCursor();
}

QWidget* QtUi::ShownWindow(WindowHandle handle) const {
  auto it = windows_.find(handle);
  if (it == windows_.end() || it->second.isNull() || !it->second->isVisible()) return nullptr;
  return it->second.data();
}

WindowHandle QtUi::Register(QWidget& window) {
  // Handles of windows that are gone are forgotten.
  std::erase_if(windows_, [](const auto& entry) { return entry.second.isNull(); });
  windows_[nextHandle_] = &window;
  return nextHandle_++;
}

}  // namespace pv14::qt
