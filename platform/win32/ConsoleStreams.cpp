#include "platform/ConsoleStreams.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "platform/win32/WindowsApi.h"

namespace pv14 {

bool PrepareConsoleStreams() {
  // Binary: no CR added before LF, no CR LF folded, no Ctrl+Z as the end.
  // The console face strips a CR from the lines it reads.
  ::_setmode(::_fileno(stdin), _O_BINARY);
  ::_setmode(::_fileno(stderr), _O_BINARY);
  const bool terminal = ::_isatty(::_fileno(stderr)) != 0;
  if (terminal) {
    ::SetConsoleOutputCP(CP_UTF8);
    ::SetConsoleCP(CP_UTF8);
    // The progress line is redrawn with an escape sequence.
    HANDLE console = ::GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (::GetConsoleMode(console, &mode)) {
      ::SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    }
  }
  return terminal;
}

}  // namespace pv14
