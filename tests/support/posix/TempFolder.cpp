#include "tests/support/TempFolder.h"

#include <cstdlib>
#include <stdexcept>

namespace pv14::testing {

std::string CreateUniqueTempFolder(std::string_view prefix) {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = (base != nullptr && *base != '\0') ? base : "/tmp";
  pattern += "/pv14-";
  pattern += prefix;
  pattern += "-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot create a temporary folder from " + pattern);
  }
  return pattern;
}

}  // namespace pv14::testing
