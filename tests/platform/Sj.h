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

}  // namespace pv14::testing
