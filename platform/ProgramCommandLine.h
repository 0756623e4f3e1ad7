// The command line as the framework hands it to the program.
#pragma once

#include <string>

namespace pv14 {

// The text after the program's own name, in code page 932. Where the system
// passes separate arguments they are joined with single blanks; on Windows
// it is the process's own command-line text, quotes and blanks kept.
std::string ProgramCommandLine(int argc, char** argv);

}  // namespace pv14
