// The caller's window seen from this process: a window handle names a Unix
// datagram socket $PV14_WINDOWS/<handle> (default folder
// $XDG_RUNTIME_DIR/pv14-windows, or /tmp/pv14-windows-<uid> without
// XDG_RUNTIME_DIR), and each window call is one ASCII datagram sent to it.
#pragma once

#include <string>
#include <string_view>

#include "platform/Types.h"

namespace pv14 {

// Where the socket of window lives, read from the environment at each call.
std::string WindowSocketPath(WindowHandle window);

// Sends text as one datagram to the window's socket. False, quietly, when
// the window is kNoWindow, no socket listens there, or the send fails.
// False too, with one line on stderr (once per process), when the folder is
// not a folder of this user's that no one else may write to, or what is at
// the socket's path is no socket (a link to one is not followed): another
// local user must not take or forge the caller's notifications.
bool SendToWindow(WindowHandle window, std::string_view text);

}  // namespace pv14
