// The Win32 face: the system's own dialogs, message boxes and file dialog.
#pragma once

#include "platform/Ui.h"

namespace pv14::win32 {

// The face's Ui for the rest of the process; null where the program carries
// no dialog resources or the progress-bar class cannot be registered.
Ui* OpenWin32Ui();

}  // namespace pv14::win32
