// The desktop face joins the two programs here (see platform/Faces.h); its
// Qt part is the module beside them, loaded only when the face opens.
#include "platform/FaceModule.h"
#include "platform/Faces.h"

namespace pv14 {
namespace {

Ui* OpenQtModule() { return OpenFaceModule(PV14_QT_FACE_MODULE, "pv14_open_qt_face"); }

const FaceRegistration kJoins{{"qt", FaceRole::kDesktop, &OpenQtModule}};

}  // namespace
}  // namespace pv14
