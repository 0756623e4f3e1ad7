#include "platform/FaceChoice.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/ConsoleStreams.h"
#include "platform/console/ConsoleUi.h"

namespace pv14 {
namespace {

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

const Face* Find(std::span<const Face> built, auto matches) {
  auto it = std::find_if(built.begin(), built.end(), matches);
  return it == built.end() ? nullptr : &*it;
}

const char* Setting() { return std::getenv("PV14_UI"); }

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

}  // namespace

FaceChoice ChooseFace(std::optional<std::string_view> setting, std::span<const Face> built,
                      bool displayPresent) {
  auto withRole = [&](FaceRole role) {
    return Find(built, [role](const Face& face) { return face.role == role; });
  };
  const std::string console(kConsoleFace);
  if (!setting || setting->empty()) {
    if (const Face* system = withRole(FaceRole::kSystem)) return {std::string(system->name), ""};
    const Face* desktop = withRole(FaceRole::kDesktop);
    if (desktop != nullptr && displayPresent) return {std::string(desktop->name), ""};
    return {console, ""};
  }
  const std::string name(*setting);
  if (const Face* face = Find(built, [&](const Face& f) { return f.name == name; })) {
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

std::string ChooseFaceHere(std::span<const Face> built) {
  const char* setting = Setting();
  FaceChoice choice =
      ChooseFace(setting != nullptr ? std::optional<std::string_view>(setting) : std::nullopt,
                 built, DisplayPresent());
  Note(choice.note);
  return std::move(choice.face);
}

Ui& OpenedOrConsole(Ui* opened, std::string_view chosen) {
  if (opened != nullptr) return *opened;
  // A face that finds it cannot run after all (its display is gone) gives
  // way to the console; only a request the user made is worth a note.
  const char* setting = Setting();
  if (chosen != kConsoleFace && setting != nullptr && *setting != '\0') {
    Note("PV14_UI=" + std::string(chosen) + ": the front end cannot start; using the console");
  }
  static ConsoleUi console(std::make_unique<StandardEnds>(), PrepareConsoleStreams());
  return console;
}

}  // namespace pv14
