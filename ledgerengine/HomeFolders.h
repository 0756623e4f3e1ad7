// The application folders when the store names none: under $HOME, in
// Windows form through the drive table; on Windows under the user's profile.
#pragma once

#include <cstdint>
#include <string>

namespace pv14::ledger {

// Type 0: <home>\Documents\, type 1: <home>\.config\ledger19\ (Shift_JIS,
// ending with a backslash); empty when $HOME is unset or the drive table
// cannot name it. On Windows type 0 is %USERPROFILE%\Documents\ and type 1
// %APPDATA%\ledger19\ (under the profile's AppData\Roaming when unset).
std::string HomeFolder(std::int32_t type);

}  // namespace pv14::ledger
