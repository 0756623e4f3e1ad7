// What typing into a single-line edit of a Shift_JIS program does to a text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pv14 {

// The bytes an edit takes by typing until the program limits it.
inline constexpr std::size_t kEditDefaultLimit = 30000;

// The Shift_JIS form of typed UTF-8 text: every character code page 932
// cannot hold (and every byte that is not UTF-8) becomes the system's
// default character '?', and the text ends at the last whole character
// that fits in byteLimit bytes, since typing stops at the edit's limit.
std::string TypeIntoEdit(std::string_view utf8, std::size_t byteLimit);

// UTF-16 as UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);

// An edit held to a limit in program bytes while a desktop edit counts
// UTF-16 units: given its text before and after a change by the user, the
// text it keeps (the inserted part cut after the last whole character that
// fits; a surrogate pair is never split) and the caret after the kept
// insertion. A change that fits, and any deletion, is kept as it is.
struct TypedChange {
  std::u16string text;
  std::size_t caret;
};
TypedChange FitTypedChange(std::u16string_view before, std::u16string_view after,
                           std::size_t byteLimit);

}  // namespace pv14
