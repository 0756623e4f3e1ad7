// Which front end PV14_UI asks for: "console", "qt", or unset (the desktop
// when the build has one, else the console).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pv14 {

enum class FrontEnd { kConsole, kDesktop };

struct FrontEndChoice {
  FrontEnd frontEnd;
  std::string note;  // one line for stderr when the request cannot be met; else empty
};

FrontEndChoice ChooseFrontEnd(std::optional<std::string_view> setting, bool buildHasDesktop);

}  // namespace pv14
