// The installed program's console face on a real console (under wine in
// CI): what it shows is readable there, and the console's code pages and
// mode are the shell's again when it has ended.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/win32/WindowsApi.h"
#include "tests/e2e/ExportFixture.h"

namespace pv14::testing {
namespace {

constexpr char kLevelOne[] = "[ProgramLevel]\r\nPV14=1\r\n";
// 所得税情報の出力が終了しました
const wchar_t kDoneText[] = L"\x6240\x5F97\x7A0E\x60C5\x5831\x306E\x51FA\x529B\x304C\x7D42\x4E86";

// A console of the test's own for the test's length.
class OwnConsole {
 public:
  OwnConsole() {
    ::FreeConsole();
    made_ = ::AllocConsole() != FALSE;
  }
  ~OwnConsole() {
    if (made_) ::FreeConsole();
  }
  bool made() const { return made_; }

  // Everything the screen buffer holds, row after row.
  static std::wstring Screen() {
    HANDLE out =
        ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO info{};
    std::wstring text;
    if (::GetConsoleScreenBufferInfo(out, &info)) {
      text.resize(static_cast<std::size_t>(info.dwSize.X) * info.dwSize.Y);
      DWORD read = 0;
      ::ReadConsoleOutputCharacterW(out, text.data(), static_cast<DWORD>(text.size()), {0, 0},
                                    &read);
      text.resize(read);
    }
    ::CloseHandle(out);
    return text;
  }
  static DWORD OutputMode() {
    HANDLE out =
        ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD mode = 0;
    ::GetConsoleMode(out, &mode);
    ::CloseHandle(out);
    return mode;
  }

 private:
  bool made_ = false;
};

class ConsoleRunTest : public ExportFixture {};

TEST_F(ConsoleRunTest, ShowsItsTextAndGivesTheConsoleBack) {
  InstallProgram(PV14_STD_PROGRAM, kLevelOne, "");
  LoadEngine(ReadFileBytes(std::string(PV14_SOURCE_DIR) + "/tests/golden/white-general.json"));
  OwnConsole console;
  if (!console.made()) GTEST_SKIP() << "no console can be made here";
  // The shell's settings: Shift_JIS both ways, no escape sequences.
  ASSERT_TRUE(::SetConsoleOutputCP(932));
  ASSERT_TRUE(::SetConsoleCP(932));
  const DWORD mode = OwnConsole::OutputMode();

  const std::string report = root_.Join("out/console.xml");
  std::filesystem::create_directories(root_.Join("out"));
  ProcessOptions options = RunOptions("", "path " + WindowsPath(report) + "\nexecute\n\n");
  options.onConsole = true;
  const ProcessResult result = RunProcess(programPath_, options);
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_FALSE(ReadFileBytes(report).empty());
  const std::wstring screen = OwnConsole::Screen();
  EXPECT_NE(screen.find(kDoneText), std::wstring::npos) << "the closing message reads as Japanese";
  EXPECT_EQ(::GetConsoleOutputCP(), 932u);
  EXPECT_EQ(::GetConsoleCP(), 932u);
  EXPECT_EQ(OwnConsole::OutputMode(), mode);
}

}  // namespace
}  // namespace pv14::testing
