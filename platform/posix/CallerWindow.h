// The caller's window seen from this process: a window handle names a Unix
// datagram socket $PV14_WINDOWS/<handle> (default folder
// ${XDG_RUNTIME_DIR:-/tmp}/pv14-windows), and each window call is one ASCII
// datagram sent to it.
#pragma once

#include <string>
#include <string_view>

#include "platform/Types.h"

namespace pv14 {

// Where the socket of window lives, read from the environment at each call.
std::string WindowSocketPath(WindowHandle window);

// Sends text as one datagram to the window's socket. False, quietly, when
// the window is kNoWindow, no socket listens there, or the send fails.
bool SendToWindow(WindowHandle window, std::string_view text);

}  // namespace pv14
