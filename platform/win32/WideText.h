// Text between the program's encodings and the UTF-16 of the Windows API.
// Code page 932 is named explicitly, so the program's Shift_JIS texts mean
// the same under any system locale.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pv14::win32 {

// nullopt when the bytes are not valid code page 932.
std::optional<std::wstring> Cp932ToWide(std::string_view cp932);
// nullopt when a character has no code page 932 form (no best fit).
std::optional<std::string> WideToCp932(std::wstring_view wide);
// nullopt on invalid UTF-8 / unpaired surrogates.
std::optional<std::wstring> Utf8ToWide(std::string_view utf8);
std::optional<std::string> WideToUtf8(std::wstring_view wide);

// An environment variable read in UTF-16 (the form Windows keeps it in);
// nullopt when unset.
std::optional<std::wstring> WideEnvironment(const wchar_t* name);

}  // namespace pv14::win32
