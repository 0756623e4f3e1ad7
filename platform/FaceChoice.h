// Which face (front end) a process opens: console, Qt or Win32. The rule is
// kept apart from the faces so that it is tested on its own; each system's
// Ui::Default() applies it to the faces its build has
// (platform/posix/DefaultUi.cpp, platform/win32/face/DefaultUi.cpp).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/Ui.h"

namespace pv14 {

// How a face takes part in the choice when PV14_UI is unset.
enum class FaceRole {
  kConsole,  // text on stdin and stderr: runs anywhere, and is the fallback
  kDesktop,  // a desktop toolkit: the default when a display is present
  kSystem,   // the system's own dialogs: the default whenever the build has it
};

struct Face {
  std::string_view name;  // its PV14_UI value: "console", "qt", "win32"
  FaceRole role;
};

inline constexpr std::string_view kConsoleFace = "console";

// The face to open, by name, and a note for stderr when the request cannot
// be met (empty otherwise).
struct FaceChoice {
  std::string face;
  std::string note;
};

// The choice for PV14_UI = setting (nullopt when unset) among the faces the
// build has: one of them by its name; when unset or empty, a kSystem face if
// built, else a kDesktop face if built and a display is present (DISPLAY or
// WAYLAND_DISPLAY), else the console. A desktop face asked for without a
// display, a face this build lacks and an unknown name give the console,
// with a note.
FaceChoice ChooseFace(std::optional<std::string_view> setting, std::span<const Face> built,
                      bool displayPresent);

// The choice for this process, from its environment; the note goes to stderr.
std::string ChooseFaceHere(std::span<const Face> built);

// The face opened for the choice, or the console where it could not open
// (null: its display is gone, its module missing), with a note when
// PV14_UI asked for it.
Ui& OpenedOrConsole(Ui* opened, std::string_view chosen);

}  // namespace pv14
