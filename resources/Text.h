// The program's own texts are written in UTF-8 in the sources and used as
// Shift_JIS: SJ("…") converts a literal once, on first use, and keeps it.
#pragma once

#include <string>
#include <string_view>

namespace pv14 {

// Converts a literal of the program; a literal with no code page 932 form is
// a programming error and aborts.
std::string LiteralToCp932(std::string_view utf8);

}  // namespace pv14

#define SJ(literal)                                                       \
  ([]() -> const std::string& {                                           \
    static const std::string converted = ::pv14::LiteralToCp932(literal); \
    return converted;                                                     \
  }())
