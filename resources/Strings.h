// The program's string table.
#pragma once

#include <string>

namespace pv14 {

inline constexpr int kIdsConnectedProgramVersion = 1;

// LoadString: the text of the resource id, or an empty text when there is
// no such string.
std::string LoadStringResource(int id);

// "所得税", the caption of every message box of the run and of the engine's
// messages (Shift_JIS).
const std::string& MessageCaption();

}  // namespace pv14
