// The caller's window endpoint: one ASCII datagram per call, and a quiet
// failure when nobody listens.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/posix/CallerWindow.h"
#include "platform/posix/PosixEnv.h"
#include "tests/support/CallerSocket.h"
#include "tests/support/TempDir.h"

namespace pv14::testing {
namespace {

using namespace std::chrono_literals;

constexpr WindowHandle kCaller = 1234;

struct WindowCall {
  const char* name;
  std::function<bool(Env&)> call;
  std::string datagram;
};

class CallerWindowTest : public ::testing::TestWithParam<WindowCall> {
 protected:
  std::unique_ptr<Env> env_ = NewPosixEnv(*DriveTable::Parse("Z=/", nullptr));
};

TEST_P(CallerWindowTest, SendsExactlyOneDatagram) {
  CallerSocket socket(kCaller);
  socket.ExportEnvironment();
  EXPECT_TRUE(GetParam().call(*env_));
  EXPECT_EQ(socket.Receive(2s), GetParam().datagram);
  EXPECT_TRUE(socket.Drain(50ms).empty());
}

TEST_P(CallerWindowTest, FailsQuietlyWithoutASocket) {
  TempDir empty("nowindows");
  ::setenv("PV14_WINDOWS", empty.path().c_str(), 1);
  ::testing::internal::CaptureStderr();
  ::testing::internal::CaptureStdout();
  EXPECT_FALSE(GetParam().call(*env_));
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  ::unsetenv("PV14_WINDOWS");
}

INSTANTIATE_TEST_SUITE_P(
    Calls, CallerWindowTest,
    ::testing::Values(
        WindowCall{"Disable", [](Env& env) { return env.EnableWindow(kCaller, false); },
                   "EnableWindow 0"},
        WindowCall{"Enable", [](Env& env) { return env.EnableWindow(kCaller, true); },
                   "EnableWindow 1"},
        WindowCall{"Foreground", [](Env& env) { return env.SetForegroundWindow(kCaller); },
                   "SetForegroundWindow"},
        WindowCall{"PostNegativeFunctionId",
                   [](Env& env) { return env.PostMessage(kCaller, 32768, 0xFFFF9C40u, 0); },
                   "PostMessage 32768 4294941760 0"},
        WindowCall{"PostLargestValues",
                   [](Env& env) { return env.PostMessage(kCaller, 0xFFFFFFFFu, 1, 0xFFFFFFFFu); },
                   "PostMessage 4294967295 1 4294967295"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CallerWindowPathTest, DefaultsToTheRuntimeFolder) {
  const char* before = std::getenv("XDG_RUNTIME_DIR");
  std::optional<std::string> saved = before ? std::optional<std::string>(before) : std::nullopt;
  ::unsetenv("PV14_WINDOWS");
  ::setenv("XDG_RUNTIME_DIR", "/run/user/42", 1);
  EXPECT_EQ(WindowSocketPath(7), "/run/user/42/pv14-windows/7");
  ::unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(WindowSocketPath(7), "/tmp/pv14-windows-" + std::to_string(::geteuid()) + "/7");
  ::setenv("PV14_WINDOWS", "/w", 1);
  EXPECT_EQ(WindowSocketPath(4294967295u), "/w/4294967295");
  ::unsetenv("PV14_WINDOWS");
  if (saved) ::setenv("XDG_RUNTIME_DIR", saved->c_str(), 1);
}

// A folder others may write to or that is not the user's, and a socket
// path that is not itself a socket, are not used: the call fails and the
// socket hears nothing.
struct UntrustedCase {
  const char* name;
  // Makes the place; returns the folder to give as PV14_WINDOWS.
  std::function<std::string(CallerSocket& socket, TempDir& other)> make;
};
class UntrustedCallerFolder : public ::testing::TestWithParam<UntrustedCase> {};
TEST_P(UntrustedCallerFolder, IsNotSentTo) {
  CallerSocket socket(kCaller);
  TempDir other("otherwindows");
  const std::string folder = GetParam().make(socket, other);
  if (folder.empty()) GTEST_SKIP() << "needs root to give a folder to another user";
  ::setenv("PV14_WINDOWS", folder.c_str(), 1);
  EXPECT_FALSE(SendToWindow(kCaller, "EnableWindow 1"));
  ::unsetenv("PV14_WINDOWS");
  EXPECT_EQ(socket.Receive(100ms), std::nullopt);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, UntrustedCallerFolder,
    ::testing::Values(UntrustedCase{"WritableByOthers",
                                    [](CallerSocket& socket, TempDir&) {
                                      ::chmod(socket.folder().c_str(), 0777);
                                      return socket.folder();
                                    }},
                      UntrustedCase{"WritableByTheGroup",
                                    [](CallerSocket& socket, TempDir&) {
                                      ::chmod(socket.folder().c_str(), 0770);
                                      return socket.folder();
                                    }},
                      UntrustedCase{"AnotherUsersFolder",
                                    [](CallerSocket& socket, TempDir&) {
                                      if (::geteuid() != 0) return std::string();
                                      EXPECT_EQ(::chown(socket.folder().c_str(), 65534, 65534), 0);
                                      return socket.folder();
                                    }},
                      UntrustedCase{"LinkToTheSocket",
                                    [](CallerSocket& socket, TempDir& other) {
                                      ::symlink(
                                          socket.socketPath().c_str(),
                                          (other.path() + "/" + std::to_string(kCaller)).c_str());
                                      return other.path();
                                    }},
                      UntrustedCase{"LinkToTheFolder",
                                    [](CallerSocket& socket, TempDir& other) {
                                      // The folder behind the link is checked: a trusted one is
                                      // used.
                                      ::chmod(socket.folder().c_str(), 0777);
                                      const std::string link = other.path() + "/link";
                                      ::symlink(socket.folder().c_str(), link.c_str());
                                      return link;
                                    }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CallerWindowPathTest, NoWindowIsNeverSentTo) {
  CallerSocket socket(kNoWindow);
  socket.ExportEnvironment();
  EXPECT_FALSE(SendToWindow(kNoWindow, "EnableWindow 1"));
  EXPECT_EQ(socket.Receive(50ms), std::nullopt);
}

}  // namespace
}  // namespace pv14::testing
