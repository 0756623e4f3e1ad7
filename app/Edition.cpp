#include "app/Edition.h"

#include "resources/Text.h"

#if !defined(PV14_APP_TYPE) || !defined(PV14_SETTINGS_FILE) || !defined(PV14_PRODUCT_NAME)
#error "the edition's values PV14_APP_TYPE, PV14_SETTINGS_FILE and PV14_PRODUCT_NAME are required"
#endif

namespace pv14 {

const Edition& CurrentEdition() {
  static const Edition edition{PV14_APP_TYPE, PV14_SETTINGS_FILE,
                               LiteralToCp932(PV14_PRODUCT_NAME)};
  return edition;
}

}  // namespace pv14
