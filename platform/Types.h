// Small value types shared by the platform layer and its users.
#pragma once

#include <cstdint>

namespace pv14 {

// A window handle as the caller passes it on the command line; 0 is none.
using WindowHandle = std::uint32_t;
inline constexpr WindowHandle kNoWindow = 0;

// Message box styles and results, with the values the caller's side knows.
inline constexpr std::uint32_t kMbOk = 0x00;
inline constexpr std::uint32_t kMbYesNo = 0x04;
inline constexpr std::uint32_t kMbIconQuestion = 0x20;
inline constexpr std::uint32_t kMbIconExclamation = 0x30;
inline constexpr std::uint32_t kMbIconInformation = 0x40;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// Virtual-key codes the program looks at.
inline constexpr int kVkReturn = 0x0D;
inline constexpr int kVkShift = 0x10;
inline constexpr int kVkControl = 0x11;
inline constexpr int kVkMenu = 0x12;  // Alt
inline constexpr int kVkEscape = 0x1B;
inline constexpr int kVkF12 = 0x7B;

}  // namespace pv14
