// The file dialog of a request, on the desktop: Qt's own dialog set up with
// the request's title, filter, default extension, folder and file name.
#pragma once

#include <QFileDialog>
#include <QString>
#include <functional>
#include <optional>

#include "platform/DriveTable.h"
#include "platform/Ui.h"

namespace pv14::qt {

// Runs a set-up dialog and returns the POSIX path the user chose, or
// nullopt when cancelled. Tests put a scripted one in place of the user.
using FileChooser = std::function<std::optional<QString>(QFileDialog&)>;

FileChooser UserChoosesFile();

// Shows the request's dialog until the user cancels or picks a file whose
// folder exists and that the drive table can name; refusals are shown in a
// message box over owner and the dialog opens again. Returns the Windows
// form of the chosen file.
std::optional<std::string> ChooseFile(const FileDialogRequest& request, QWidget* owner,
                                      const DriveTable& drives, const FileChooser& chooser);

}  // namespace pv14::qt
