// The three values in which the two editions differ. They are compile-time
// definitions of the edition's executable (see CMakeLists.txt): each
// executable links one edition library, which defines CurrentEdition(), and
// main() hands its values to ExportApp. The core takes them from there and
// never calls CurrentEdition() itself, so it links without an edition.
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
