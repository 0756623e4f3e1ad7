// Reading one value of an initialisation file ("[section]" lines and
// "key=value" lines, Shift_JIS, CR LF or LF) the way Windows reads profile
// strings.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pv14 {

// The value of key in section: sections and keys compared without regard
// to ASCII case, blanks around keys and values trimmed, one pair of
// surrounding quotes removed. A key line without "=" has an empty value.
// nullopt when the section or the key is not there. Lines starting with ";"
// are comments.
std::optional<std::string> FindProfileValue(std::string_view contents, std::string_view section,
                                            std::string_view key);

// What GetPrivateProfileString returns: the value, or def without its
// trailing blanks when there is none; cut to size - 1 bytes without
// splitting a double-byte character.
std::string ProfileResult(const std::optional<std::string>& value, std::string_view def,
                          std::size_t size);

}  // namespace pv14
