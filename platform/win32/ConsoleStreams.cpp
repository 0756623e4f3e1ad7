#include "platform/ConsoleStreams.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>

#include "platform/win32/WindowsApi.h"

namespace pv14 {

namespace {

bool HasHandle(DWORD which) {
  HANDLE handle = ::GetStdHandle(which);
  return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

// The programs are GUI programs: started from a console without
// redirection they get no standard handles, so the console face talks to
// the console of the process that started them.
void AttachParentConsole() {
  const bool input = HasHandle(STD_INPUT_HANDLE);
  const bool errors = HasHandle(STD_ERROR_HANDLE);
  if ((input && errors) || !::AttachConsole(ATTACH_PARENT_PROCESS)) return;
  if (!input) std::freopen("CONIN$", "rb", stdin);
  if (!errors) std::freopen("CONOUT$", "wb", stderr);
}

// The console belongs to the shell that started the program: it gets its
// code pages and its mode back when the program ends.
struct ConsoleState {
  UINT outputCodePage = 0;
  UINT inputCodePage = 0;
  HANDLE handle = nullptr;
  DWORD mode = 0;
  bool modeKept = false;
};

ConsoleState& Saved() {
  static ConsoleState state;
  return state;
}

void RestoreConsole() {
  const ConsoleState& state = Saved();
  if (state.modeKept) ::SetConsoleMode(state.handle, state.mode);
  if (state.outputCodePage != 0) ::SetConsoleOutputCP(state.outputCodePage);
  if (state.inputCodePage != 0) ::SetConsoleCP(state.inputCodePage);
}

}  // namespace

bool PrepareConsoleStreams() {
  AttachParentConsole();
  // Binary: no CR added before LF, no CR LF folded, no Ctrl+Z as the end.
  // The console face strips a CR from the lines it reads.
  ::_setmode(::_fileno(stdin), _O_BINARY);
  ::_setmode(::_fileno(stderr), _O_BINARY);
  const bool terminal = ::_isatty(::_fileno(stderr)) != 0;
  if (terminal) {
    // The runtime writes an unbuffered stream a byte at a time, and a UTF-8
    // console shows a lone byte of a character as a replacement mark.
    // Buffered, each flush of the console face is one write.
    std::setvbuf(stderr, nullptr, _IOFBF, 1 << 16);
    ConsoleState& saved = Saved();
    saved.outputCodePage = ::GetConsoleOutputCP();
    saved.inputCodePage = ::GetConsoleCP();
    std::atexit(RestoreConsole);
    ::SetConsoleOutputCP(CP_UTF8);
    ::SetConsoleCP(CP_UTF8);
    // The progress line is redrawn with an escape sequence.
    HANDLE console = ::GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (::GetConsoleMode(console, &mode)) {
      saved.handle = console;
      saved.mode = mode;
      saved.modeKept = true;
      ::SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    }
  }
  return terminal;
}

}  // namespace pv14
