// The command line of a Windows process as the program takes it.
#pragma once

#include <string>
#include <string_view>

namespace pv14::win32 {

// The text after the program's name, in code page 932 as an ANSI program
// receives it: '?' for a character with no code page 932 form (never a
// best-fit look-alike, which could be a quote or a backslash).
std::string CommandLineArguments(std::wstring_view whole);

}  // namespace pv14::win32
