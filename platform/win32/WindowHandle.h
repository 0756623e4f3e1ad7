// Window handles between the program's 32-bit form (the caller's command
// line, the Ui interface) and HWND. HWNDs keep their value in 32 bits, and a
// 64-bit process sign-extends them. Include after WindowsApi.h.
#pragma once

#include <cstdint>

#include "platform/Types.h"
#include "platform/win32/WindowsApi.h"

namespace pv14::win32 {

inline HWND ToHwnd(WindowHandle window) {
  return reinterpret_cast<HWND>(static_cast<INT_PTR>(static_cast<std::int32_t>(window)));
}

inline WindowHandle FromHwnd(HWND window) {
  return static_cast<WindowHandle>(reinterpret_cast<std::uintptr_t>(window));
}

// The window, or none when the handle names no window (now).
inline HWND LiveWindow(WindowHandle window) {
  HWND hwnd = ToHwnd(window);
  return window != kNoWindow && ::IsWindow(hwnd) ? hwnd : nullptr;
}

}  // namespace pv14::win32
