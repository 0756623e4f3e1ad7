// Dialog templates as data, shared by every front end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pv14 {

enum class ControlKind {
  kStatic,
  kGroupBox,
  kRadioButton,  // automatic radio button
  kPushButton,
  kEdit,
  kProgressBar,  // "msctls_progress32"
};

// Window styles the templates use, with their Windows values.
namespace style {
inline constexpr std::uint32_t kChild = 0x40000000;
inline constexpr std::uint32_t kVisible = 0x10000000;
inline constexpr std::uint32_t kPopup = 0x80000000;
inline constexpr std::uint32_t kCaption = 0x00C00000;
inline constexpr std::uint32_t kSysMenu = 0x00080000;
inline constexpr std::uint32_t kBorder = 0x00800000;
inline constexpr std::uint32_t kGroup = 0x00020000;
inline constexpr std::uint32_t kTabStop = 0x00010000;
inline constexpr std::uint32_t kModalFrame = 0x80;         // DS_MODALFRAME
inline constexpr std::uint32_t kSystemModal = 0x02;        // DS_SYSMODAL
inline constexpr std::uint32_t kCenterImage = 0x200;       // SS_CENTERIMAGE
inline constexpr std::uint32_t kAutoHScroll = 0x80;        // ES_AUTOHSCROLL
inline constexpr std::uint32_t kSmooth = 0x01;             // PBS_SMOOTH
inline constexpr std::uint32_t kExAppWindow = 0x00040000;  // WS_EX_APPWINDOW
}  // namespace style

struct ControlTemplate {
  int id;
  ControlKind kind;
  std::string text;         // Shift_JIS
  int x, y, width, height;  // dialog units
  std::uint32_t style;      // beyond child + visible
};

struct DialogTemplate {
  int id;
  std::string caption;  // Shift_JIS
  int width, height;    // client area, dialog units
  std::string font;     // Shift_JIS
  int pointSize;
  std::uint32_t style;
  std::uint32_t exStyle;
  std::vector<ControlTemplate> controls;  // in tab order
};

// Template 130, the export-conditions dialog.
const DialogTemplate& ConditionDialogTemplate();
// Template 131, the progress dialog.
const DialogTemplate& ProgressDialogTemplate();

}  // namespace pv14
