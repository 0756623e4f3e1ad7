#include "resources/Text.h"

#include <cstdio>
#include <cstdlib>

#include "platform/Encoding.h"

namespace pv14 {

std::string LiteralToCp932(std::string_view utf8) {
  auto converted = Utf8ToCp932(utf8);
  if (!converted) {
    std::fprintf(stderr, "internal error: literal without a Shift_JIS form\n");
    std::abort();
  }
  return *converted;
}

}  // namespace pv14
