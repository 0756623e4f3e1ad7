// The console front end: everything shown goes to an output in UTF-8
// (stderr), answers and commands are read from an input (stdin), one line at
// a time. See ConsoleDialog.h for the dialog commands.
#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "platform/DriveTable.h"
#include "platform/Ui.h"
#include "platform/console/ConsoleIo.h"

namespace pv14 {

class ConsoleUi : public Ui {
 public:
  // terminal: the output is a terminal, where progress redraws one line.
  // drives names the POSIX paths typed into dialogs in Windows form.
  ConsoleUi(std::unique_ptr<ConsoleEnds> ends, bool terminal,
            const DriveTable& drives = DriveTable::FromEnvironment());
  ConsoleUi(std::istream& in, std::ostream& out, bool terminal,
            const DriveTable& drives = DriveTable::FromEnvironment());

  int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                 std::uint32_t style) override;
  int RunModal(const DialogTemplate& dialog, WindowHandle parent, DialogLogic& logic) override;
  // The answer a "browse" command left for it (once), else nullopt.
  std::optional<std::string> ShowFileDialog(const FileDialogRequest& request) override;
  std::unique_ptr<ProgressWindow> CreateProgressWindow(const DialogTemplate& dialog) override;
  // A console has no held keys.
  bool IsKeyDown(int) override { return false; }
  void BeginWaitCursor() override {}
  void EndWaitCursor() override {}

 private:
  WindowHandle NextHandle() { return nextHandle_++; }

  ConsoleIo io_;
  bool terminal_;
  const DriveTable& drives_;
  std::optional<std::string> pendingFile_;
  WindowHandle nextHandle_ = 0x10000;
};

// The file dialog's answer as the chosen full path: a name without a root
// is taken in the request's initial folder, and a file name without an
// extension gets the default one.
std::string CompleteFileDialogAnswer(const std::string& answer, const FileDialogRequest& request);

}  // namespace pv14
