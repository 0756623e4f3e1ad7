// The face of a Windows process: the system's own dialogs, or the console
// when PV14_UI asks for it or the program carries no dialog resources.
#include "platform/FaceChoice.h"
#include "platform/win32/face/Win32Ui.h"

namespace pv14 {
namespace {

Ui& OpenChosenFace() {
  static constexpr Face kBuilt[] = {{kConsoleFace, FaceRole::kConsole},
                                    {"win32", FaceRole::kSystem}};
  const std::string chosen = ChooseFaceHere(kBuilt);
  return OpenedOrConsole(chosen == "win32" ? win32::OpenWin32Ui() : nullptr, chosen);
}

}  // namespace

Ui& Ui::Default() {
  static Ui& chosen = OpenChosenFace();
  return chosen;
}

}  // namespace pv14
