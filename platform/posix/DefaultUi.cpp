// The face of a POSIX process: the console, or the desktop face where the
// build has it, a module beside the program (Qt is loaded only when chosen).
#include "platform/FaceChoice.h"
#include "platform/FaceModule.h"

namespace pv14 {
namespace {

Ui& OpenChosenFace() {
  static constexpr Face kBuilt[] = {
      {kConsoleFace, FaceRole::kConsole},
#ifdef PV14_QT_FACE_MODULE
      {"qt", FaceRole::kDesktop},
#endif
  };
  const std::string chosen = ChooseFaceHere(kBuilt);
  Ui* opened = nullptr;
#ifdef PV14_QT_FACE_MODULE
  if (chosen == "qt") opened = OpenFaceModule(PV14_QT_FACE_MODULE, "pv14_open_qt_face");
#endif
  return OpenedOrConsole(opened, chosen);
}

}  // namespace

Ui& Ui::Default() {
  static Ui& chosen = OpenChosenFace();
  return chosen;
}

}  // namespace pv14
