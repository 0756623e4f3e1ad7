#include "platform/console/ConsoleUi.h"

#include "platform/ShiftJisSearch.h"
#include "platform/WindowsPath.h"
#include "platform/console/ConsoleDialog.h"
#include "platform/console/ConsoleMessageBox.h"
#include "platform/console/ConsoleProgress.h"

namespace pv14 {

ConsoleUi::ConsoleUi(std::unique_ptr<ConsoleEnds> ends, bool terminal, const DriveTable& drives)
    : io_(std::move(ends)), terminal_(terminal), drives_(drives) {}

ConsoleUi::ConsoleUi(std::istream& in, std::ostream& out, bool terminal, const DriveTable& drives)
    : io_(in, out), terminal_(terminal), drives_(drives) {}

int ConsoleUi::MessageBox(WindowHandle, const std::string& text, const std::string& caption,
                          std::uint32_t style) {
  return ShowConsoleMessageBox(io_, text, caption, style);
}

int ConsoleUi::RunModal(const DialogTemplate& dialog, WindowHandle, DialogLogic& logic) {
  ConsoleDialog console(io_, dialog, NextHandle(), pendingFile_, drives_, terminal_);
  return console.Run(logic);
}

std::optional<std::string> ConsoleUi::ShowFileDialog(const FileDialogRequest& request) {
  std::optional<std::string> answer = std::move(pendingFile_);
  pendingFile_.reset();
  if (!answer) return std::nullopt;
  return CompleteFileDialogAnswer(*answer, request);
}

std::unique_ptr<ProgressWindow> ConsoleUi::CreateProgressWindow(const DialogTemplate& dialog) {
  return std::make_unique<ConsoleProgressWindow>(io_, dialog, NextHandle(), terminal_);
}

std::string CompleteFileDialogAnswer(const std::string& answer, const FileDialogRequest& request) {
  std::string path = answer;
  if (winpath::IsRelative(path) && !request.initialFolder.empty()) {
    std::string folder = request.initialFolder;
    if (!sjis::EndsWithSingleByte(folder, '\\') && !sjis::EndsWithSingleByte(folder, ':'))
      folder += '\\';
    path = folder + path;
  }
  std::size_t nameStart = sjis::FindLastSingleByte(path, '\\');
  nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
  bool hasExtension = sjis::FindSingleByte(path, '.', nameStart) != std::string::npos;
  if (!hasExtension && nameStart < path.size() && !request.defaultExtension.empty()) {
    path += "." + request.defaultExtension;
  }
  return path;
}

}  // namespace pv14
