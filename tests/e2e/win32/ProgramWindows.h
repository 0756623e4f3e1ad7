// The installed program's windows, found from a test's process as a user
// finds them on the screen.
#pragma once

#include <chrono>
#include <string>

#include "platform/win32/WindowsApi.h"

namespace pv14::testing {

inline constexpr wchar_t kConditionsCaption[] = L"\x6240\x5F97\x7A0E - \x96C6\x8A08\x6761\x4EF6";
inline constexpr wchar_t kMessageCaption[] = L"\x6240\x5F97\x7A0E";
inline constexpr int kMessageText = 0xFFFF;  // the text of a message box

// A shown dialog of the caption that a process of the program's file name
// owns; null when none shows within the limit.
HWND WaitForDialog(const wchar_t* caption, const std::string& program, std::chrono::seconds limit);
std::wstring ItemText(HWND dialog, int id);

}  // namespace pv14::testing
