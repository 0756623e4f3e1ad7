#include "platform/ProgramCommandLine.h"

namespace pv14 {

std::string ProgramCommandLine(int argc, char** argv) {
  std::string commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) commandLine += ' ';
    commandLine += argv[i];
  }
  return commandLine;
}

}  // namespace pv14
