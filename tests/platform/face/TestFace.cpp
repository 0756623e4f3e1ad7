// A face of the tests' own, joined like the program's faces: as a face
// library that nothing refers to (see tests/CMakeLists.txt).
#include "platform/Faces.h"

namespace pv14::testing {
namespace {

Ui* OpenTestFace() { return nullptr; }

const FaceRegistration kJoins{{"test-face", FaceRole::kConsole, &OpenTestFace}};

}  // namespace
}  // namespace pv14::testing
