#include "tests/support/CallerSocket.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace pv14::testing {

CallerSocket::CallerSocket(WindowHandle window) : window_(window), dir_("windows") {
  std::string path = socketPath();
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof(address.sun_path)) {
    throw std::runtime_error("socket path too long: " + path);
  }
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  fd_ = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) throw std::runtime_error("cannot create a datagram socket");
  if (::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
    ::close(fd_);
    throw std::runtime_error("cannot bind " + path + ": " + std::strerror(errno));
  }
}

CallerSocket::~CallerSocket() {
  if (fd_ >= 0) ::close(fd_);
  if (exported_) {
    if (previous_) {
      ::setenv("PV14_WINDOWS", previous_->c_str(), 1);
    } else {
      ::unsetenv("PV14_WINDOWS");
    }
  }
}

std::string CallerSocket::socketPath() const { return dir_.Join(std::to_string(window_)); }

void CallerSocket::ExportEnvironment() {
  if (!exported_) {
    const char* before = std::getenv("PV14_WINDOWS");
    if (before != nullptr) previous_ = before;
    exported_ = true;
  }
  ::setenv("PV14_WINDOWS", folder().c_str(), 1);
}

std::optional<std::string> CallerSocket::Receive(std::chrono::milliseconds timeout) {
  pollfd ready{fd_, POLLIN, 0};
  int waited;
  do {
    waited = ::poll(&ready, 1, static_cast<int>(timeout.count()));
  } while (waited < 0 && errno == EINTR);
  if (waited <= 0) return std::nullopt;
  char buffer[4096];
  ssize_t got = ::recv(fd_, buffer, sizeof(buffer), 0);
  if (got < 0) return std::nullopt;
  return std::string(buffer, static_cast<std::size_t>(got));
}

std::vector<std::string> CallerSocket::Receive(std::size_t count,
                                               std::chrono::milliseconds timeout) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + timeout;
  std::vector<std::string> received;
  while (received.size() < count) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() < 0) break;
    auto one = Receive(left);
    if (!one) break;
    received.push_back(std::move(*one));
  }
  return received;
}

std::vector<std::string> CallerSocket::Drain(std::chrono::milliseconds quiet) {
  std::vector<std::string> received;
  while (auto one = Receive(quiet)) received.push_back(std::move(*one));
  return received;
}

}  // namespace pv14::testing
