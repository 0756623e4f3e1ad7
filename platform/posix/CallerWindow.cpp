#include "platform/posix/CallerWindow.h"

#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace pv14 {
namespace {

std::string WindowFolder() {
  const char* folder = std::getenv("PV14_WINDOWS");
  if (folder != nullptr && *folder != '\0') return folder;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::string base = (runtime != nullptr && *runtime != '\0') ? runtime : "/tmp";
  return base + "/pv14-windows";
}

// A caller that stopped reading must not hang the program at its exit.
constexpr long kSendTimeoutMicroseconds = 500 * 1000;

}  // namespace

std::string WindowSocketPath(WindowHandle window) {
  return WindowFolder() + "/" + std::to_string(window);
}

bool SendToWindow(WindowHandle window, std::string_view text) {
  if (window == kNoWindow) return false;
  std::string path = WindowSocketPath(window);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof(address.sun_path)) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);

  int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  timeval timeout{0, kSendTimeoutMicroseconds};
  ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof(timeout));
  ssize_t sent;
  do {
    sent = ::sendto(fd, text.data(), text.size(), MSG_NOSIGNAL,
                    reinterpret_cast<const sockaddr*>(&address), sizeof(address));
  } while (sent < 0 && errno == EINTR);
  ::close(fd);
  return sent == static_cast<ssize_t>(text.size());
}

}  // namespace pv14
