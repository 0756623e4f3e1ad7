// What `--help` and `--version` print: the program answers them without
// opening the engine or a window, and exits 0. No caller passes them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/Edition.h"

namespace pv14 {

// The text to print for a command line that is `--help` or `--version`
// alone (blanks around it allowed); nullopt for any other command line.
std::optional<std::string> InformationRequested(std::string_view commandLine,
                                                const Edition& edition);

}  // namespace pv14
