// The console joins the program's faces (see platform/Faces.h); every choice
// falls back to it.
#include <memory>

#include "platform/ConsoleStreams.h"
#include "platform/Faces.h"
#include "platform/console/ConsoleUi.h"

namespace pv14 {
namespace {

Ui* OpenConsole() {
  static ConsoleUi console(std::make_unique<StandardEnds>(), PrepareConsoleStreams());
  return &console;
}

const FaceRegistration kJoins{{kConsoleFace, FaceRole::kConsole, &OpenConsole}};

}  // namespace
}  // namespace pv14
