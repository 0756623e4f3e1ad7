#include "platform/qt/QtDialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <utility>

namespace pv14::qt {

QtDialog::QtDialog(const DialogTemplate& dialog, WindowHandle handle, KeyState& keys)
    : QDialog(nullptr, WindowFlagsOf(dialog)),
      controls_(*this, dialog),
      handle_(handle),
      keys_(keys) {
  for (auto& control : controls_.All()) {
    if (control.source->kind != ControlKind::kPushButton) continue;
    const int id = control.source->id;
    connect(static_cast<QPushButton*>(control.widget), &QPushButton::clicked, this, [this, id] {
      if (!ended_ && logic_ != nullptr) logic_->OnCommand(*this, id);
    });
  }
}

QtDialog::~QtDialog() { qApp->removeEventFilter(this); }

int QtDialog::Run(DialogLogic& logic) {
  logic_ = &logic;
  const bool focusFirst = logic.OnInitDialog(*this);
  if (ended_) return result_;  // closed before it was ever shown
  qApp->installEventFilter(this);
  setModal(true);
  show();
  if (focusFirst) controls_.SetFocus(controls_.NextTabStop(0), Qt::TabFocusReason);
  // The focus shows from the start, as after a Tab: the dialog is worked by
  // keyboard.
  setAttribute(Qt::WA_KeyboardFocusChange);
  activateWindow();
  raise();
  if (!ended_) exec();
  qApp->removeEventFilter(this);
  return result_;
}

void QtDialog::EndDialog(int result) {
  if (ended_) return;
  ended_ = true;
  result_ = result;
  offered_.reset();
  done(result);
}

void QtDialog::Cancel() {
  if (!ended_ && logic_ != nullptr) logic_->OnCancel(*this);
}

void QtDialog::reject() { Cancel(); }

void QtDialog::closeEvent(QCloseEvent* event) {
  Cancel();
  // Only the logic ends the dialog; a refused cancel keeps it open.
  if (ended_) {
    event->accept();
  } else {
    event->ignore();
  }
}

bool QtDialog::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (ended_ || logic_ == nullptr || widget == nullptr || widget->window() != this) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  // Left to the face's filter, which drops it: a held key acts once.
  if (IsRepeatedActionKey(*key)) return false;

  // A key reaches the dialog first as a shortcut override, before any
  // accelerator; the press that follows is then not offered again.
  if (type == QEvent::ShortcutOverride) {
    const bool consumed = OfferKey(*key);
    offered_ = OfferedKey{key->key(), key->modifiers(), consumed};
    if (!consumed) return false;
    key->accept();  // no accelerator runs; the press comes and is dropped
    return true;
  }
  const std::optional<OfferedKey> offered = std::exchange(offered_, std::nullopt);
  const bool consumed =
      offered && offered->key == key->key() && offered->modifiers == key->modifiers()
          ? offered->consumed
          : OfferKey(*key);
  return consumed || DefaultKey(*key);
}

bool QtDialog::OfferKey(const QKeyEvent& key) {
  const int virtualKey = VirtualKeyOf(key.key());
  if (virtualKey == 0 || ended_) return false;
  KeyState::Scope held(keys_, key.modifiers());
  return logic_->PreTranslateKey(*this, virtualKey, controls_.GetFocus());
}

bool QtDialog::DefaultKey(const QKeyEvent& key) {
  if (ended_) return false;
  switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
      // No default button and no OK command: Enter clicks only the focused
      // push button and is dropped elsewhere.
      auto* button = qobject_cast<QPushButton*>(focusWidget());
      if (button != nullptr && button->isEnabled()) button->click();
      return true;
    }
    case Qt::Key_Escape:
      Cancel();
      return true;
    default:
      return false;
  }
}

}  // namespace pv14::qt
