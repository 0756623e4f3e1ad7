#include "platform/ConsoleStreams.h"

#include <unistd.h>

namespace pv14 {

bool PrepareConsoleStreams() { return ::isatty(STDERR_FILENO) != 0; }

}  // namespace pv14
