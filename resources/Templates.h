// The program's two dialog templates, as data shared by every face.
#pragma once

#include "platform/DialogTemplate.h"

namespace pv14 {

// Template 130, the export-conditions dialog.
const DialogTemplate& ConditionDialogTemplate();
// Template 131, the progress dialog.
const DialogTemplate& ProgressDialogTemplate();

}  // namespace pv14
