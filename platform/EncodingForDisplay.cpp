// The display conversion, on top of each system's strict one.
#include "platform/Encoding.h"
#include "platform/ShiftJis.h"

namespace pv14 {

std::string Cp932ToUtf8Lossy(std::string_view cp932) {
  if (auto whole = Cp932ToUtf8(cp932)) return *whole;
  std::string out;
  std::size_t i = 0;
  while (i < cp932.size()) {
    const std::size_t n = sjis::CharLength(cp932, i);
    if (auto part = Cp932ToUtf8(cp932.substr(i, n))) {
      out += *part;
    } else {
      out += "\xEF\xBF\xBD";
    }
    i += n;
  }
  return out;
}

}  // namespace pv14
