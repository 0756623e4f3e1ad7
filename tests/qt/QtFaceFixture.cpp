#include "tests/qt/QtFaceFixture.h"

#include <QApplication>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "platform/posix/PosixEnv.h"
#include "resources/Templates.h"
#include "tests/fakes/FakeEngine.h"

namespace pv14::testing {
namespace {

DriveTable DiskTable(const std::string& root) {
  std::string error;
  auto table = DriveTable::Parse("Z=" + root, &error);
  EXPECT_TRUE(table) << error;
  return table.value_or(DriveTable());
}

}  // namespace

BoxAnswerer::BoxAnswerer() {
  QObject::connect(&timer_, &QTimer::timeout, [this] { Answer(); });
  timer_.start(5);
}

void BoxAnswerer::Answer() {
  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  if (box == nullptr) return;
  // A key that did not close the box fails the test instead of hanging it.
  const int ticks = box->property("ticks").toInt();
  box->setProperty("ticks", ticks + 1);
  if (ticks == 200) {
    ADD_FAILURE() << "the box stayed open: " << box->text().toStdString();
    box->done(0);
  }
  if (ticks > 0) return;
  QApplication::setActiveWindow(box);
  ShownBox seen{box->windowTitle(), box->text(), box->icon(), {}, {}};
  for (QAbstractButton* button : box->buttons()) seen.buttons << button->objectName();
  if (box->defaultButton() != nullptr) seen.defaultButton = box->defaultButton()->objectName();
  shown.push_back(seen);
  auto [key, modifiers] =
      keys.empty() ? std::pair(int(Qt::Key_Return), Qt::KeyboardModifiers()) : keys.front();
  if (!keys.empty()) keys.pop_front();
  QTest::keyClick(box->focusWidget() != nullptr ? box->focusWidget() : box, Qt::Key(key),
                  modifiers);
}

QtFaceTest::QtFaceTest()
    : drives_(DiskTable(disk_.path())),
      env_(NewPosixEnv(drives_)),
      ui_(drives_,
          [this](QFileDialog& dialog) -> std::optional<QString> {
            fileDialogFolders_.push_back(dialog.directory().absolutePath());
            const QFileInfo offered(dialog.selectedFiles().value(0));
            fileDialogNames_.push_back(offered.isDir() ? QString() : offered.fileName());
            if (fileAnswers_.empty()) return std::nullopt;
            const QString answer = fileAnswers_.front();
            fileAnswers_.pop_front();
            if (answer.isEmpty()) return std::nullopt;
            return answer;
          }),
      dialog_(*env_, ui_, kNoWindow, "LedgerStd19ToPv14.env") {
  FakeEngine::Get().Reset();
  FakeEngine::Get().appFolders = {"Z:\\docs\\", "Z:\\settings\\"};
  std::filesystem::create_directories(disk_.Join("docs"));
  dialog_.CurrentUserId = "U1";
  dialog_.StatementScope = 3;
  dialog_.CompanyText = " ABC";
}

int QtFaceTest::Run(const std::function<void(qt::QtDialog&)>& script) {
  QTimer::singleShot(0, [&] {
    auto* dialog = dynamic_cast<qt::QtDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) {
      ADD_FAILURE() << "the dialog is not up";
      return;
    }
    script(*dialog);
    if (dialog->isVisible()) dialog->EndDialog(-1);
  });
  return ui_.RunModal(ConditionDialogTemplate(), kNoWindow, dialog_);
}

QWidget* QtFaceTest::Control(qt::QtDialog& dialog, int id) const {
  return dialog.findChild<QWidget*>(QString::number(id));
}

}  // namespace pv14::testing
