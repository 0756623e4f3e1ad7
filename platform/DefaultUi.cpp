// The face of the process, chosen once from PV14_UI among the linked faces.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Faces.h"

namespace pv14 {
namespace {

bool DisplayPresent() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

void Note(const std::string& note) {
  if (!note.empty()) std::fprintf(stderr, "%s\n", note.c_str());
}

Ui* Open(const std::vector<Face>& faces, std::string_view name) {
  for (const Face& face : faces) {
    if (face.name == name && face.open != nullptr) return face.open();
  }
  return nullptr;
}

Ui& OpenChosenFace() {
  const std::vector<Face> faces = LinkedFaces();
  const char* setting = std::getenv("PV14_UI");
  const FaceChoice choice =
      ChooseFace(setting != nullptr ? std::optional<std::string_view>(setting) : std::nullopt,
                 faces, DisplayPresent());
  Note(choice.note);
  if (Ui* ui = Open(faces, choice.face)) return *ui;
  // A face that finds it cannot run after all (its display is gone) gives
  // way to the console; only a request the user made is worth a note.
  if (setting != nullptr && *setting != '\0') {
    Note("PV14_UI=" + choice.face + ": the front end cannot start; using the console");
  }
  if (Ui* console = Open(faces, kConsoleFace)) return *console;
  std::fprintf(stderr, "internal error: no console front end is linked\n");
  std::abort();
}

}  // namespace

Ui& Ui::Default() {
  static Ui& chosen = OpenChosenFace();
  return chosen;
}

}  // namespace pv14
