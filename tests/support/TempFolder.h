// A new, empty temporary folder of the system's own kind.
#pragma once

#include <string>
#include <string_view>

namespace pv14::testing {

// "pv14-<prefix>-XXXXXX" under $TMPDIR or /tmp (POSIX), under the user's
// temporary folder (Windows); throws std::runtime_error when it cannot be
// made.
std::string CreateUniqueTempFolder(std::string_view prefix);

}  // namespace pv14::testing
