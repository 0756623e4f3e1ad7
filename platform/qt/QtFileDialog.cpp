#include "platform/qt/QtFileDialog.h"

#include <QDir>
#include <QFileInfo>
#include <QSize>
#include <QStringList>

#include "platform/ChosenFile.h"
#include "platform/Types.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtText.h"

namespace pv14::qt {
namespace {

// "Xml Files (*.xml)|*.xml||" -> {"Xml Files (*.xml)"}: each name stands
// with its patterns in Qt's form.
QStringList NameFilters(const std::string& filter) {
  const QStringList parts = ToDisplay(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].isEmpty()) break;
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    filters << (parts[i].contains(patterns) ? parts[i] : parts[i] + " (" + patterns + ")");
  }
  return filters;
}

QString InitialFolder(const FileDialogRequest& request, const DriveTable& drives) {
  if (auto posix = drives.ToPosix(request.initialFolder);
      posix && QFileInfo(QString::fromStdString(*posix)).isDir()) {
    return QString::fromStdString(*posix);
  }
  return QDir::currentPath();
}

void SetUp(QFileDialog& dialog, const FileDialogRequest& request, const DriveTable& drives) {
  dialog.setObjectName("FileDialog");
  dialog.setWindowTitle(ToDisplay(request.title));
  dialog.setAccessibleName(dialog.windowTitle());
  // Qt's own dialog, the same on every desktop; the program asks before
  // overwriting, not the dialog.
  dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setNameFilters(NameFilters(request.filter));
  dialog.setDefaultSuffix(ToDisplay(request.defaultExtension));
  dialog.setDirectory(InitialFolder(request, drives));
  // Room for the detail view's name, size, type and date columns.
  dialog.resize(dialog.sizeHint().expandedTo(QSize(760, 440)));
  const QString name = ToDisplay(request.initialFileName);
  // A pattern such as "*.xml" is the filter's business, not a name.
  if (!name.isEmpty() && !name.contains('*') && !name.contains('?')) dialog.selectFile(name);
}

}  // namespace

FileChooser UserChoosesFile() {
  return [](QFileDialog& dialog) -> std::optional<QString> {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
      return std::nullopt;
    }
    return dialog.selectedFiles().front();
  };
}

std::optional<std::string> ChooseFile(const FileDialogRequest& request, QWidget* owner,
                                      const DriveTable& drives, const FileChooser& chooser) {
  QFileDialog dialog(owner);
  SetUp(dialog, request, drives);
  const QString caption = dialog.windowTitle();
  for (;;) {
    std::optional<QString> chosen = chooser(dialog);
    if (!chosen) return std::nullopt;
    const QFileInfo file(*chosen);
    // The request's flags, as the system's dialog keeps them (the working
    // folder is never changed here, and there is no read-only box to hide).
    if ((request.flags & file_dialog::kPathMustExist) && !file.absoluteDir().exists()) {
      ShowMessageBox(owner,
                     "パスが存在しません。\n\nパスを確認してください。\n\n" + file.absolutePath(),
                     caption, kMbOk | kMbIconExclamation);
      continue;
    }
    // As the system's dialog: a file that must exist is for opening; a save
    // dialog takes a new name whatever the flag says.
    if (!request.save && (request.flags & file_dialog::kFileMustExist) && !file.isFile()) {
      ShowMessageBox(owner,
                     file.fileName() +
                         "\nファイルが見つかりません。\nファイル名を確認して再実行してください。",
                     caption, kMbOk | kMbIconExclamation);
      continue;
    }
    ChosenFile named = ChosenFileInWindowsForm(drives, file.absoluteFilePath().toStdString());
    if (named.refusal.empty()) return named.windowsPath;
    ShowMessageBox(owner, ToDisplay(named.refusal), caption, kMbOk | kMbIconExclamation);
  }
}

}  // namespace pv14::qt
