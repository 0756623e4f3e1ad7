// What typing into a single-line edit of a Shift_JIS program does to a text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pv14 {

// The Shift_JIS form of typed UTF-8 text: every character code page 932
// cannot hold (and every byte that is not UTF-8) becomes the system's
// default character '?', and the text ends at the last whole character
// that fits in byteLimit bytes, since typing stops at the edit's limit.
std::string TypeIntoEdit(std::string_view utf8, std::size_t byteLimit);

}  // namespace pv14
