// The conversions of platform/Encoding.h on Windows: the system's own code
// page 932 tables, through UTF-16.
#include "platform/Encoding.h"

#include "platform/win32/WideText.h"

namespace pv14 {

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
  auto wide = win32::Utf8ToWide(utf8);
  if (!wide) return std::nullopt;
  return win32::WideToCp932(*wide);
}

std::optional<std::string> Cp932ToUtf8(std::string_view cp932) {
  auto wide = win32::Cp932ToWide(cp932);
  if (!wide) return std::nullopt;
  return win32::WideToUtf8(*wide);
}

}  // namespace pv14
