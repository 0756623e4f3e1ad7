// The full-width mapping of Shift_JIS text that a Japanese Windows applies
// for LCMapString with LCMAP_FULLWIDTH.
#pragma once

#include <string>
#include <string_view>

namespace pv14 {

// Printable ASCII and the blank become their full-width characters;
// half-width katakana become full-width katakana, taking a following voiced
// or semi-voiced mark into one character where code page 932 has it;
// double-byte characters and every other byte are kept.
std::string MapToFullWidth(std::string_view sjis);

}  // namespace pv14
