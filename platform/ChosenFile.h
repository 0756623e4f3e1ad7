// A file picked in a desktop file dialog, named the way the program names
// files: in Windows form through the drive table.
#pragma once

#include <string>

#include "platform/DriveTable.h"

namespace pv14 {

struct ChosenFile {
  std::string windowsPath;  // Shift_JIS; empty when refused
  std::string refusal;      // Shift_JIS text for the user; empty when taken
};

// The Windows form of an absolute POSIX path (UTF-8). Refused, with a text
// that names PV14_DRIVES, when no drive of the table covers the path; refused
// with another text when a name in it has no Shift_JIS form.
ChosenFile ChosenFileInWindowsForm(const DriveTable& drives, const std::string& posixPath);

// What every face says of a file chosen whose name has no Shift_JIS form
// (UTF-8 path), before it asks again: the program could never open it.
std::string UnwritableNameRefusal(const std::string& path);

}  // namespace pv14
