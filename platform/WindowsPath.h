// The roots of Windows paths in Shift_JIS: drive letters ("X:", "X:\") and
// UNC shares ("\\server\share"), read by the double-byte rule of
// platform/ShiftJis.h, so a 0x5C second byte never ends a server or a share.
// Names are compared without regard to case with sjis::EqualsNoCase
// (platform/ShiftJisSearch.h).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pv14::winpath {

inline bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
inline bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// True when the path starts with a drive letter and its colon ("X:").
inline bool HasDrive(std::string_view path) {
  return path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':';
}
// True when the path starts with the two backslashes of a UNC name.
inline bool IsUnc(std::string_view path) {
  return path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
}
// False for a path that names its drive or starts at a root ("X:...",
// "\..."): the shell's test of a relative path.
inline bool IsRelative(std::string_view path) {
  return !HasDrive(path) && !(!path.empty() && path[0] == '\\');
}

// Length of "\\server\share" at the start of path; nullopt when the path does
// not start with one (server and share each hold at least one byte).
std::optional<std::size_t> ShareLength(std::string_view path);

// The key a drive table knows a path's root by: "X" for "X:...", the
// "\\server\share" of a UNC path; empty for a path with neither.
std::string_view RootKey(std::string_view path);

// Offset of the text after the root "X:\" or "\\server\share\" (a share's
// closing backslash may be missing at the end); nullopt without such a root.
std::optional<std::size_t> SkipRoot(std::string_view path);

// True when name matches a file-name pattern: "*" stands for any run of
// characters, "?" for one character (single- or double-byte), letters match
// either case.
bool MatchesPattern(std::string_view name, std::string_view pattern);

// The path as Windows names what it creates or opens: trailing blanks and
// dots of each name after the root dropped ("x.xml " is "x.xml", "dir.\a"
// is "dir\a"). "." and ".." stay, and so does a name that would be left
// empty.
std::string DropTrailingDotsAndBlanks(std::string_view path);

// The root directory of a drive letter: "X:\".
inline std::string DriveRoot(char letter) { return {letter, ':', '\\'}; }

}  // namespace pv14::winpath
