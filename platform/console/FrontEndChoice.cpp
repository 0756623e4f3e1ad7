#include "platform/console/FrontEndChoice.h"

namespace pv14 {

FrontEndChoice ChooseFrontEnd(std::optional<std::string_view> setting, bool buildHasDesktop) {
  if (!setting || setting->empty()) {
    return {buildHasDesktop ? FrontEnd::kDesktop : FrontEnd::kConsole, ""};
  }
  if (*setting == "console") return {FrontEnd::kConsole, ""};
  if (*setting == "qt") {
    if (buildHasDesktop) return {FrontEnd::kDesktop, ""};
    return {FrontEnd::kConsole,
            "PV14_UI=qt: this build has no desktop front end; using the console"};
  }
  return {FrontEnd::kConsole,
          "PV14_UI=" + std::string(*setting) + " is unknown; using the console"};
}

}  // namespace pv14
