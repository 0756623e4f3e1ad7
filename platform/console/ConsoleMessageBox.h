// A message box on the console: caption, icon word and text are shown; a
// Yes/No question reads its answer.
#pragma once

#include <cstdint>
#include <string>

#include "platform/console/ConsoleIo.h"

namespace pv14 {

// Returns kIdOk for a box with only OK (nothing is read); for kMbYesNo,
// kIdYes for "y", "yes" or an empty line, kIdNo for "n", "no" or the end of
// input; other answers are asked again. Other button sets behave as OK.
int ShowConsoleMessageBox(ConsoleIo& io, const std::string& text, const std::string& caption,
                          std::uint32_t style);

}  // namespace pv14
