// The choice of front end: PV14_UI=console or PV14_UI=qt; unset, the
// desktop when the build has one and a display is present, else the
// console.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string_view>

#include "platform/DesktopUi.h"
#include "platform/console/ConsoleUi.h"

namespace pv14 {

// Defined only by a build with the desktop front end.
[[gnu::weak]] Ui* DesktopUi();

namespace {

Ui& ConsoleFrontEnd() {
  static ConsoleUi console(std::cin, std::cerr, ::isatty(STDERR_FILENO) != 0);
  return console;
}

Ui* Desktop() { return DesktopUi != nullptr ? DesktopUi() : nullptr; }

Ui& ChooseFrontEnd() {
  const char* choice = std::getenv("PV14_UI");
  std::string_view name = choice != nullptr ? choice : "";
  if (name.empty()) {
    Ui* desktop = Desktop();
    return desktop != nullptr ? *desktop : ConsoleFrontEnd();
  }
  if (name == "qt") {
    if (Ui* desktop = Desktop()) return *desktop;
    std::fprintf(stderr, "PV14_UI=qt: no desktop front end here; using the console\n");
  } else if (name != "console") {
    std::fprintf(stderr, "PV14_UI=%s is unknown; using the console\n", choice);
  }
  return ConsoleFrontEnd();
}

}  // namespace

Ui& Ui::Default() {
  static Ui& chosen = ChooseFrontEnd();
  return chosen;
}

}  // namespace pv14
