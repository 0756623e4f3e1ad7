// The hook of the desktop front end. A build with one defines DesktopUi();
// Ui::Default() calls it when the desktop is chosen and falls back to the
// console when the build has none or it returns null (no display).
#pragma once

#include "platform/Ui.h"

namespace pv14 {

Ui* DesktopUi();

}  // namespace pv14
