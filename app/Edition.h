// The three values in which the two editions differ. They are compile-time
// definitions of the edition's executable (see CMakeLists.txt).
#pragma once

#include <cstdint>
#include <string>

namespace pv14 {

struct Edition {
  std::int32_t appType;            // announced to the engine: 0 Std, 3 Net
  std::string settingsFileName;    // "LedgerStd19ToPv14.env" / "LedgerNet19ToPv14.env"
  std::string defaultProductName;  // Shift_JIS
};

const Edition& CurrentEdition();

}  // namespace pv14
