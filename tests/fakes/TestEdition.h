// The edition values the unit tests hand to the program: unlike either real
// edition's, so a test sees that a value came from the edition it was given.
// The unit tests link no edition library.
#pragma once

#include "app/Edition.h"
#include "resources/Text.h"

namespace pv14::testing {

inline const Edition& TestEdition() {
  static const Edition edition{5, "TestEdition19ToPv14.env", LiteralToCp932("試験製品１９")};
  return edition;
}

}  // namespace pv14::testing
