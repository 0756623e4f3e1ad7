// The helpers other tests rely on: the temporary folder and the caller socket.
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/CallerSocket.h"
#include "tests/support/TempDir.h"

namespace pv14::testing {
namespace {

using namespace std::chrono_literals;

bool SendTo(const std::string& path, const std::string& text) {
  int fd = ::socket(AF_UNIX, SOCK_DGRAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
  ssize_t sent = ::sendto(fd, text.data(), text.size(), 0,
                          reinterpret_cast<const sockaddr*>(&address), sizeof(address));
  ::close(fd);
  return sent == static_cast<ssize_t>(text.size());
}

TEST(TempDirTest, RemovesItsFolderWithNestedReadOnlyContent) {
  std::string path;
  {
    TempDir dir("support");
    path = dir.path();
    ASSERT_TRUE(std::filesystem::is_directory(path));
    std::filesystem::create_directories(dir.Join("a/b"));
    dir.WriteFile("a/b/file.txt", "x");
    ::chmod(dir.Join("a/b").c_str(), 0500);
    ::chmod(dir.Join("a").c_str(), 0);
  }
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(TempDirTest, WritesAndReadsFilesBytewise) {
  TempDir dir;
  std::string bytes("a\0\x82\xA0\r\n", 6);
  dir.WriteFile("f.bin", bytes);
  EXPECT_EQ(dir.ReadFile("f.bin"), bytes);
  EXPECT_EQ(dir.ReadFile("missing"), "");
}

TEST(CallerSocketTest, ReceivesDatagramsInOrderAndTimesOut) {
  CallerSocket socket(77);
  EXPECT_EQ(socket.socketPath(), socket.folder() + "/77");
  ASSERT_TRUE(SendTo(socket.socketPath(), "EnableWindow 0"));
  ASSERT_TRUE(SendTo(socket.socketPath(), "SetForegroundWindow"));
  auto got = socket.Receive(2, 2s);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0], "EnableWindow 0");
  EXPECT_EQ(got[1], "SetForegroundWindow");
  EXPECT_EQ(socket.Receive(20ms), std::nullopt);
  EXPECT_TRUE(socket.Drain(20ms).empty());
}

TEST(CallerSocketTest, ExportedFolderIsRestoredAfterwards) {
  ::setenv("PV14_WINDOWS", "/before", 1);
  {
    CallerSocket socket;
    socket.ExportEnvironment();
    EXPECT_EQ(std::string(std::getenv("PV14_WINDOWS")), socket.folder());
  }
  EXPECT_STREQ(std::getenv("PV14_WINDOWS"), "/before");
  ::unsetenv("PV14_WINDOWS");
}

}  // namespace
}  // namespace pv14::testing
