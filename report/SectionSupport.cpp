#include "report/SectionSupport.h"

namespace pv14 {

const char* DeductionSelectionText(std::uint8_t selection) {
  switch (selection) {
    case 1:
      return "1";
    case 0:
      return "2";
    default:
      return nullptr;
  }
}

}  // namespace pv14
