// The front end of the process, chosen once from PV14_UI.
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "platform/ConsoleStreams.h"
#include "platform/DesktopUi.h"
#include "platform/console/ConsoleUi.h"
#include "platform/console/FrontEndChoice.h"

namespace pv14 {

// Defined only by a build with the desktop front end.
[[gnu::weak]] Ui* DesktopUi();

namespace {

Ui& ConsoleFrontEnd() {
  static ConsoleUi console(std::cin, std::cerr, PrepareConsoleStreams());
  return console;
}

Ui& ChosenFrontEnd() {
  const char* setting = std::getenv("PV14_UI");
  FrontEndChoice choice =
      ChooseFrontEnd(setting != nullptr ? std::optional<std::string_view>(setting) : std::nullopt,
                     DesktopUi != nullptr);
  if (!choice.note.empty()) std::fprintf(stderr, "%s\n", choice.note.c_str());
  if (choice.frontEnd == FrontEnd::kDesktop) {
    // The desktop gives none without a display.
    if (Ui* desktop = DesktopUi()) return *desktop;
    if (setting != nullptr) std::fprintf(stderr, "PV14_UI=qt: no display; using the console\n");
  }
  return ConsoleFrontEnd();
}

}  // namespace

Ui& Ui::Default() {
  static Ui& chosen = ChosenFrontEnd();
  return chosen;
}

}  // namespace pv14
