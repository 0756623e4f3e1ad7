// The promises of Env that both systems make, held to the same cases: the
// POSIX Env over a drive table of a temporary folder, the Win32 Env over the
// real file system (under wine in CI). Names end in 0x5C, the byte of a
// backslash, in their second Shift_JIS byte.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "dialogs/PathHelpers.h"
#include "platform/Env.h"
#include "tests/platform/Sj.h"
#include "tests/support/TempDir.h"

#ifdef _WIN32
#include "platform/win32/WideText.h"
#include "platform/win32/WindowsApi.h"
#else
#include <sys/stat.h>

#include "platform/posix/PosixEnv.h"
#endif

namespace pv14::testing {
namespace {

class EnvContractTest : public ::testing::Test {
 protected:
  EnvContractTest() {
#ifdef _WIN32
    base_ = Sj(dir_.path());
    env_ = &Env::Default();
#else
    base_ = "C:";
    std::string error;
    auto table = DriveTable::Parse("C=" + dir_.path(), &error);
    EXPECT_TRUE(table) << error;
    posixEnv_ = NewPosixEnv(*table);
    env_ = posixEnv_.get();
#endif
  }

  // A read-only file or folder, made writable again when the test ends so
  // that its folder can go.
  void MakeReadOnly(const std::string& relative) {
#ifdef _WIN32
    ::SetFileAttributesW(win32::Cp932ToWide(Under(relative))->c_str(), FILE_ATTRIBUTE_READONLY);
#else
    const std::string native = dir_.Join(relative);
    struct stat st {};
    ::stat(native.c_str(), &st);
    ::chmod(native.c_str(), S_ISDIR(st.st_mode) ? 0555 : 0444);
#endif
    readOnly_.push_back(relative);
  }

  void TearDown() override {
    for (const std::string& relative : readOnly_) {
#ifdef _WIN32
      ::SetFileAttributesW(win32::Cp932ToWide(Under(relative))->c_str(), FILE_ATTRIBUTE_NORMAL);
#else
      ::chmod(dir_.Join(relative).c_str(), 0755);
#endif
    }
  }

  // The test's folder in the Env's own form, and a path below it.
  std::string Folder() const { return base_ + "\\"; }
  std::string Under(const std::string& relative) const { return base_ + "\\" + relative; }

  std::string WriteFile(const std::string& path, const std::string& bytes) {
    auto file = env_->NewFile();
    EXPECT_TRUE(file->Open(path, File::kWrite | File::kCreate)) << path;
    EXPECT_TRUE(file->Write(bytes.data(), bytes.size()));
    file->Close();
    return path;
  }

  std::string ContentOf(const std::string& path) {
    auto file = env_->NewFile();
    if (!file->Open(path, File::kRead)) return "(none)";
    char buffer[64];
    std::size_t got = 0;
    if (!file->Read(buffer, sizeof buffer, &got)) return "(unreadable)";
    return std::string(buffer, got);
  }

  TempDir dir_{"env"};
  std::string base_;
  Env* env_ = nullptr;
  std::vector<std::string> readOnly_;
#ifndef _WIN32
  std::unique_ptr<Env> posixEnv_;
#endif
};

TEST_F(EnvContractTest, FilesAreWrittenReadTruncatedReplacedAndDeleted) {
  const std::string report = WriteFile(Under(kHyou + ".xml"), "<REPORT/>\r\n");
  auto status = env_->GetFileStatus(report);
  ASSERT_TRUE(status.has_value());
  EXPECT_FALSE(status->isDirectory);
  EXPECT_EQ(status->size, 11u);
  EXPECT_EQ(ContentOf(report), "<REPORT/>\r\n");

  // A closed file takes no more bytes; opening for writing empties it.
  auto file = env_->NewFile();
  ASSERT_TRUE(file->Open(report, File::kWrite | File::kCreate));
  file->Close();
  EXPECT_FALSE(file->IsOpen());
  EXPECT_FALSE(file->Write("x", 1));
  EXPECT_EQ(env_->GetFileStatus(report)->size, 0u);

  const std::string temporary = WriteFile(Under(kSo + ".tmp"), "new");
  EXPECT_TRUE(env_->ReplaceFile(temporary, report));
  EXPECT_FALSE(env_->PathFileExists(temporary));
  EXPECT_EQ(ContentOf(report), "new");
  EXPECT_FALSE(env_->ReplaceFile(temporary, report)) << "the temporary is gone";
  EXPECT_EQ(ContentOf(report), "new");

  // A replace with nothing to replace names the temporary.
  const std::string fresh = Under(kNou + ".ini");
  EXPECT_TRUE(env_->ReplaceFile(WriteFile(Under("t.tmp"), "fresh"), fresh));
  EXPECT_EQ(ContentOf(fresh), "fresh");

  EXPECT_TRUE(env_->DeleteFile(report));
  EXPECT_FALSE(env_->PathFileExists(report));
  EXPECT_FALSE(env_->DeleteFile(report));

  EXPECT_FALSE(file->Open(Folder(), File::kRead)) << "a folder is no file";
  EXPECT_FALSE(file->Open(Under("nowhere\\out.xml"), File::kWrite | File::kCreate));
  EXPECT_TRUE(env_->GetFileStatus(Folder())->isDirectory);
  EXPECT_FALSE(env_->GetFileStatus(Under("missing")).has_value());
}

// A report being written is that handle's alone: a second export to it
// fails and leaves it as it is; readers still get in. Files are the same
// however they are named.
TEST_F(EnvContractTest, AReportIsWrittenByOneWriterAndKnownByAnyName) {
  const std::string report = Under(kHyou + ".xml");
  auto first = env_->NewFile();
  auto second = env_->NewFile();
  ASSERT_TRUE(first->Open(report, File::kWrite | File::kCreate));
  ASSERT_TRUE(first->Write("first\r\n", 7));
  EXPECT_FALSE(second->Open(report, File::kWrite | File::kCreate));
  EXPECT_TRUE(second->Open(report, File::kRead));
  second->Close();
  first->Close();
  EXPECT_EQ(ContentOf(report), "first\r\n");
  ASSERT_TRUE(second->Open(report, File::kWrite | File::kCreate));
  second->Close();

  EXPECT_TRUE(env_->IsSameFile(report, base_ + "\\.\\" + kHyou + ".xml"));
  EXPECT_FALSE(env_->IsSameFile(report, Under("missing.xml")));
  EXPECT_FALSE(env_->IsProgramFile(report));
}

// A second holder, as another process would be, waits until the first lets
// the lock go; reading the locked file goes on meanwhile.
TEST_F(EnvContractTest, ALockKeepsASecondHolderWaitingUntilReleased) {
  const std::string path = WriteFile(Under(kSo + ".lock"), "kept");
  std::unique_ptr<FileLock> first = env_->LockFile(path);
  ASSERT_NE(first, nullptr);
  std::atomic<bool> taken{false};
  std::thread second([&] {
    std::unique_ptr<FileLock> theirs = env_->LockFile(path);
    taken = theirs != nullptr;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(taken.load());
  EXPECT_EQ(ContentOf(path), "kept");
  first.reset();
  second.join();
  EXPECT_TRUE(taken.load());

  EXPECT_EQ(env_->LockFile(Folder()), nullptr) << "a folder takes no lock";
  EXPECT_EQ(env_->LockFile(Under("nowhere\\s.lock")), nullptr);
}

struct ChainCase {
  const char* name;
  std::string folder;     // below the test's folder, ending with a backslash
  std::string lastLevel;  // the deepest level made
};

class FolderChainTest : public EnvContractTest, public ::testing::WithParamInterface<ChainCase> {};

TEST_P(FolderChainTest, CreatesEveryLevelAsOneNameAndRemovesThem) {
  const ChainCase& c = GetParam();
  const std::string folder = Under(c.folder);
  ASSERT_TRUE(CreateFolderChain(*env_, folder));
  EXPECT_TRUE(env_->PathIsDirectory(Under(c.lastLevel)));
  EXPECT_TRUE(IsExistingFolder(*env_, folder + "x.xml"));
  EXPECT_FALSE(env_->CreateDirectory(Under(c.lastLevel))) << "it exists";

  ASSERT_TRUE(RemoveCreatedFolders(*env_, folder, Folder()));
  EXPECT_FALSE(env_->PathFileExists(Under(c.lastLevel)));
  EXPECT_TRUE(env_->PathIsDirectory(Folder()));
}

INSTANTIATE_TEST_SUITE_P(
    Names, FolderChainTest,
    ::testing::Values(ChainCase{"Hyou", kHyou + "\\", kHyou}, ChainCase{"So", kSo + "\\", kSo},
                      ChainCase{"Nou", kNou + "\\", kNou},
                      ChainCase{"NestedThree", kHyou + "\\" + kSo + "\\" + kNou + "\\",
                                kHyou + "\\" + kSo + "\\" + kNou},
                      ChainCase{"NameEndingInHyou", "a" + kHyou + "\\b\\", "a" + kHyou + "\\b"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EnvContractTest, AFolderThatHoldsAFileIsNotRemoved) {
  const std::string folder = Under(kHyou);
  ASSERT_TRUE(env_->CreateDirectory(folder));
  EXPECT_FALSE(env_->CreateDirectory(Under("a\\b"))) << "one level only";
  WriteFile(folder + "\\f.txt", "x");
  EXPECT_FALSE(env_->RemoveDirectory(folder));
  EXPECT_TRUE(env_->DeleteFile(folder + "\\f.txt"));
  EXPECT_TRUE(env_->RemoveDirectory(folder));
  EXPECT_FALSE(env_->PathFileExists(folder));
}

struct AccessCase {
  const char* name;
  std::string relative;  // empty: the test's folder itself
  int mode;
  bool expected;
};

class AccessTest : public EnvContractTest, public ::testing::WithParamInterface<AccessCase> {
 protected:
  void SetUp() override {
    WriteFile(Under("rw.txt"), "x");
    WriteFile(Under("ro.txt"), "x");
    MakeReadOnly("ro.txt");
    env_->CreateDirectory(Under("locked"));
    MakeReadOnly("locked");
  }
};

TEST_P(AccessTest, FollowsTheRuntimeLibrary) {
  const AccessCase& c = GetParam();
  EXPECT_EQ(env_->Access(c.relative.empty() ? Folder() : Under(c.relative), c.mode), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AccessTest,
    ::testing::Values(AccessCase{"Folder", "", 6, true},
                      AccessCase{"ReadOnlyFolderPassesAnyMode", "locked", 6, true},
                      AccessCase{"WritableFile", "rw.txt", 6, true},
                      AccessCase{"ReadOnlyFileFailsWrite", "ro.txt", 2, false},
                      AccessCase{"ReadOnlyFileFailsReadWrite", "ro.txt", 6, false},
                      AccessCase{"ReadOnlyFileExists", "ro.txt", 0, true},
                      AccessCase{"ReadOnlyFileReads", "ro.txt", 4, true},
                      AccessCase{"MissingFile", "missing.txt", 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pv14::testing
