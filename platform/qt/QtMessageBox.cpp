#include "platform/qt/QtMessageBox.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>
#include <map>
#include <vector>

#include "platform/Types.h"
#include "platform/qt/QtText.h"

namespace pv14::qt {
namespace {

constexpr std::uint32_t kButtonMask = 0x0F;
constexpr std::uint32_t kIconMask = 0xF0;
constexpr std::uint32_t kMbOkCancel = 0x01;
constexpr std::uint32_t kMbYesNoCancel = 0x03;
constexpr std::uint32_t kMbIconError = 0x10;

QMessageBox::Icon IconOf(std::uint32_t style) {
  switch (style & kIconMask) {
    case kMbIconError:
      return QMessageBox::Critical;
    case kMbIconQuestion:
      return QMessageBox::Question;
    case kMbIconExclamation:
      return QMessageBox::Warning;
    case kMbIconInformation:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

struct Button {
  QMessageBox::StandardButton standard;
  int id;
  const char* text;
};

std::vector<Button> ButtonsOf(std::uint32_t style) {
  const Button ok{QMessageBox::Ok, kIdOk, "OK"};
  const Button cancel{QMessageBox::Cancel, kIdCancel, "キャンセル"};
  const Button yes{QMessageBox::Yes, kIdYes, "はい(&Y)"};
  const Button no{QMessageBox::No, kIdNo, "いいえ(&N)"};
  switch (style & kButtonMask) {
    case kMbOkCancel:
      return {ok, cancel};
    case kMbYesNoCancel:
      return {yes, no, cancel};
    case kMbYesNo:
      return {yes, no};
    default:
      return {ok};
  }
}

}  // namespace

int ShowMessageBox(QWidget* owner, const QString& text, const QString& caption,
                   std::uint32_t style) {
  QMessageBox box(owner);
  box.setObjectName("MessageBox");
  box.setWindowTitle(caption);
  box.setAccessibleName(caption);
  box.setTextFormat(Qt::PlainText);
  box.setText(text);
  box.setIcon(IconOf(style));
  std::map<QAbstractButton*, int> answers;
  const std::vector<Button> buttons = ButtonsOf(style);
  for (const Button& button : buttons) {
    QPushButton* made = box.addButton(button.standard);
    made->setText(QString::fromUtf8(button.text));
    made->setIcon(QIcon());  // plain buttons, as on the system the dialogs come from
    made->setObjectName(QString::number(button.id));
    made->setAccessibleName(WithoutMnemonic(made->text()));
    answers[made] = button.id;
  }
  box.setDefaultButton(static_cast<QPushButton*>(box.button(buttons.front().standard)));

  // The wait cursor is lifted while the user is asked, as the framework's
  // message boxes do.
  const bool waiting = QApplication::overrideCursor() != nullptr;
  if (waiting) QApplication::setOverrideCursor(Qt::ArrowCursor);
  box.exec();
  if (waiting) QApplication::restoreOverrideCursor();

  auto answer = answers.find(box.clickedButton());
  if (answer != answers.end()) return answer->second;
  // Closed without a button: Cancel where there is one, else No, else OK.
  for (int id : {kIdCancel, kIdNo}) {
    for (const Button& button : buttons) {
      if (button.id == id) return id;
    }
  }
  return buttons.front().id;
}

}  // namespace pv14::qt
