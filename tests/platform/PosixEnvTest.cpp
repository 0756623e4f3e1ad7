// The POSIX Env over a drive table of temporary folders: drive types,
// access tests, root skipping, files and folders, the working folder.
#include "platform/posix/PosixEnv.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/OwnFiles.h"
#include "tests/platform/Sj.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

namespace pv14::testing {
namespace {

// Drives over one temporary folder:
//   C fixed, D a CD-ROM, R removable, U of unknown type, M whose folder is
//   missing; \\srv\share remote, \\srv\gone missing.
class PosixEnvFixture : public ::testing::Test {
 protected:
  PosixEnvFixture() {
    for (const char* folder : {"c", "cd", "removable", "unknown", "share"}) {
      std::filesystem::create_directory(dir_.Join(folder));
    }
    std::string text =
        "C=" + dir_.Join("c") + ";D=" + dir_.Join("cd") + ",cdrom;R=" + dir_.Join("removable") +
        ",removable;U=" + dir_.Join("unknown") + ",unknown;M=" + dir_.Join("missing") +
        ";\\\\srv\\share=" + dir_.Join("share") + ",remote;\\\\srv\\gone=" + dir_.Join("gone");
    std::string error;
    auto table = DriveTable::Parse(text, &error);
    EXPECT_TRUE(table) << error;
    env_ = NewPosixEnv(*table);
  }

  // The POSIX path of a name under the C drive's folder.
  std::string OnC(const std::string& utf8) const { return dir_.Join("c/" + utf8); }

  TempDir dir_{"env"};
  std::unique_ptr<Env> env_;
};

struct DriveCase {
  const char* name;
  std::string root;
  DriveType expected;
};

class DriveTypeTest : public PosixEnvFixture, public ::testing::WithParamInterface<DriveCase> {};

TEST_P(DriveTypeTest, ReportsTheTableTypeOfExistingRoots) {
  EXPECT_EQ(env_->GetDriveType(GetParam().root), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DriveTypeTest,
    ::testing::Values(DriveCase{"Fixed", "C:\\", DriveType::kFixed},
                      DriveCase{"LowerCase", "c:\\", DriveType::kFixed},
                      DriveCase{"WithoutBackslash", "C:", DriveType::kFixed},
                      DriveCase{"CdRom", "D:\\", DriveType::kCdRom},
                      DriveCase{"Removable", "R:\\", DriveType::kRemovable},
                      DriveCase{"UnknownType", "U:\\", DriveType::kUnknown},
                      DriveCase{"FolderMissing", "M:\\", DriveType::kNoRootDir},
                      DriveCase{"LetterNotInTable", "Q:\\", DriveType::kNoRootDir},
                      DriveCase{"NotARoot", "C:\\sub\\", DriveType::kNoRootDir},
                      DriveCase{"Share", "\\\\srv\\share\\", DriveType::kRemote},
                      DriveCase{"ShareWithoutBackslash", "\\\\SRV\\share", DriveType::kRemote},
                      DriveCase{"ShareFolderMissing", "\\\\srv\\gone\\", DriveType::kNoRootDir},
                      DriveCase{"UnknownShare", "\\\\other\\x\\", DriveType::kNoRootDir},
                      DriveCase{"Empty", "", DriveType::kNoRootDir}),
    [](const auto& info) { return std::string(info.param.name); });

struct AccessCase {
  const char* name;
  std::string path;
  int mode;
  bool expected;
};

// Files and folders themselves: EnvContractTest.
class DriveAccessTest : public PosixEnvFixture, public ::testing::WithParamInterface<AccessCase> {};

TEST_P(DriveAccessTest, FollowsTheDriveTable) {
  EXPECT_EQ(env_->Access(GetParam().path, GetParam().mode), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DriveAccessTest,
    ::testing::Values(AccessCase{"DriveRoot", "C:\\", 6, true},
                      AccessCase{"Share", "\\\\srv\\share", 6, true},
                      AccessCase{"ShareFolderMissing", "\\\\srv\\gone", 6, false},
                      AccessCase{"UnknownShare", "\\\\nobody\\share", 0, false},
                      AccessCase{"LetterNotInTable", "Q:\\", 0, false},
                      AccessCase{"DriveFolderMissing", "M:\\", 6, false}),
    [](const auto& info) { return std::string(info.param.name); });

struct RootCase {
  const char* name;
  std::string path;
  std::optional<std::size_t> skip;   // PathSkipRoot
  std::optional<std::string> strip;  // PathStripToRoot, nullopt when it fails
};

class RootTest : public PosixEnvFixture, public ::testing::WithParamInterface<RootCase> {};

TEST_P(RootTest, SkipsAndStripsLexically) {
  const RootCase& c = GetParam();
  EXPECT_EQ(env_->PathSkipRoot(c.path), c.skip);
  std::string path = c.path;
  EXPECT_EQ(env_->PathStripToRoot(path), c.strip.has_value());
  EXPECT_EQ(path, c.strip.value_or(c.path));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RootTest,
    ::testing::Values(RootCase{"DrivePath", "C:\\a\\b", 3, "C:\\"},
                      RootCase{"DriveRoot", "C:\\", 3, "C:\\"},
                      RootCase{"LetterOutsideTable", "q:\\x", 3, "q:\\"},
                      RootCase{"BareDrive", "C:", std::nullopt, std::nullopt},
                      RootCase{"DriveRelative", "C:a\\b", std::nullopt, std::nullopt},
                      RootCase{"Relative", "a\\b", std::nullopt, std::nullopt},
                      RootCase{"LeadingBackslash", "\\a", std::nullopt, std::nullopt},
                      RootCase{"Empty", "", std::nullopt, std::nullopt},
                      RootCase{"UncPath", "\\\\srv\\share\\a\\b", 12, "\\\\srv\\share"},
                      RootCase{"UncRootWithBackslash", "\\\\srv\\share\\", 12, "\\\\srv\\share"},
                      RootCase{"UncRoot", "\\\\srv\\share", 11, "\\\\srv\\share"},
                      RootCase{"ServerOnly", "\\\\srv", std::nullopt, std::nullopt},
                      RootCase{"ServerAndBackslash", "\\\\srv\\", std::nullopt, std::nullopt},
                      RootCase{"ShareNameEndingIn5CSecondByte", "\\\\srv\\" + Sj("表") + "\\x", 9,
                               "\\\\srv\\" + Sj("表")},
                      RootCase{"UncRootEndingIn5CSecondByte", "\\\\srv\\" + Sj("表"), 8,
                               "\\\\srv\\" + Sj("表")},
                      RootCase{"ServerNameEndingIn5CSecondByte", "\\\\" + Sj("ソ") + "\\s\\x", 7,
                               "\\\\" + Sj("ソ") + "\\s"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PosixEnvFixture, FileRefusesFoldersMissingFoldersAndUnknownDrives) {
  auto file = env_->NewFile();
  std::filesystem::create_directory(OnC("folder"));
  EXPECT_FALSE(file->Open("C:\\folder", File::kRead));
  EXPECT_FALSE(file->Open("C:\\folder", File::kWrite | File::kCreate));
  EXPECT_FALSE(file->Open("C:\\nowhere\\out.xml", File::kWrite | File::kCreate));
  EXPECT_FALSE(file->Open("Q:\\out.xml", File::kWrite | File::kCreate));
  EXPECT_FALSE(file->IsOpen());
}

TEST_F(PosixEnvFixture, FolderNamesAreUtf8OnDisk) {
  const std::string folder = "C:\\" + Sj("新しい表");
  ASSERT_TRUE(env_->CreateDirectory(folder));
  EXPECT_TRUE(std::filesystem::is_directory(OnC("新しい表")));
  EXPECT_TRUE(env_->PathIsDirectory(folder + "\\"));
}

// What cannot be read as a regular file counts as missing, for the profile
// reader and for a file opened only to be read (the support file), and is
// never waited for: a FIFO without a writer returns at once.
enum class Entry { kNone, kRegular, kDirectory, kFifo, kDevice, kLinkToRegular };

struct SpecialFileCase {
  const char* name;
  Entry entry;
  std::string level;  // what the profile reader answers
  bool readable;      // what a read-only open does
  bool writable;      // what an open for writing does
};

class SpecialFileTest : public PosixEnvFixture,
                        public ::testing::WithParamInterface<SpecialFileCase> {};

TEST_P(SpecialFileTest, OnlyARegularFileIsRead) {
  const std::string posix = OnC("KurodaiDef.ini");
  const std::string regular = dir_.WriteFile("c/real.ini", "[ProgramLevel]\r\nPV14=2\r\n");
  switch (GetParam().entry) {
    case Entry::kNone:
      break;
    case Entry::kRegular:
      std::filesystem::copy_file(regular, posix);
      break;
    case Entry::kDirectory:
      std::filesystem::create_directory(posix);
      break;
    case Entry::kFifo:
      ASSERT_EQ(::mkfifo(posix.c_str(), 0644), 0);
      break;
    case Entry::kDevice:
      std::filesystem::create_symlink("/dev/zero", posix);
      break;
    case Entry::kLinkToRegular:
      std::filesystem::create_symlink(regular, posix);
      break;
  }
  ::alarm(20);  // a wait on the FIFO ends the test run instead of hanging it
  EXPECT_EQ(env_->GetPrivateProfileString("ProgramLevel", "PV14", "1", "C:\\KurodaiDef.ini", 16),
            GetParam().level);
  auto file = env_->NewFile();
  EXPECT_EQ(file->Open("C:\\KurodaiDef.ini", File::kRead), GetParam().readable);
  EXPECT_EQ(file->IsOpen(), GetParam().readable);
  file->Close();
  EXPECT_EQ(file->Open("C:\\KurodaiDef.ini", File::kWrite), GetParam().writable);
  ::alarm(0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SpecialFileTest,
    ::testing::Values(SpecialFileCase{"Missing", Entry::kNone, "1", false, false},
                      SpecialFileCase{"Regular", Entry::kRegular, "2", true, true},
                      SpecialFileCase{"Directory", Entry::kDirectory, "1", false, false},
                      // Nobody reads the FIFO, so it cannot be opened for writing either.
                      SpecialFileCase{"FifoWithoutWriter", Entry::kFifo, "1", false, false},
                      SpecialFileCase{"Device", Entry::kDevice, "1", false, true},
                      SpecialFileCase{"LinkToRegular", Entry::kLinkToRegular, "2", true, true}),
    [](const auto& info) { return std::string(info.param.name); });

// A file created for writing is one object's alone until it is closed: a
// second such open (another export) fails and leaves the file as it is.
TEST_F(PosixEnvFixture, FileCreatedForWritingIsExclusive) {
  auto first = env_->NewFile();
  auto second = env_->NewFile();
  ASSERT_TRUE(first->Open("C:\\r.xml", File::kWrite | File::kCreate));
  ASSERT_TRUE(first->Write("first\r\n", 7));
  EXPECT_FALSE(second->Open("C:\\r.xml", File::kWrite | File::kCreate));
  EXPECT_FALSE(second->IsOpen());
  EXPECT_EQ(dir_.ReadFile("c/r.xml"), "first\r\n");
  // A reader is not kept out.
  EXPECT_TRUE(second->Open("C:\\r.xml", File::kRead));
  second->Close();
  ASSERT_TRUE(first->Write("more\r\n", 6));
  first->Close();
  EXPECT_EQ(dir_.ReadFile("c/r.xml"), "first\r\nmore\r\n");
  ASSERT_TRUE(second->Open("C:\\r.xml", File::kWrite | File::kCreate));
  EXPECT_EQ(dir_.ReadFile("c/r.xml"), "");
}

// A file never takes descriptor 0, 1 or 2 of a stream closed at start:
// what is meant for the console must not land in a report.
TEST_F(PosixEnvFixture, FilesNeverTakeAStandardDescriptor) {
  for (int stream : {0, 1, 2}) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::close(stream);
      auto file = env_->NewFile();
      const bool written =
          file->Open("C:\\std.xml", File::kWrite | File::kCreate) && file->Write("report\r\n", 8);
      [[maybe_unused]] const ssize_t console = ::write(stream, "console", 7);
      file->Close();
      ::_exit(written ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << stream;
    EXPECT_EQ(dir_.ReadFile("c/std.xml"), "report\r\n") << stream;
  }
}

// Names lose trailing blanks and dots as on Windows: the file of "x.xml "
// is "x.xml", in the folder "dir" for "dir. ".
TEST_F(PosixEnvFixture, TrailingBlanksAndDotsAreDropped) {
  std::filesystem::create_directory(OnC("dir"));
  auto file = env_->NewFile();
  ASSERT_TRUE(file->Open("C:\\x.xml ", File::kWrite | File::kCreate));
  file->Close();
  ASSERT_TRUE(file->Open("C:\\dir. \\y.xml.", File::kWrite | File::kCreate));
  file->Close();
  EXPECT_TRUE(std::filesystem::exists(OnC("x.xml")));
  EXPECT_TRUE(std::filesystem::exists(OnC("dir/y.xml")));
  EXPECT_FALSE(std::filesystem::exists(OnC("x.xml ")));
  EXPECT_TRUE(env_->PathFileExists("C:\\x.xml..."));
  EXPECT_TRUE(env_->CreateDirectory("C:\\new. "));
  EXPECT_TRUE(std::filesystem::is_directory(OnC("new")));
}

// Only a regular file is replaced or read for a rewrite: a FIFO or a device
// at the target (directly or behind a link) is left as it is.
TEST_F(PosixEnvFixture, OnlyARegularFileIsReplacedOrOpenedForUpdate) {
  ASSERT_EQ(::mkfifo(OnC("fifo").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/null", OnC("null"));
  std::filesystem::create_symlink(OnC("fifo"), OnC("tofifo"));
  ::alarm(20);  // a wait on the FIFO ends the test run instead of hanging it
  for (const char* target : {"C:\\fifo", "C:\\null", "C:\\tofifo"}) {
    dir_.WriteFile("c/new.tmp", "new");
    EXPECT_FALSE(env_->NewFile()->Open(target, File::kReadWrite)) << target;
    EXPECT_FALSE(env_->ReplaceFile("C:\\new.tmp", target)) << target;
    EXPECT_EQ(dir_.ReadFile("c/new.tmp"), "new") << target;
  }
  ::alarm(0);
  EXPECT_TRUE(std::filesystem::is_fifo(OnC("fifo")));
  EXPECT_TRUE(std::filesystem::is_symlink(OnC("null")));
  EXPECT_EQ(std::filesystem::read_symlink(OnC("null")), "/dev/null");
}

// Files are the same however they are reached; the program's own files are
// known through any name.
TEST_F(PosixEnvFixture, SameFileAndTheProgramsFiles) {
  dir_.WriteFile("c/a.xml", "a");
  dir_.WriteFile("c/b.xml", "a");
  std::filesystem::create_symlink(OnC("a.xml"), OnC("link.xml"));
  EXPECT_TRUE(env_->IsSameFile("C:\\a.xml", "C:\\link.xml"));
  EXPECT_TRUE(env_->IsSameFile("C:\\a.xml", "c:\\sub\\..\\a.xml"));
  EXPECT_FALSE(env_->IsSameFile("C:\\a.xml", "C:\\b.xml"));
  EXPECT_FALSE(env_->IsSameFile("C:\\a.xml", "C:\\none.xml"));

  dir_.WriteFile("c/store.sqlite", "store");
  EXPECT_FALSE(env_->IsProgramFile("C:\\store.sqlite"));
  NoteOwnFile(OnC("store.sqlite"));
  std::filesystem::create_symlink(OnC("store.sqlite"), OnC("store.xml"));
  EXPECT_TRUE(env_->IsProgramFile("C:\\store.sqlite"));
  EXPECT_TRUE(env_->IsProgramFile("C:\\store.xml"));
  EXPECT_FALSE(env_->IsProgramFile("C:\\a.xml"));
  EXPECT_FALSE(env_->IsProgramFile("C:\\none.xml"));
}

// A path ending with a separator names a folder: a file there is not found.
TEST_F(PosixEnvFixture, TrailingSeparatorNamesAFolder) {
  dir_.WriteFile("c/file", "x");
  std::filesystem::create_directory(OnC("folder"));
  EXPECT_TRUE(env_->PathFileExists("C:\\file"));
  EXPECT_FALSE(env_->PathFileExists("C:\\file\\"));
  EXPECT_FALSE(env_->Access("C:\\file\\", 0));
  EXPECT_FALSE(env_->GetFileStatus("C:\\file\\"));
  EXPECT_FALSE(env_->NewFile()->Open("C:\\file\\", File::kRead));
  EXPECT_TRUE(env_->Access("C:\\folder\\", 0));
  EXPECT_TRUE(env_->PathIsDirectory("C:\\folder\\"));
  EXPECT_TRUE(env_->Access("C:\\", 0));
  EXPECT_TRUE(env_->Access("\\\\srv\\share\\", 0));
}

TEST_F(PosixEnvFixture, GlobalMemoryIsZeroed) {
  auto block = env_->GlobalAlloc(30000);
  ASSERT_NE(block, nullptr);
  for (std::size_t i = 0; i < 30000; ++i) ASSERT_EQ(block[i], 0) << i;
}

// Restores the process's working folder and TMPDIR after a test.
class ProcessStateGuard {
 public:
  ProcessStateGuard() {
    char buffer[PATH_MAX];
    cwd_ = ::getcwd(buffer, sizeof(buffer)) ? buffer : "/";
    if (const char* tmp = std::getenv("TMPDIR")) tmp_ = tmp;
  }
  ~ProcessStateGuard() {
    if (::chdir(cwd_.c_str()) != 0) std::abort();
    if (tmp_) {
      ::setenv("TMPDIR", tmp_->c_str(), 1);
    } else {
      ::unsetenv("TMPDIR");
    }
  }

 private:
  std::string cwd_;
  std::optional<std::string> tmp_;
};

TEST_F(PosixEnvFixture, WorkingFolderIsInWindowsForm) {
  ProcessStateGuard guard;
  std::filesystem::create_directory(OnC("work"));
  ASSERT_TRUE(env_->SetCurrentDirectory("C:\\work\\"));
  EXPECT_EQ(env_->GetCurrentDirectory(), "C:\\work");

  // Relative names land in the working folder, drive-relative ones too.
  auto file = env_->NewFile();
  ASSERT_TRUE(file->Open("plain.xml", File::kWrite | File::kCreate));
  file->Close();
  ASSERT_TRUE(file->Open("C:drive.xml", File::kWrite | File::kCreate));
  file->Close();
  EXPECT_TRUE(std::filesystem::exists(OnC("work/plain.xml")));
  EXPECT_TRUE(std::filesystem::exists(OnC("work/drive.xml")));
  // On another drive, "X:name" is relative to that drive's root.
  EXPECT_TRUE(env_->CreateDirectory("R:sub"));
  EXPECT_TRUE(std::filesystem::is_directory(dir_.Join("removable/sub")));

  ASSERT_TRUE(env_->SetCurrentDirectory("C:\\"));
  EXPECT_EQ(env_->GetCurrentDirectory(), "C:\\");
  EXPECT_FALSE(env_->SetCurrentDirectory("C:\\missing"));
  EXPECT_FALSE(env_->SetCurrentDirectory("Q:\\"));
}

TEST_F(PosixEnvFixture, TempPathEndsWithABackslash) {
  ProcessStateGuard guard;
  std::filesystem::create_directory(OnC("tmp"));
  ::setenv("TMPDIR", OnC("tmp").c_str(), 1);
  EXPECT_EQ(env_->GetTempPath(), "C:\\tmp\\");
  ::setenv("TMPDIR", dir_.Join("c").c_str(), 1);
  EXPECT_EQ(env_->GetTempPath(), "C:\\");
  ::setenv("TMPDIR", "/outside/every/drive", 1);
  EXPECT_EQ(env_->GetTempPath(), "");
}

TEST_F(PosixEnvFixture, FindsFilesByPatternButNoFolders) {
  for (const char* name : {"s.env.1.tmp", "s.env.22.tmp", "s.env", "t.env.3.tmp"}) {
    WriteFileBytes(OnC(name), "x");
  }
  std::filesystem::create_directory(OnC("s.env.4.tmp"));
  std::vector<std::string> found = env_->FindFiles("C:\\s.env.*.tmp");
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::string>{"s.env.1.tmp", "s.env.22.tmp"}));
  EXPECT_TRUE(env_->FindFiles("C:\\missing\\*").empty());
}

// A second process waits for the lock while the first holds it: what it
// writes after taking the lock appears only once the first has let go.
TEST_F(PosixEnvFixture, LockIsHeldAgainstOtherProcessesUntilReleased) {
  int go[2];
  ASSERT_EQ(pipe(go), 0);
  // Forked before the lock is taken, so the child holds no copy of it.
  const pid_t child = fork();
  if (child == 0) {
    char byte;
    if (read(go[0], &byte, 1) != 1) _exit(1);
    std::unique_ptr<FileLock> theirs = env_->LockFile("C:\\s.lock");
    WriteFileBytes(OnC("taken"), theirs ? "yes" : "no");
    _exit(0);
  }
  std::unique_ptr<FileLock> lock = env_->LockFile("C:\\s.lock");
  ASSERT_NE(lock, nullptr);
  ASSERT_EQ(write(go[1], "g", 1), 1);
  usleep(300 * 1000);
  EXPECT_FALSE(std::filesystem::exists(OnC("taken")));
  lock.reset();
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_EQ(ReadFileBytes(OnC("taken")), "yes");
  EXPECT_EQ(env_->LockFile("C:\\"), nullptr);  // a folder takes no lock
  EXPECT_EQ(env_->LockFile("M:\\s.lock"), nullptr);
  close(go[0]);
  close(go[1]);
}

// A write that meets the file-size limit part-way is cut back to where it
// began, and the process lives on.
TEST_F(PosixEnvFixture, WriteCutShortIsTakenBack) {
  const pid_t child = fork();
  if (child == 0) {
    const rlimit limit{10, 10};
    setrlimit(RLIMIT_FSIZE, &limit);
    std::unique_ptr<File> file = env_->NewFile();
    const bool opened = file->Open("C:\\f", File::kCreate | File::kWrite);
    const bool first = file->Write("1234\r\n", 6), second = file->Write("5678\r\n", 6);
    _exit(opened && first && !second ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(ReadFileBytes(OnC("f")), "1234\r\n");
}

TEST_F(PosixEnvFixture, ReplacingKeepsModeAndLink) {
  WriteFileBytes(OnC("new"), "new");
  WriteFileBytes(OnC("real"), "old");
  chmod(OnC("real").c_str(), 0600);
  std::filesystem::create_symlink("real", OnC("link"));
  ASSERT_TRUE(env_->ReplaceFile("C:\\new", "C:\\link"));
  EXPECT_TRUE(std::filesystem::is_symlink(OnC("link")));
  EXPECT_EQ(ReadFileBytes(OnC("real")), "new");
  struct stat st;
  ASSERT_EQ(stat(OnC("real").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
}

TEST(PosixEnvTest, ModuleFileNameIsThisProgramInWindowsForm) {
  auto env = NewPosixEnv(*DriveTable::Parse("Z=/", nullptr));
  std::string name = env->GetModuleFileName();
  char buffer[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
  ASSERT_GT(n, 0);
  std::string expected = "Z:" + std::string(buffer, static_cast<std::size_t>(n));
  for (char& c : expected) c = c == '/' ? '\\' : c;
  EXPECT_EQ(name, expected);
}

}  // namespace
}  // namespace pv14::testing
