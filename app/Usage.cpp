#include "app/Usage.h"

#include "resources/Strings.h"

namespace pv14 {
namespace {

constexpr std::string_view kHelp = R"(
  PROGRAM [WINDOW,MESSAGE,FUNCTION,[OUTPUT PATH]]
  PROGRAM --help | --version

Exports the selected company's year-end statement as the filing
application's XML file. Started by the accounting application with its
window handle, the message to post at the end, a function id and optionally
a fixed output path (Windows form); started alone, the user chooses the path.

Console commands (PV14_UI=console; shown on stderr, read from stdin, one a line):
  1, 2, 3        choose the income kind
  path TEXT      type the output path (a POSIX path is named through PV14_DRIVES)
  browse [TEXT]  pick the file TEXT in the file dialog (without TEXT: cancel it)
  execute, f12   press the execute button (also an empty line)
  cancel, esc    cancel (also the end of input)
  y, n           answer a question

Environment:
  LEDGER_ENGINE_DB    the engine's database file
  LEDGER_ENGINE_USER  the engine's current user for this process
  PV14_UI             console, qt or win32 (the face to show)
  PV14_DRIVES         drive table: KEY=DIR[,TYPE];... (default Z=/)
  PV14_WINDOWS        folder of the caller windows' sockets

Exit status: 0 done, 1 cancelled, 2 failed.
)";

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::optional<std::string> InformationRequested(std::string_view commandLine,
                                                const Edition& edition) {
  const std::string_view request = Trimmed(commandLine);
  if (request != "--help" && request != "--version") return std::nullopt;
  std::string name = edition.settingsFileName;
  if (const auto dot = name.rfind('.'); dot != std::string::npos) name.resize(dot);
  if (request == "--version") {
    return name + " " + LoadStringResource(kIdsConnectedProgramVersion) + "\n";
  }
  std::string help = "Usage:";
  for (std::string_view rest = kHelp; !rest.empty();) {
    const auto at = rest.find("PROGRAM");
    help += rest.substr(0, at);
    if (at == std::string_view::npos) break;
    help += name;
    rest.remove_prefix(at + 7);
  }
  return help;
}

}  // namespace pv14
