#include "platform/Faces.h"

#include <algorithm>
#include <array>

namespace pv14 {
namespace {

std::vector<Face>& Registry() {
  // Built on first use: faces join from static constructors in any order.
  static std::vector<Face> faces;
  return faces;
}

// Every name PV14_UI may give, with the kind of front end it names, so that
// a face this build lacks is told apart from a name that means nothing.
struct KnownFace {
  std::string_view name;
  std::string_view kind;
};
constexpr std::array<KnownFace, 3> kKnownFaces = {{
    {kConsoleFace, "console"},
    {"qt", "desktop"},
    {"win32", "Win32"},
}};

const Face* Find(std::span<const Face> linked, auto matches) {
  auto it = std::find_if(linked.begin(), linked.end(), matches);
  return it == linked.end() ? nullptr : &*it;
}

}  // namespace

FaceRegistration::FaceRegistration(const Face& face) { Registry().push_back(face); }

std::vector<Face> LinkedFaces() { return Registry(); }

FaceChoice ChooseFace(std::optional<std::string_view> setting, std::span<const Face> linked,
                      bool displayPresent) {
  auto withRole = [&](FaceRole role) {
    return Find(linked, [role](const Face& face) { return face.role == role; });
  };
  const std::string console(kConsoleFace);
  if (!setting || setting->empty()) {
    if (const Face* system = withRole(FaceRole::kSystem)) return {std::string(system->name), ""};
    const Face* desktop = withRole(FaceRole::kDesktop);
    if (desktop != nullptr && displayPresent) return {std::string(desktop->name), ""};
    return {console, ""};
  }
  const std::string name(*setting);
  if (const Face* face = Find(linked, [&](const Face& f) { return f.name == name; })) {
    if (face->role == FaceRole::kDesktop && !displayPresent) {
      return {console, "PV14_UI=" + name + ": no display; using the console"};
    }
    return {name, ""};
  }
  for (const KnownFace& known : kKnownFaces) {
    if (known.name == name) {
      return {console, "PV14_UI=" + name + ": this build has no " + std::string(known.kind) +
                           " front end; using the console"};
    }
  }
  return {console, "PV14_UI=" + name + " is unknown; using the console"};
}

}  // namespace pv14
