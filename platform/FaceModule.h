// A face kept in a shared module beside the program. Its toolkit is loaded
// when the face opens, not at every start: a console run, a caller's
// scripted run and the engine's tool start without it.
#pragma once

#include <string_view>

#include "platform/Ui.h"

namespace pv14 {

// Loads the module file (a name in the program's own folder) and calls its
// entry, a function `extern "C" Ui* entry()` that opens the face. Null when
// the module is missing or cannot be loaded (with one line on stderr saying
// why, for a module that is there but broken), or when the face cannot run
// here.
Ui* OpenFaceModule(std::string_view file, const char* entry);

}  // namespace pv14
