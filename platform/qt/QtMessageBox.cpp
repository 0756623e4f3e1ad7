#include "platform/qt/QtMessageBox.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>
#include <map>

#include "platform/MessageBoxStyle.h"
#include "platform/qt/QtText.h"

namespace pv14::qt {
namespace {

QMessageBox::Icon QtIcon(std::uint32_t style) {
  switch (IconOf(style)) {
    case MessageIcon::kError:
      return QMessageBox::Critical;
    case MessageIcon::kQuestion:
      return QMessageBox::Question;
    case MessageIcon::kWarning:
      return QMessageBox::Warning;
    case MessageIcon::kInformation:
      return QMessageBox::Information;
    case MessageIcon::kNone:
      break;
  }
  return QMessageBox::NoIcon;
}

struct Button {
  QMessageBox::StandardButton standard;
  const char* text;
};

Button ButtonFor(int answer) {
  switch (answer) {
    case kIdCancel:
      return {QMessageBox::Cancel, "キャンセル"};
    case kIdYes:
      return {QMessageBox::Yes, "はい(&Y)"};
    case kIdNo:
      return {QMessageBox::No, "いいえ(&N)"};
    default:
      return {QMessageBox::Ok, "OK"};
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
  box.setIcon(QtIcon(style));
  std::map<QAbstractButton*, int> answers;
  QPushButton* first = nullptr;
  for (int answer : AnswersOf(style)) {
    const Button button = ButtonFor(answer);
    QPushButton* made = box.addButton(button.standard);
    made->setText(QString::fromUtf8(button.text));
    made->setIcon(QIcon());  // plain buttons, as on the system the dialogs come from
    made->setObjectName(QString::number(answer));
    made->setAccessibleName(WithoutMnemonic(made->text()));
    answers[made] = answer;
    if (first == nullptr) first = made;
  }
  box.setDefaultButton(first);

  // The wait cursor is lifted while the user is asked, as the framework's
  // message boxes do.
  const bool waiting = QApplication::overrideCursor() != nullptr;
  if (waiting) QApplication::setOverrideCursor(Qt::ArrowCursor);
  box.exec();
  if (waiting) QApplication::restoreOverrideCursor();

  auto answer = answers.find(box.clickedButton());
  return answer != answers.end() ? answer->second : UnansweredAnswer(style);
}

}  // namespace pv14::qt
