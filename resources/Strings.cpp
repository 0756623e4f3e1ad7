#include "resources/Strings.h"

namespace pv14 {

std::string LoadStringResource(int id) {
  switch (id) {
    case kIdsConnectedProgramVersion:
      return "19.00.00";
    default:
      return {};
  }
}

}  // namespace pv14
