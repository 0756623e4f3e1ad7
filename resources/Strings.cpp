#include "resources/Strings.h"

#include "resources/Text.h"

namespace pv14 {

std::string LoadStringResource(int id) {
  switch (id) {
    case kIdsConnectedProgramVersion:
      return "19.00.00";
    default:
      return {};
  }
}

const std::string& MessageCaption() { return SJ("所得税"); }

}  // namespace pv14
