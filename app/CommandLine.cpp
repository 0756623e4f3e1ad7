// The caller's command line: "WINDOW,MESSAGE,FUNCTION,[PATH]".
#include <cstdint>
#include <string>

#include "app/ExportApp.h"
#include "app/ReadDecimal.h"

namespace pv14 {
int ExportApp::ParseCommandLine(const std::string& commandLine) {
  // Each of the first three fields counts only when its comma follows it;
  // the fields read before a missing comma keep their values.
  std::size_t start = 0;
  for (int field = 1; field <= 3; ++field) {
    const std::size_t comma = commandLine.find(',', start);
    if (comma == std::string::npos) return 0;
    const std::string text = commandLine.substr(start, comma - start);
    switch (field) {
      case 1:
        CallerWindow = static_cast<WindowHandle>(ReadDecimal32(text));
        break;
      case 2:
        NotifyMessage = static_cast<std::uint32_t>(ReadDecimal32(text));
        break;
      case 3:
        FunctionId = static_cast<std::int16_t>(static_cast<std::uint16_t>(ReadDecimal32(text)));
        break;
    }
    start = comma + 1;
  }
  std::string path = commandLine.substr(start);
  if (!path.empty()) InitialOutputPath = std::move(path);
  return 1;
}

}  // namespace pv14
