#include "platform/posix/CallerWindow.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace pv14 {
namespace {

std::string WindowFolder() {
  const char* folder = std::getenv("PV14_WINDOWS");
  if (folder != nullptr && *folder != '\0') return folder;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && *runtime != '\0') return std::string(runtime) + "/pv14-windows";
  // A name of the user's own: a shared one could be taken by anyone first.
  return "/tmp/pv14-windows-" + std::to_string(::geteuid());
}

// Says once why no window call reaches the caller.
void RefuseOnce(const std::string& what) {
  static std::atomic<bool> said{false};
  if (said.exchange(true)) return;
  std::fprintf(stderr, "caller window: %s; the caller is not told\n", what.c_str());
}

// The folder must be this user's and closed to others, and the entry at
// path a socket itself, as a ssh agent's socket is checked: otherwise
// another local user could read or forge what the caller is told. A missing
// socket is a closed window and fails quietly.
bool IsTrustedSocket(const std::string& folder, const std::string& path) {
  struct stat st;
  if (::stat(folder.c_str(), &st) != 0) return false;
  if (!S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() || (st.st_mode & 022) != 0) {
    RefuseOnce("the folder " + folder +
               " is not the user's own or others may write to it (PV14_WINDOWS)");
    return false;
  }
  if (::lstat(path.c_str(), &st) != 0) return false;
  if (!S_ISSOCK(st.st_mode)) {
    RefuseOnce(path + " is not a socket");
    return false;
  }
  return true;
}

// A caller that stopped reading must not hang the program at its exit.
constexpr long kSendTimeoutMicroseconds = 500 * 1000;

}  // namespace

std::string WindowSocketPath(WindowHandle window) {
  return WindowFolder() + "/" + std::to_string(window);
}

bool SendToWindow(WindowHandle window, std::string_view text) {
  if (window == kNoWindow) return false;
  const std::string folder = WindowFolder();
  std::string path = folder + "/" + std::to_string(window);
  if (!IsTrustedSocket(folder, path)) return false;
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
