// Dialog templates as data: what every face (console, Qt, Win32) builds a
// dialog from. The program's own templates are instances of these types in
// resources/; a face knows nothing of them beyond what they hold.
//
// A face renders the controls in order (the tab order), addresses each by
// its id, and never looks at a control's text to decide what it is: texts
// are for display only. What a typed command of the console acts on is part
// of the template too (commands), so no face guesses it from a caption.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pv14 {

enum class ControlKind {
  kStatic,
  kGroupBox,
  kRadioButton,  // automatic radio button: checking one unchecks its group
  kPushButton,
  kEdit,
  kProgressBar,  // "msctls_progress32"
};

// Window styles the templates use, with their Windows values, so the Win32
// face can hand them on unchanged.
namespace style {
inline constexpr std::uint32_t kChild = 0x40000000;
inline constexpr std::uint32_t kVisible = 0x10000000;
inline constexpr std::uint32_t kPopup = 0x80000000;
inline constexpr std::uint32_t kCaption = 0x00C00000;
inline constexpr std::uint32_t kSysMenu = 0x00080000;
inline constexpr std::uint32_t kBorder = 0x00800000;
inline constexpr std::uint32_t kGroup = 0x00020000;  // starts a group (radio buttons, tab keys)
inline constexpr std::uint32_t kTabStop = 0x00010000;
inline constexpr std::uint32_t kModalFrame = 0x80;         // DS_MODALFRAME
inline constexpr std::uint32_t kSystemModal = 0x02;        // DS_SYSMODAL
inline constexpr std::uint32_t kCenterImage = 0x200;       // SS_CENTERIMAGE
inline constexpr std::uint32_t kNoPrefix = 0x80;           // SS_NOPREFIX: & is no mnemonic
inline constexpr std::uint32_t kEndEllipsis = 0x4000;      // SS_ENDELLIPSIS: … where cut
inline constexpr std::uint32_t kAutoHScroll = 0x80;        // ES_AUTOHSCROLL
inline constexpr std::uint32_t kSmooth = 0x01;             // PBS_SMOOTH
inline constexpr std::uint32_t kExAppWindow = 0x00040000;  // WS_EX_APPWINDOW
}  // namespace style

// The words of the console's command protocol that act on a control. The
// protocol itself (which words exist, what follows them, the empty line and
// the end of input) belongs to the console face; a template only says which
// control each word acts on.
namespace command {
inline constexpr std::string_view kChoose1 = "1";  // click a radio button
inline constexpr std::string_view kChoose2 = "2";
inline constexpr std::string_view kChoose3 = "3";
inline constexpr std::string_view kPath = "path";        // type into an edit
inline constexpr std::string_view kBrowse = "browse";    // the button behind the file dialog
inline constexpr std::string_view kExecute = "execute";  // also the empty line
inline constexpr std::string_view kCancel = "cancel";    // also the end of input
}  // namespace command

struct CommandBinding {
  std::string_view command;  // one of the words above
  int controlId;
};

struct ControlTemplate {
  int id;
  ControlKind kind;
  std::string text;         // Shift_JIS; the initial text, for display only
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
  std::vector<CommandBinding> commands;   // the console's words, by control id

  // The control of the id; null when the template has none.
  const ControlTemplate* Find(int id) const {
    for (const ControlTemplate& control : controls) {
      if (control.id == id) return &control;
    }
    return nullptr;
  }
  // The ids of the radio buttons that exclude each other with the control
  // of the id: those from the last group start at or before it up to the
  // next group start. Empty when the template has no such control.
  std::vector<int> RadioGroup(int id) const {
    std::vector<int> group;
    bool found = false;
    for (const ControlTemplate& control : controls) {
      if (control.style & style::kGroup) {
        if (found) break;
        group.clear();
      }
      if (control.kind == ControlKind::kRadioButton) group.push_back(control.id);
      found = found || control.id == id;
    }
    if (!found) group.clear();
    return group;
  }
  // The first tab stop at or after the control of the id in tab order (from
  // the start when id is 0) that usable(id) accepts; 0 when there is none.
  template <typename Usable>
  int NextTabStop(int id, Usable usable) const {
    bool started = id == 0;
    for (const ControlTemplate& control : controls) {
      started = started || control.id == id;
      if (started && (control.style & style::kTabStop) && usable(control.id)) return control.id;
    }
    return 0;
  }
  // The id of the control the command acts on; nullopt when none is bound.
  std::optional<int> CommandTarget(std::string_view word) const {
    for (const CommandBinding& binding : commands) {
      if (binding.command == word) return binding.controlId;
    }
    return std::nullopt;
  }
};

}  // namespace pv14
