// Searches and case-blind comparison over Shift_JIS text, by the
// double-byte rule of platform/ShiftJis.h.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/ShiftJis.h"

namespace pv14::sjis {

// Position of the first single-byte character c at or after from (any byte
// position: characters are classified from the start); npos when none.
std::size_t FindSingleByte(std::string_view text, char c, std::size_t from = 0);
// ASCII letters lowered; second bytes of double-byte characters kept.
std::string FoldCase(std::string_view text);
// Comparison without regard to ASCII case.
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace pv14::sjis
