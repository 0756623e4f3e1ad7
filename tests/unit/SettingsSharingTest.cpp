// Saves of the settings file that meet each other, other people's files and
// faults: the lock across processes, the process's own temporary, a link,
// the file's mode, a temporary left by a killed save, and a fault at every
// platform call of a save.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <random>
#include <set>
#include <string>

#include "dialogs/ConditionDialog.h"
#include "tests/fakes/FakeEngine.h"
#include "tests/fakes/FakeUi.h"
#include "tests/fakes/TestEdition.h"
#include "tests/support/Process.h"
#include "tests/unit/PathHelpersDisk.h"

namespace pv14 {
namespace {

namespace fs = std::filesystem;
using testing::FakeEngine;

const std::string kOthers = "X/1/1:0/0/1/D:\\x\nABC/1/5:0/0/1/D:\\old\nY/2/2:0/0/2/D:\\y\n";
const std::string kSaved = "X/1/1:0/0/1/D:\\x\nY/2/2:0/0/2/D:\\y\nABC/1/5:0/0/2/D:\\new\n";

class SharingTest : public testing::DiskTest {
 public:
  using testing::DiskTest::tmp;
  SharingTest() {
    FakeEngine::Get().Reset();
    FakeEngine::Get().appFolders = {"D:\\docs\\", "D:\\cfg\\"};
    fs::create_directories(tmp.Join("d/cfg"));
  }
  static std::string Name() { return testing::TestEdition().settingsFileName; }
  std::string Posix(const std::string& name = Name()) const { return tmp.Join("d/cfg/" + name); }
  std::string Content() const {
    return fs::is_regular_file(Posix()) ? tmp.ReadFile("d/cfg/" + Name()) : "";
  }
  // The settings folder's entries other than the settings file and its lock.
  std::set<std::string> Strays() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(tmp.Join("d/cfg"))) {
      std::string name = entry.path().filename().string();
      if (name != Name() && name != Name() + ".lock") names.insert(name);
    }
    return names;
  }
  bool Save(Env& env, const std::string& user, int kind, std::optional<std::string> path) {
    testing::FakeUi ui;
    ConditionDialog dialog(env, ui, kNoWindow, Name());
    dialog.CurrentUserId = user;
    dialog.SelectedKeyNo = 1;
    dialog.SelectedDataNo = 5;
    return dialog.SaveSettings(0, 0, static_cast<std::int16_t>(kind), path);
  }
};

// ---------------------------------------------------------------- cases

struct SaveCase {
  const char* name;
  std::function<void(SharingTest&)> before;
  std::optional<std::string> path;
  bool saved;
  std::string content;  // of the settings file afterwards
  std::function<void(SharingTest&)> check;
};

class SaveCases : public SharingTest, public ::testing::WithParamInterface<SaveCase> {};

const SaveCase kSaveCases[] = {
    {"KeepsTheFilesMode",
     [](SharingTest& t) {
       testing::WriteFileBytes(t.Posix(), kOthers);
       chmod(t.Posix().c_str(), 0604);
     },
     "D:\\new", true, kSaved,
     [](SharingTest& t) {
       struct stat st;
       ASSERT_EQ(stat(t.Posix().c_str(), &st), 0);
       EXPECT_EQ(st.st_mode & 07777, 0604u);
     }},
    {"ReplacesTheFileALinkPointsTo",
     [](SharingTest& t) {
       fs::create_directories(t.tmp.Join("d/real"));
       testing::WriteFileBytes(t.tmp.Join("d/real/settings"), kOthers);
       fs::create_symlink("../real/settings", t.Posix());
     },
     "D:\\new", true, kSaved,
     [](SharingTest& t) {
       EXPECT_TRUE(fs::is_symlink(t.Posix()));
       EXPECT_EQ(t.tmp.ReadFile("d/real/settings"), kSaved);
     }},
    {"RemovesTemporariesOfKilledSaves",
     [](SharingTest& t) {
       testing::WriteFileBytes(t.Posix(), kOthers);
       testing::WriteFileBytes(t.Posix(SharingTest::Name() + ".4711.tmp"), "X/1/1:0/0/1/D:\\x\nAB");
       testing::WriteFileBytes(t.Posix(SharingTest::Name() + ".1.tmp"), "");
       fs::create_directory(
           t.Posix(SharingTest::Name() + ".2.tmp"));  // a folder is nobody's temporary
       testing::WriteFileBytes(t.Posix("other.1.tmp"), "");
     },
     "D:\\new", true, kSaved,
     [](SharingTest& t) {
       EXPECT_EQ(t.Strays(),
                 (std::set<std::string>{SharingTest::Name() + ".2.tmp", "other.1.tmp"}));
     }},
    {"CallersRunKeepsAStoredPathTooLongToOffer",
     [](SharingTest& t) {
       testing::WriteFileBytes(t.Posix(),
                               "ABC/1/5:0/0/1/D:\\" + std::string(300, 'p') + "\nX/1/1:0/0/1/\n");
     },
     std::nullopt, true, "X/1/1:0/0/1/\nABC/1/5:0/0/2/D:\\" + std::string(300, 'p') + "\n",
     nullptr},
    {"CallersRunWithoutAStoredLineWritesNoPath", nullptr, std::nullopt, true, "ABC/1/5:0/0/2/\n",
     nullptr},
    {"AFolderInPlaceOfTheFileIsLeftAlone", [](SharingTest& t) { fs::create_directory(t.Posix()); },
     "D:\\new", false, "", nullptr},
    {"ALockThatCannotBeTakenSavesNothing",
     [](SharingTest& t) {
       testing::WriteFileBytes(t.Posix(), kOthers);
       fs::create_directory(t.Posix(SharingTest::Name() + ".lock"));
     },
     "D:\\new", false, kOthers, nullptr},
};

TEST_P(SaveCases, LeavesTheFileAsExpected) {
  const SaveCase& c = GetParam();
  if (c.before) c.before(*this);
  EXPECT_EQ(Save(*env, "ABC", 2, c.path), c.saved);
  EXPECT_EQ(Content(), c.content);
  if (c.check) {
    c.check(*this);
  } else {
    EXPECT_EQ(Strays(), std::set<std::string>());
  }
}
INSTANTIATE_TEST_SUITE_P(Cases, SaveCases, ::testing::ValuesIn(kSaveCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- fault loop

// Fails the n-th platform call that can fail (n from 1), as SQLite's I/O
// fault loop does.
class CallFaults : public EnvWrapper {
 public:
  using EnvWrapper::EnvWrapper;
  int calls = 0, failAt = 0;
  bool Fail() { return ++calls == failAt; }

  class CountedFile : public File {
   public:
    CountedFile(std::unique_ptr<File> inner, CallFaults& env)
        : inner_(std::move(inner)), env_(env) {}
    bool Open(const std::string& p, unsigned f) override {
      return !env_.Fail() && inner_->Open(p, f);
    }
    bool Write(const void* d, std::size_t n) override {
      return !env_.Fail() && inner_->Write(d, n);
    }
    bool Read(void* b, std::size_t n, std::size_t* got) override {
      *got = 0;
      return !env_.Fail() && inner_->Read(b, n, got);
    }
    void Close() override { inner_->Close(); }
    bool IsOpen() const override { return inner_->IsOpen(); }

   private:
    std::unique_ptr<File> inner_;
    CallFaults& env_;
  };

  std::unique_ptr<File> NewFile() override {
    return Fail() ? nullptr : std::make_unique<CountedFile>(target().NewFile(), *this);
  }
  std::optional<FileStatus> GetFileStatus(const std::string& p) override {
    return Fail() ? std::nullopt : target().GetFileStatus(p);
  }
  bool PathFileExists(const std::string& p) override {
    return !Fail() && target().PathFileExists(p);
  }
  bool PathIsDirectory(const std::string& p) override {
    return !Fail() && target().PathIsDirectory(p);
  }
  bool CreateDirectory(const std::string& p) override {
    return !Fail() && target().CreateDirectory(p);
  }
  bool DeleteFile(const std::string& p) override { return !Fail() && target().DeleteFile(p); }
  bool ReplaceFile(const std::string& s, const std::string& t) override {
    return !Fail() && target().ReplaceFile(s, t);
  }
  std::vector<std::string> FindFiles(const std::string& p) override {
    return Fail() ? std::vector<std::string>() : target().FindFiles(p);
  }
  std::unique_ptr<FileLock> LockFile(const std::string& p) override {
    return Fail() ? nullptr : target().LockFile(p);
  }
};

TEST_F(SharingTest, AFaultAtAnyCallLeavesTheOldOrTheNewFile) {
  testing::WriteFileBytes(Posix(Name() + ".99.tmp"), "left by a killed save");
  int faults = 0;
  for (int n = 1;; ++n) {
    testing::WriteFileBytes(Posix(), kOthers);
    CallFaults faulty(*env);
    faulty.failAt = n;
    const bool saved = Save(faulty, "ABC", 2, "D:\\new");
    const std::string after = Content();
    EXPECT_TRUE(after == kOthers || after == kSaved) << "fault at call " << n << ":\n" << after;
    if (saved) {
      EXPECT_EQ(after, kSaved) << "fault at call " << n;
    }
    for (const std::string& stray : Strays()) {
      EXPECT_EQ(stray, Name() + ".99.tmp") << "fault at call " << n;
    }
    if (faulty.calls < n) break;  // the save no longer meets the fault
    ++faults;
  }
  EXPECT_GT(faults, 10);
  EXPECT_TRUE(Strays().empty());
}

// ---------------------------------------------------------------- processes

// Eight processes save their own keys forty times each, all at once, over a
// file of other people's lines: every line of every key survives whole.
TEST_F(SharingTest, ProcessesSavingAtOnceLoseAndMixNothing) {
  constexpr int kProcesses = 8, kSaves = 40, kTrials = 3;
  std::string others;
  for (int i = 0; i < 300; ++i) {
    others += "OTHER" + std::to_string(i) + "/1/1:0/0/1/D:\\" + std::string(i % 97, 'o') + "\n";
  }
  const auto lastLine = [](int process) {
    return "P" + std::to_string(process) + "/1/5:0/0/" + std::to_string(process % 3 + 1) + "/D:\\" +
           std::string(static_cast<std::size_t>(20 + process * 29), 'a' + process) + "\n";
  };
  for (int trial = 0; trial < kTrials; ++trial) {
    testing::WriteFileBytes(Posix(), others);
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
      const pid_t pid = fork();
      if (pid == 0) {
        std::mt19937 random(static_cast<unsigned>(trial * 100 + p));
        bool ok = true;
        for (int s = 0; s + 1 < kSaves; ++s) {
          const std::size_t length = random() % 200;
          ok = Save(*env, "P" + std::to_string(p), 1, "D:\\" + std::string(length, 'z')) && ok;
        }
        ok = Save(*env, "P" + std::to_string(p), p % 3 + 1,
                  "D:\\" + std::string(static_cast<std::size_t>(20 + p * 29), 'a' + p)) &&
             ok;
        _exit(ok ? 0 : 1);
      }
      children.push_back(pid);
    }
    for (pid_t pid : children) {
      int status = 0;
      ASSERT_EQ(waitpid(pid, &status, 0), pid);
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "trial " << trial;
    }
    const std::string after = Content();
    ASSERT_EQ(after.substr(0, others.size()), others) << "trial " << trial;
    std::multiset<std::string> mine;
    for (std::size_t at = others.size(); at < after.size();) {
      const std::size_t end = after.find('\n', at);
      ASSERT_NE(end, std::string::npos);
      mine.insert(after.substr(at, end + 1 - at));
      at = end + 1;
    }
    std::multiset<std::string> expected;
    for (int p = 0; p < kProcesses; ++p) expected.insert(lastLine(p));
    EXPECT_EQ(mine, expected) << "trial " << trial;
    EXPECT_TRUE(Strays().empty()) << "trial " << trial;
  }
}

}  // namespace
}  // namespace pv14
