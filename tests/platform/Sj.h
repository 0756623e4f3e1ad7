// Shift_JIS test texts written as UTF-8 literals.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/Encoding.h"

namespace pv14::testing {

inline std::string Sj(std::string_view utf8) {
  auto converted = Utf8ToCp932(utf8);
  if (!converted) throw std::invalid_argument("no Shift_JIS form: " + std::string(utf8));
  return *converted;
}

// Characters whose second Shift_JIS byte is 0x5C, the byte of a backslash.
inline const std::string kHyou = Sj("表");
inline const std::string kSo = Sj("ソ");
inline const std::string kNou = Sj("能");

}  // namespace pv14::testing
