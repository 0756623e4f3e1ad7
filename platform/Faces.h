// The faces of the program: the front ends that show its message boxes and
// dialogs (console, Qt, Win32), and the rule that picks one for the process.
//
// How a face joins a program:
//   1. Its sources implement Ui (platform/Ui.h) and register the face once,
//      with a namespace-scope object in one of them:
//        Ui* OpenQtUi();  // the face's Ui, kept for the process; null when
//                         // it cannot run here
//        const FaceRegistration kJoins{{"qt", FaceRole::kDesktop, &OpenQtUi}};
//   2. CMakeLists.txt makes those sources one face library:
//        pv14_add_face(pv14_face_qt platform/qt/QtUi.cpp ...)
//        target_link_libraries(pv14_face_qt PUBLIC Qt6::Widgets)
//      pv14_add_face builds an OBJECT library and hands its objects to every
//      program that links pv14_platform. Objects are linked whole, so the
//      registration runs at start-up even though no code refers to it (an
//      unreferenced member of a static library would be dropped by the
//      linker, and the face with it).
// Nothing else names the face: Ui::Default() finds it in the registry.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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
  // The face's Ui for the rest of the process, made on the first call;
  // null when the face cannot run here (a desktop face without a display).
  Ui* (*open)();
};

inline constexpr std::string_view kConsoleFace = "console";

// Adds a face to the registry when constructed (at start-up, see above).
class FaceRegistration {
 public:
  explicit FaceRegistration(const Face& face);
};

// Every face linked into this program, in the order they joined.
std::vector<Face> LinkedFaces();

// The face to open, by name, and a note for stderr when the request cannot
// be met (empty otherwise).
struct FaceChoice {
  std::string face;
  std::string note;
};

// The choice for PV14_UI = setting (nullopt when unset): a linked face by its
// name; when unset or empty, a kSystem face if linked, else a kDesktop face
// if linked and a display is present (DISPLAY or WAYLAND_DISPLAY), else the
// console. A desktop face asked for without a display, a face this build
// lacks and an unknown name give the console, with a note.
FaceChoice ChooseFace(std::optional<std::string_view> setting, std::span<const Face> linked,
                      bool displayPresent);

}  // namespace pv14
