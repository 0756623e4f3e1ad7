// A modal dialog of a template on the desktop: the controls of QtControls,
// with every event handed to the dialog logic. Each key goes to the logic's
// key handling before any widget or shortcut sees it; what the logic leaves
// gets the dialog manager's handling (Enter clicks a focused push button,
// Esc and the close box are the cancel command, Tab walks the tab stops).
#pragma once

#include <QDialog>
#include <optional>

#include "platform/Ui.h"
#include "platform/qt/QtControls.h"
#include "platform/qt/QtKeys.h"

namespace pv14::qt {

class QtDialog final : public QDialog, public DialogControls {
 public:
  QtDialog(const DialogTemplate& dialog, WindowHandle handle, KeyState& keys);
  ~QtDialog() override;

  // Initialises the logic, shows the dialog and runs its modal loop; the
  // result given to EndDialog.
  int Run(DialogLogic& logic);

  WindowHandle Handle() const override { return handle_; }
  bool IsChecked(int id) const override { return controls_.IsChecked(id); }
  void SetCheck(int id, bool checked) override { controls_.SetCheck(id, checked); }
  bool IsEnabled(int id) const override { return controls_.IsEnabled(id); }
  void Enable(int id, bool enabled) override { controls_.Enable(id, enabled); }
  std::string GetText(int id) const override { return controls_.GetText(id); }
  void SetText(int id, const std::string& text) override { controls_.SetText(id, text); }
  void LimitText(int id, std::size_t bytes) override { controls_.LimitText(id, bytes); }
  void SetFocus(int id) override { controls_.SetFocus(id, Qt::OtherFocusReason); }
  int GetFocus() const override { return controls_.GetFocus(); }
  void SelectAll(int id) override { controls_.SelectAll(id); }
  void EndDialog(int result) override;

 protected:
  void reject() override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // A key offered to the logic when it first reached the dialog, and
  // whether the logic took it.
  struct OfferedKey {
    int key;
    Qt::KeyboardModifiers modifiers;
    bool consumed;
  };

  bool OfferKey(const QKeyEvent& key);
  bool DefaultKey(const QKeyEvent& key);
  void Cancel();

  QtControls controls_;
  WindowHandle handle_;
  KeyState& keys_;
  DialogLogic* logic_ = nullptr;
  bool ended_ = false;
  int result_ = 0;
  std::optional<OfferedKey> offered_;
};

}  // namespace pv14::qt
