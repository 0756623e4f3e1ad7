// Qt's keys as the Windows virtual-key codes the dialog logic reads, and the
// modifier state Ui::IsKeyDown answers from.
#pragma once

#include <QObject>
#include <Qt>
#include <optional>

class QKeyEvent;

namespace pv14::qt {

// The virtual-key code of a Qt key; 0 when it has none.
int VirtualKeyOf(int qtKey);

// Shift, Ctrl and Alt as the key event being handled reports them; outside
// one, as the window system reports them now.
class KeyState {
 public:
  bool IsDown(int virtualKey) const;

  // Holds the modifiers of one key event while it is handled.
  class Scope {
   public:
    Scope(KeyState& state, Qt::KeyboardModifiers modifiers);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    KeyState& state_;
    std::optional<Qt::KeyboardModifiers> saved_;
  };

 private:
  std::optional<Qt::KeyboardModifiers> current_;
};

// A repeat of a held key that acts (Enter, Esc, F12).
bool IsRepeatedActionKey(const QKeyEvent& key);

// Drops the repeats of a held key that acts (Enter, Esc, F12) before any
// window of the face sees them: one stroke is one action, so a held Enter
// cannot close the file dialog, run the export and dismiss the closing
// message at once.
class RepeatedActionKeys : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace pv14::qt
