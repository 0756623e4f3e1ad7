// The real conditions dialog logic over the real Qt face, with a disk of its
// own (drive Z: is a temporary folder, with Z:\docs\ the documents folder)
// and an engine double. Message boxes are answered by keys from a queue
// (Return when it is empty) and recorded; file dialogs are answered from a
// queue of POSIX paths.
#pragma once

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/ConditionDialog.h"
#include "platform/DriveTable.h"
#include "platform/qt/QtDialog.h"
#include "platform/qt/QtUi.h"
#include "tests/support/TempDir.h"

namespace pv14::testing {

struct ShownBox {
  QString title;
  QString text;
  QMessageBox::Icon icon;
  QStringList buttons;  // object names: the answers' ids
  QString defaultButton;
};

// Answers every message box that comes up while it lives.
class BoxAnswerer {
 public:
  BoxAnswerer();
  std::deque<std::pair<int, Qt::KeyboardModifiers>> keys;
  std::vector<ShownBox> shown;

 private:
  void Answer();
  QTimer timer_;
};

class QtFaceTest : public ::testing::Test {
 protected:
  QtFaceTest();

  // Runs template 130 over the logic; script runs once the dialog is up.
  // A dialog the script leaves open is ended with -1.
  int Run(const std::function<void(qt::QtDialog&)>& script);
  QWidget* Control(qt::QtDialog& dialog, int id) const;
  // Z:\ + relative (backslashes) for a POSIX path under the disk.
  std::string Windows(const std::string& relative) const { return "Z:\\" + relative; }

  TempDir disk_{"qtface"};
  DriveTable drives_;
  std::unique_ptr<Env> env_;
  std::deque<QString> fileAnswers_;  // an empty one cancels
  std::vector<QString> fileDialogFolders_, fileDialogNames_;
  qt::QtUi ui_;
  ConditionDialog dialog_;
  BoxAnswerer boxes_;
};

}  // namespace pv14::testing
