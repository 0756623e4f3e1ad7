// Conversion between UTF-8 (sources, JSON, the terminal) and Shift_JIS
// (code page 932, the program's text everywhere else).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pv14 {

// nullopt when a character has no code page 932 form (or the input is not
// valid UTF-8).
std::optional<std::string> Utf8ToCp932(std::string_view utf8);
// nullopt when the bytes are not valid code page 932.
std::optional<std::string> Cp932ToUtf8(std::string_view cp932);

// For display only: invalid bytes come out as U+FFFD instead of failing.
std::string Cp932ToUtf8Lossy(std::string_view cp932);

}  // namespace pv14
