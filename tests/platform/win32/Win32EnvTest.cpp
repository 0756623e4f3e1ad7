// The Win32 Env against the real file system (under wine in CI), beyond
// what EnvContractTest holds both systems to, with
// Japanese names whose second Shift_JIS byte is 0x5C. The tests run under a
// system locale whose code page is not 932, so each name only survives when
// the Env names code page 932 itself.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "dialogs/PathHelpers.h"
#include "platform/Env.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WindowsApi.h"
#include "tests/platform/Sj.h"
#include "tests/support/TempDir.h"

namespace pv14::testing {
namespace {

class Win32EnvTest : public ::testing::Test {
 protected:
  // A path under the test's folder: Shift_JIS, Windows separators.
  std::string Under(const std::string& relative) const { return base_ + "\\" + relative; }

  // Whether the wide name exists as a directory: checked without the Env.
  static bool DirectoryOnDisk(const std::string& sjisPath) {
    auto wide = win32::Cp932ToWide(sjisPath);
    const DWORD attributes = wide ? ::GetFileAttributesW(wide->c_str()) : INVALID_FILE_ATTRIBUTES;
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  std::string WriteFile(const std::string& path, const std::string& bytes) {
    auto file = env_.NewFile();
    EXPECT_TRUE(file->Open(path, File::kWrite | File::kCreate)) << path;
    EXPECT_TRUE(file->Write(bytes.data(), bytes.size()));
    file->Close();
    return path;
  }

  TempDir dir_{"env"};
  std::string base_ = Sj(dir_.path());
  Env& env_ = Env::Default();
};

TEST_F(Win32EnvTest, SystemCodePageIsNotShiftJis) {
  // Otherwise these tests would pass without naming code page 932.
  EXPECT_NE(::GetACP(), 932u);
}

TEST_F(Win32EnvTest, FailedChainRemovesWhatItCreated) {
  // 表 and 表\ソ are created; "a<b" is no file name, so its level fails.
  EXPECT_FALSE(CreateFolderChain(env_, Under(kHyou + "\\" + kSo + "\\a<b\\")));
  EXPECT_FALSE(DirectoryOnDisk(Under(kHyou)));

  // A level that existed before the chain stays.
  ASSERT_TRUE(env_.CreateDirectory(Under(kNou)));
  EXPECT_FALSE(CreateFolderChain(env_, Under(kNou + "\\" + kSo + "\\a<b\\")));
  EXPECT_TRUE(DirectoryOnDisk(Under(kNou)));
  EXPECT_FALSE(DirectoryOnDisk(Under(kNou + "\\" + kSo)));
}

std::string ContentOf(Env& env, const std::string& path) {
  auto file = env.NewFile();
  if (!file->Open(path, File::kRead)) return "(none)";
  char buffer[64];
  std::size_t got = 0;
  if (!file->Read(buffer, sizeof buffer, &got)) return "(unreadable)";
  return std::string(buffer, got);
}

// Opens a file as a virus scanner may: others may read and write it, but
// not delete or rename it; closed after the given time by a thread of its own.
class Holder {
 public:
  Holder(const std::string& path, DWORD milliseconds) : milliseconds_(milliseconds) {
    handle_ = ::CreateFileW(win32::Cp932ToWide(path)->c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    if (milliseconds_ != INFINITE) {
      thread_ = ::CreateThread(nullptr, 0, &Holder::Release, this, 0, nullptr);
    }
  }
  ~Holder() {
    if (thread_ != nullptr) {
      ::WaitForSingleObject(thread_, INFINITE);
      ::CloseHandle(thread_);
    } else {
      ::CloseHandle(handle_);
    }
  }
  bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  static DWORD WINAPI Release(void* self) {
    auto* holder = static_cast<Holder*>(self);
    ::Sleep(holder->milliseconds_);
    ::CloseHandle(holder->handle_);
    return 0;
  }
  HANDLE handle_;
  HANDLE thread_ = nullptr;
  DWORD milliseconds_;
};

struct HeldCase {
  const char* name;
  bool holdTemporary;  // else the file replaced is held
  DWORD milliseconds;  // INFINITE: through the whole replace
  bool replaced;
};

class HeldReplaceTest : public Win32EnvTest, public ::testing::WithParamInterface<HeldCase> {};

// A replace meets a file held open for a moment: it waits it out, and when
// it cannot, the old file and the new one both stay whole.
TEST_P(HeldReplaceTest, WaitsBrieflyAndNeverLosesTheOldFile) {
  const HeldCase& c = GetParam();
  const std::string target = WriteFile(Under(kHyou + ".ini"), "old");
  const std::string temporary = WriteFile(Under(kSo + ".tmp"), "new");
  bool replaced = false;
  {
    Holder holder(c.holdTemporary ? temporary : target, c.milliseconds);
    ASSERT_TRUE(holder.Held());
    replaced = env_.ReplaceFile(temporary, target);
  }
  EXPECT_EQ(replaced, c.replaced);
  if (c.replaced) {
    EXPECT_EQ(ContentOf(env_, target), "new");
    EXPECT_FALSE(env_.PathFileExists(temporary));
  } else {
    EXPECT_EQ(ContentOf(env_, target), "old");
    EXPECT_EQ(ContentOf(env_, temporary), "new");
  }
  EXPECT_FALSE(env_.PathFileExists(temporary + ".old")) << "no backup is left behind";
}

INSTANTIATE_TEST_SUITE_P(Cases, HeldReplaceTest,
                         ::testing::Values(HeldCase{"TemporaryForAMoment", true, 200, true},
                                           HeldCase{"TemporaryThroughout", true, INFINITE, false},
                                           HeldCase{"OldFileForAMoment", false, 200, true},
                                           HeldCase{"OldFileThroughout", false, INFINITE, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// A write that meets the disk's end part-way is cut back to where it began.
// Run by a CTest entry of its own, which starts the program under a file-size
// limit of 10 bytes (named in PV14_FILE_SIZE_LIMIT): wine's WriteFile then
// writes part of the second line and fails on the rest, as a full disk does.
TEST_F(Win32EnvTest, WriteCutShortIsTakenBack) {
  if (std::getenv("PV14_FILE_SIZE_LIMIT") == nullptr) {
    GTEST_SKIP() << "needs the file-size limit of its own CTest entry";
  }
  const std::string path = Under("cut.xml");
  auto file = env_.NewFile();
  ASSERT_TRUE(file->Open(path, File::kWrite | File::kCreate));
  EXPECT_TRUE(file->Write("1234\r\n", 6));
  EXPECT_FALSE(file->Write("5678\r\n", 6));
  file->Close();
  ASSERT_TRUE(file->Open(path, File::kRead));
  char read[16] = {};
  std::size_t got = 0;
  EXPECT_TRUE(file->Read(read, sizeof read, &got));
  EXPECT_EQ(std::string(read, got), "1234\r\n");
}

// Ctrl+C on the program's console asks the run to stop instead of ending the
// process, and no report is then opened for writing. Run by a CTest entry of
// its own (PV14_CONSOLE_EVENT_TEST): the stop it asks for is the whole
// process's. (Wine passes a console's events to the process that generates
// them only, so the program cannot be sent one from outside here.)
TEST_F(Win32EnvTest, CtrlCAsksTheRunToStop) {
  if (std::getenv("PV14_CONSOLE_EVENT_TEST") == nullptr) {
    GTEST_SKIP() << "asks the whole process to stop: needs its own CTest entry";
  }
  ::FreeConsole();
  ASSERT_TRUE(::AllocConsole());
  ASSERT_FALSE(env_.StopRequested());
  ASSERT_TRUE(::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
  for (int i = 0; i < 200 && !env_.StopRequested(); ++i) ::Sleep(50);
  EXPECT_TRUE(env_.StopRequested());
  EXPECT_FALSE(env_.NewFile()->Open(Under("r.xml"), File::kWrite | File::kCreate));
  ::FreeConsole();
}

TEST_F(Win32EnvTest, TheProgramsOwnFileIsKnown) {
  EXPECT_TRUE(env_.IsProgramFile(env_.GetModuleFileName()));
}

struct DriveCase {
  const char* name;
  std::string root;
  DriveType expected;
};

class DriveTypeTest : public Win32EnvTest, public ::testing::WithParamInterface<DriveCase> {};

TEST_P(DriveTypeTest, ReportsTheSystemsType) {
  EXPECT_EQ(env_.GetDriveType(GetParam().root), GetParam().expected);
}

// The letters of a fresh wine prefix: C: its drive_c, Z: the host's /.
INSTANTIATE_TEST_SUITE_P(Cases, DriveTypeTest,
                         ::testing::Values(DriveCase{"SystemDrive", "C:\\", DriveType::kFixed},
                                           DriveCase{"LowerCase", "c:\\", DriveType::kFixed},
                                           DriveCase{"WithoutBackslash", "C:", DriveType::kFixed},
                                           DriveCase{"LetterWithoutVolume", "Q:\\",
                                                     DriveType::kNoRootDir},
                                           DriveCase{"NotShiftJis", "\x81", DriveType::kNoRootDir}),
                         [](const auto& info) { return std::string(info.param.name); });

struct RootCase {
  const char* name;
  std::string path;
  std::optional<std::size_t> skip;   // PathSkipRoot
  std::optional<std::string> strip;  // PathStripToRoot, nullopt when it fails
};

class RootTest : public Win32EnvTest, public ::testing::WithParamInterface<RootCase> {};

TEST_P(RootTest, SkipsAndStripsByCharacters) {
  const RootCase& c = GetParam();
  EXPECT_EQ(env_.PathSkipRoot(c.path), c.skip);
  std::string path = c.path;
  EXPECT_EQ(env_.PathStripToRoot(path), c.strip.has_value());
  EXPECT_EQ(path, c.strip.value_or(c.path));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RootTest,
    ::testing::Values(RootCase{"DrivePath", "C:\\a\\b", 3, "C:\\"},
                      RootCase{"DriveRoot", "C:\\", 3, "C:\\"},
                      RootCase{"JapaneseFolder", "D:\\" + kHyou + "\\x", 3, "D:\\"},
                      RootCase{"Relative", "a\\b", std::nullopt, std::nullopt},
                      RootCase{"Empty", "", std::nullopt, std::nullopt},
                      RootCase{"UncPath", "\\\\srv\\share\\a\\b", 12, "\\\\srv\\share"},
                      RootCase{"UncRootWithBackslash", "\\\\srv\\share\\", 12, "\\\\srv\\share"},
                      RootCase{"ShareNameEndingIn5CSecondByte", "\\\\srv\\" + kHyou + "\\x", 9,
                               "\\\\srv\\" + kHyou},
                      RootCase{"ServerNameEndingIn5CSecondByte", "\\\\" + kSo + "\\s\\x", 7,
                               "\\\\" + kSo + "\\s"},
                      RootCase{"NotShiftJis", "C:\\\x81", std::nullopt, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct ProfileCase {
  const char* name;
  std::string section, key, def;
  std::string file;  // below the test's folder
  std::size_t size;
  std::string expected;
};

class ProfileStringTest : public Win32EnvTest, public ::testing::WithParamInterface<ProfileCase> {
 protected:
  void SetUp() override {
    WriteFile(Under("KurodaiDef.ini"),
              "[ProgramLevel]\r\nPV14=1\r\nEmpty=\r\nLong=123456789\r\n[Other]\r\nPV14=2\r\n");
    env_.CreateDirectory(Under("Folder.ini"));
  }
};

TEST_P(ProfileStringTest, ReadsLikeTheSystem) {
  const ProfileCase& c = GetParam();
  EXPECT_EQ(env_.GetPrivateProfileString(c.section, c.key, c.def, Under(c.file), c.size),
            c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileStringTest,
    ::testing::Values(
        ProfileCase{"Value", "ProgramLevel", "PV14", "1", "KurodaiDef.ini", 16, "1"},
        ProfileCase{"OtherSection", "Other", "PV14", "1", "KurodaiDef.ini", 16, "2"},
        ProfileCase{"CaseBlindNames", "programlevel", "pv14", "9", "KurodaiDef.ini", 16, "1"},
        ProfileCase{"EmptyValue", "ProgramLevel", "Empty", "1", "KurodaiDef.ini", 16, ""},
        ProfileCase{"MissingKey", "ProgramLevel", "None", "1", "KurodaiDef.ini", 16, "1"},
        ProfileCase{"MissingSection", "Nowhere", "PV14", "7", "KurodaiDef.ini", 16, "7"},
        ProfileCase{"MissingFile", "ProgramLevel", "PV14", "1", "Missing.ini", 16, "1"},
        ProfileCase{"DirectoryIsAMissingFile", "ProgramLevel", "PV14", "5", "Folder.ini", 16, "5"},
        ProfileCase{"JapaneseFileName", "ProgramLevel", "PV14", "1", kHyou + ".ini", 16, "1"},
        ProfileCase{"CutToSizeLessOne", "ProgramLevel", "Long", "", "KurodaiDef.ini", 5, "1234"},
        ProfileCase{"DefaultWithoutTrailingBlanks", "Nowhere", "PV14", "1  ", "Missing.ini", 16,
                    "1"},
        ProfileCase{"DefaultCutBeforeADoubleByteCharacter", "Nowhere", "PV14", Sj("表示"),
                    "Missing.ini", 4, kHyou}),
    [](const auto& info) { return std::string(info.param.name); });

struct WidthCase {
  const char* name;
  std::string from;
  std::string to;
};

class FullWidthTest : public Win32EnvTest, public ::testing::WithParamInterface<WidthCase> {};

TEST_P(FullWidthTest, MapsUnderTheJapaneseLocale) {
  EXPECT_EQ(env_.MapFullWidth(GetParam().from), GetParam().to);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FullWidthTest,
    ::testing::Values(
        WidthCase{"Letters", "Az", Sj("Ａｚ")}, WidthCase{"Digits", "09", Sj("０９")},
        WidthCase{"Blank", " ", "\x81\x40"},
        WidthCase{"Symbols", "!#$%&()*+,-./:;<=>?@[]^_`{|}~",
                  Sj("！＃＄％＆（）＊＋，－．／：；＜＝＞？＠［］＾＿｀｛｜｝～")},
        WidthCase{"Katakana", Sj("ｱｲｳｴｵﾝｦｯｬｰ"), Sj("アイウエオンヲッャー")},
        WidthCase{"Punctuation", Sj("｡｢｣､･"), Sj("。「」、・")},
        WidthCase{"VoicedCombined", Sj("ｶﾞｻﾞﾀﾞﾂﾞﾄﾞﾊﾞ"), Sj("ガザダヅドバ")},
        WidthCase{"SemiVoicedCombined", Sj("ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ"), Sj("パピプペポ")},
        WidthCase{"DoubleByteUnchanged", Sj("表示ソ株式会社"), Sj("表示ソ株式会社")},
        WidthCase{"CompanyName", Sj("ﾊﾟﾝ工房 Kuma&Co.1"), Sj("パン工房　Ｋｕｍａ＆Ｃｏ．１")},
        WidthCase{"InvalidBytesKept", std::string("A\x81", 2), std::string("\x82\x60\x81", 3)},
        WidthCase{"ControlsAndSingleBytesKept", std::string("\t\x80\xA0\xFD\x81", 5),
                  std::string("\t\x80\xA0\xFD\x81", 5)},
        // The system's own mapping; the POSIX table gives typographic quotes.
        WidthCase{"QuotesAreTheFullWidthQuotes", "\"'", "\xFA\x57\xFA\x56"},
        WidthCase{"Empty", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Win32EnvTest, ProcessFoldersAreShiftJisWindowsPaths) {
  const std::string temp = env_.GetTempPath();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), '\\');
  EXPECT_TRUE(env_.PathIsDirectory(temp));

  const std::string program = env_.GetModuleFileName();
  EXPECT_NE(program.find(".exe"), std::string::npos) << program;
  EXPECT_TRUE(env_.PathFileExists(program));

  const std::string before = env_.GetCurrentDirectory();
  ASSERT_TRUE(env_.CreateDirectory(Under(kHyou)));
  ASSERT_TRUE(env_.SetCurrentDirectory(Under(kHyou)));
  EXPECT_EQ(env_.GetCurrentDirectory(), Under(kHyou));
  EXPECT_TRUE(env_.SetCurrentDirectory(before));
  EXPECT_FALSE(env_.SetCurrentDirectory(Under("missing")));
}

}  // namespace
}  // namespace pv14::testing
