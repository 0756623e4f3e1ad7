#include "platform/qt/QtKeys.h"

#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <array>
#include <utility>

#include "platform/Types.h"

namespace pv14::qt {
namespace {

constexpr std::array<std::pair<int, int>, 22> kNamedKeys = {{
    {Qt::Key_Backspace, 0x08},     {Qt::Key_Tab, 0x09},         {Qt::Key_Backtab, 0x09},
    {Qt::Key_Return, kVkReturn},   {Qt::Key_Enter, kVkReturn},  {Qt::Key_Shift, kVkShift},
    {Qt::Key_Control, kVkControl}, {Qt::Key_Alt, kVkMenu},      {Qt::Key_Pause, 0x13},
    {Qt::Key_CapsLock, 0x14},      {Qt::Key_Escape, kVkEscape}, {Qt::Key_Space, 0x20},
    {Qt::Key_PageUp, 0x21},        {Qt::Key_PageDown, 0x22},    {Qt::Key_End, 0x23},
    {Qt::Key_Home, 0x24},          {Qt::Key_Left, 0x25},        {Qt::Key_Up, 0x26},
    {Qt::Key_Right, 0x27},         {Qt::Key_Down, 0x28},        {Qt::Key_Insert, 0x2D},
    {Qt::Key_Delete, 0x2E},
}};

}  // namespace

int VirtualKeyOf(int qtKey) {
  if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)) {
    return qtKey;  // the same ASCII codes
  }
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return 0x70 + (qtKey - Qt::Key_F1);
  for (const auto& [key, virtualKey] : kNamedKeys) {
    if (key == qtKey) return virtualKey;
  }
  return 0;
}

bool KeyState::IsDown(int virtualKey) const {
  const Qt::KeyboardModifiers modifiers =
      current_ ? *current_ : QGuiApplication::queryKeyboardModifiers();
  switch (virtualKey) {
    case kVkShift:
      return modifiers & Qt::ShiftModifier;
    case kVkControl:
      return modifiers & Qt::ControlModifier;
    case kVkMenu:
      return modifiers & Qt::AltModifier;
    default:
      return false;
  }
}

KeyState::Scope::Scope(KeyState& state, Qt::KeyboardModifiers modifiers)
    : state_(state), saved_(state.current_) {
  state_.current_ = modifiers;
}

KeyState::Scope::~Scope() { state_.current_ = saved_; }

bool IsRepeatedActionKey(const QKeyEvent& key) {
  if (!key.isAutoRepeat()) return false;
  switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_F12:
      return true;
    default:
      return false;
  }
}

bool RepeatedActionKeys::eventFilter(QObject*, QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (!IsRepeatedActionKey(*key)) return false;
  key->accept();
  return true;
}

}  // namespace pv14::qt
