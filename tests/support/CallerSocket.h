// The caller's window, as a test sees it: a Unix datagram socket bound at
// <folder>/<window> in a fresh temporary folder. Pass folder() as
// PV14_WINDOWS (or call ExportEnvironment()) and the window's number as the
// program's window handle; every EnableWindow / SetForegroundWindow /
// PostMessage the program makes arrives here as one ASCII datagram, such as
// "EnableWindow 0" or "PostMessage 32768 4294941760 0".
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/Types.h"
#include "tests/support/TempDir.h"

namespace pv14::testing {

class CallerSocket {
 public:
  // Throws std::runtime_error when the socket cannot be bound.
  explicit CallerSocket(WindowHandle window = 4242);
  CallerSocket(const CallerSocket&) = delete;
  CallerSocket& operator=(const CallerSocket&) = delete;
  // Closes the socket and, after ExportEnvironment(), restores PV14_WINDOWS.
  ~CallerSocket();

  WindowHandle window() const { return window_; }
  // The folder to give as PV14_WINDOWS.
  const std::string& folder() const { return dir_.path(); }
  // The socket's own path: folder() + "/" + the window's decimal number.
  std::string socketPath() const;
  // Sets PV14_WINDOWS of this process (and so of children it starts).
  void ExportEnvironment();

  // The next datagram, or nullopt when none arrives within timeout.
  std::optional<std::string> Receive(std::chrono::milliseconds timeout);
  // Datagrams until count have arrived or timeout has passed since the call.
  std::vector<std::string> Receive(std::size_t count, std::chrono::milliseconds timeout);
  // Every datagram that arrives until none has come for quiet.
  std::vector<std::string> Drain(std::chrono::milliseconds quiet);

 private:
  WindowHandle window_;
  TempDir dir_;
  int fd_ = -1;
  bool exported_ = false;
  std::optional<std::string> previous_;  // PV14_WINDOWS before ExportEnvironment()
};

}  // namespace pv14::testing
