// Dialog templates as a Windows resource script (.rc): what the Windows
// build compiles into each program, so that the real dialog manager builds
// dialogs 130 and 131 from the same template data the other faces render.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/DialogTemplate.h"

namespace pv14 {

// The window class of a kind of control, and the style it has beyond the
// template's own (child, visible and the kind's button or static style).
struct ControlClass {
  std::string_view windowClass;
  std::uint32_t style;
};
ControlClass ClassOf(ControlKind kind);

struct ResourceString {
  int id;
  std::string text;  // Shift_JIS
};

// The script of the dialogs (Japanese resources, extended templates for
// those with extended styles) and one string table; every text written as
// UTF-16 escapes, so the script means the same to any resource compiler
// whatever its code page. nullopt when a text is not valid Shift_JIS.
std::optional<std::string> ResourceScript(std::span<const DialogTemplate* const> dialogs,
                                          std::span<const ResourceString> strings);

}  // namespace pv14
