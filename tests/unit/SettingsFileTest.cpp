// The last-used settings of the conditions dialog, on a real disk.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "dialogs/ConditionDialog.h"
#include "tests/fakes/FakeEngine.h"
#include "tests/fakes/FakeUi.h"
#include "tests/fakes/TestEdition.h"
#include "tests/unit/ConditionDialogControls.h"
#include "tests/unit/PathHelpersDisk.h"

namespace pv14 {
namespace {

using testing::FakeEngine;

class SettingsTest : public testing::DiskTest {
 protected:
  SettingsTest() : dialog(*env, ui, kNoWindow, testing::TestEdition().settingsFileName) {
    FakeEngine::Get().Reset();
    FakeEngine::Get().appFolders = {"D:\\docs\\", "D:\\cfg\\pv14\\"};
    dialog.CurrentUserId = "ABC";
    dialog.SelectedKeyNo = 1;
    dialog.SelectedDataNo = 5;
  }

  static std::string File() { return "d/cfg/pv14/" + testing::TestEdition().settingsFileName; }
  void Write(const std::string& content) {
    std::filesystem::create_directories(tmp.Join("d/cfg/pv14"));
    tmp.WriteFile(File(), content);
  }
  std::string Content() const { return tmp.ReadFile(File()); }
  // The tree without the settings file's lock, which stays once made.
  std::map<std::string, std::string> Files() const {
    auto tree = Tree();
    tree.erase(File() + ".lock");
    return tree;
  }
  bool Save(int kind, std::optional<std::string> path) {
    return dialog.SaveSettings(0, 0, static_cast<std::int16_t>(kind), path);
  }
  std::pair<int, std::string> Load() {
    std::int16_t kind = -1;
    std::string path = "untouched";
    if (!dialog.LoadSettings(kind, path)) {
      EXPECT_TRUE(kind == -1 && path == "untouched");  // outputs written only on a hit
    }
    return {kind, path};
  }

  testing::FakeUi ui;
  ConditionDialog dialog;
};

// Lines of other users until the text holds at least size bytes.
std::string OtherLines(std::size_t size, int firstUser) {
  std::string text;
  char line[48];
  for (int user = firstUser; text.size() < size; ++user) {
    std::snprintf(line, sizeof line, "U%07d/1/1:0/0/1/D:\\f.xml\n", user);
    text += line;
  }
  return text;
}

TEST_F(SettingsTest, FirstSaveCreatesTheFolderAndOneLine) {
  ASSERT_TRUE(Save(3, "D:\\out\\a.xml"));
  EXPECT_EQ(Content(), "ABC/1/5:0/0/3/D:\\out\\a.xml\n");
  EXPECT_EQ(Files().size(), 6u + 3u);  // the drive folders, cfg, pv14 and the file
  EXPECT_EQ(Load(), (std::pair<int, std::string>{3, "D:\\out\\a.xml"}));
}

TEST_F(SettingsTest, SecondSaveMovesTheLineToTheEnd) {
  Write("X/1/1:0/0/1/D:\\x\nABC/1/5:0/0/1/D:\\old\nY/2/2:0/0/2/D:\\y\n");
  ASSERT_TRUE(Save(2, "D:\\new"));
  EXPECT_EQ(Content(), "X/1/1:0/0/1/D:\\x\nY/2/2:0/0/2/D:\\y\nABC/1/5:0/0/2/D:\\new\n");
}

TEST_F(SettingsTest, CallersRunKeepsTheRememberedPath) {
  Write("ABC/1/5:0/0/1/D:\\mine.xml\n");
  testing::RecordingControls controls;
  dialog.PresetOutputPath = "D:\\caller.xml";
  dialog.OnInitDialog(controls);
  ASSERT_TRUE(Save(3, std::nullopt));
  EXPECT_EQ(Content(), "ABC/1/5:0/0/3/D:\\mine.xml\n");

  dialog.SelectedDataNo = 6;  // another data record: a line of its own, no path yet
  dialog.OnInitDialog(controls);
  ASSERT_TRUE(Save(2, std::nullopt));
  EXPECT_EQ(Content(), "ABC/1/5:0/0/3/D:\\mine.xml\nABC/1/6:0/0/2/\n");
}

TEST_F(SettingsTest, AKeyIsFoundOnlyAtTheStartOfALine) {
  const std::string theirs = "XABC/1/5:0/0/2/D:\\theirs\nZ/0/0:0/0/1/ABC/1/5:0/0/2/D:\\z\n";
  Write(theirs);
  EXPECT_EQ(Load().first, -1);
  ASSERT_TRUE(Save(3, "D:\\mine"));
  EXPECT_EQ(Content(), theirs + "ABC/1/5:0/0/3/D:\\mine\n");
}

TEST_F(SettingsTest, LongKeyIsUsedWhole) {
  dialog.CurrentUserId = std::string(64, 'u');  // a key of 69 bytes
  const std::string theirs = std::string(60, 'u') + "v/1/5:0/0/1/D:\\theirs\n";
  Write(theirs);
  ASSERT_TRUE(Save(2, "D:\\mine"));
  EXPECT_EQ(Content(), theirs + std::string(64, 'u') + "/1/5:0/0/2/D:\\mine\n");
  EXPECT_EQ(Load(), (std::pair<int, std::string>{2, "D:\\mine"}));
}

TEST_F(SettingsTest, LastLineCutShortOfItsBreakGetsOne) {
  Write("ABC/1/5:0/0/1/D:\\old\nX/1/1:0/0/1/D:\\x");
  ASSERT_TRUE(Save(2, "D:\\new"));
  EXPECT_EQ(Content(), "X/1/1:0/0/1/D:\\x\nABC/1/5:0/0/2/D:\\new\n");
}

TEST_F(SettingsTest, FilesOfAnySizeWork) {
  for (std::size_t size : {40000u, 5u * 1024 * 1024}) {
    const std::string before = OtherLines(size / 2, 0), after = OtherLines(size / 2, 5000000);
    Write(before + "ABC/1/5:0/0/2/D:\\deep\n" + after);
    EXPECT_EQ(Load(), (std::pair<int, std::string>{2, "D:\\deep"}));
    ASSERT_TRUE(Save(3, "D:\\moved"));
    EXPECT_TRUE(Content() == before + after + "ABC/1/5:0/0/3/D:\\moved\n") << size;
  }
}

// Fails the k-th write of the rewrite for k = 1, 2, ... until the rewrite
// no longer meets the fault, then the rename: each failure leaves every
// byte and no temporary file.
TEST_F(SettingsTest, FaultAtEachStepOfTheRewriteLeavesTheOldFile) {
  Write("X/1/1:0/0/1/D:\\x\nABC/1/5:0/0/1/D:\\old\nY/2/2:0/0/2/D:\\y\n");
  const auto before = Files();
  int faults = 0;
  for (int k = 1;; ++k) {
    env->files.writes = 0;
    env->files.failWriteAt = k;
    const bool saved = Save(2, "D:\\new");
    if (env->files.writes < k) {  // the fault never fired
      EXPECT_TRUE(saved);
      break;
    }
    ++faults;
    EXPECT_FALSE(saved) << "fault at write " << k;
    EXPECT_EQ(Files(), before) << "fault at write " << k;
  }
  EXPECT_GT(faults, 0);
  EXPECT_EQ(Content(), "X/1/1:0/0/1/D:\\x\nY/2/2:0/0/2/D:\\y\nABC/1/5:0/0/2/D:\\new\n");
  const auto saved = Files();
  env->files.failWriteAt = 0;
  env->failReplace = true;
  EXPECT_FALSE(Save(1, "D:\\other"));
  EXPECT_EQ(Files(), saved);
}

TEST_F(SettingsTest, NothingIsWrittenWhereItCannotBe) {
  const auto empty = Files();
  env->failCreate = "D:\\cfg\\pv14\\";
  EXPECT_FALSE(Save(2, "D:\\new"));  // cfg, made first, is removed again
  EXPECT_EQ(Files(), empty);
  FakeEngine::Get().appFolders[1] = "";
  EXPECT_FALSE(Save(2, "D:\\new"));
  EXPECT_EQ(Load().first, -1);
  EXPECT_EQ(Files(), empty);

  FakeEngine::Get().appFolders[1] = "D:\\cfg\\pv14\\";
  env->failCreate.clear();
  env->files.failWriteAt = 1;  // the first run's only write
  EXPECT_FALSE(Save(2, "D:\\new"));
  EXPECT_EQ(Files().count(File()), 0u);
  EXPECT_EQ(Files().size(), empty.size() + 2);  // cfg and pv14 made, nothing in them
}

TEST_F(SettingsTest, FileThatCannotBeWrittenIsLeftAlone) {
  Write("ABC/1/5:0/0/1/D:\\old\n");
  env->files.failOpenReadWrite = true;
  const auto before = Files();
  EXPECT_FALSE(Save(2, "D:\\new"));
  EXPECT_EQ(Files(), before);
}

// A save that would leave the file's bytes as they are writes nothing: no
// temporary, no rename, the same file as before.
TEST_F(SettingsTest, SaveThatChangesNothingWritesNothing) {
  Write("X/1/1:0/0/1/D:\\x\nABC/1/5:0/0/2/D:\\new\n");
  const auto before = std::filesystem::status(tmp.Join(File()));
  const auto inode = [&] {
    struct stat st {};
    ::stat(tmp.Join(File()).c_str(), &st);
    return st.st_ino;
  };
  const auto first = inode();
  ASSERT_TRUE(Save(2, "D:\\new"));
  ASSERT_TRUE(Save(2, std::nullopt));
  EXPECT_EQ(env->files.writes, 0);
  EXPECT_EQ(inode(), first);
  EXPECT_EQ(Content(), "X/1/1:0/0/1/D:\\x\nABC/1/5:0/0/2/D:\\new\n");
  EXPECT_EQ(before.permissions(), std::filesystem::status(tmp.Join(File())).permissions());

  // The same line not yet last, another kind or another path is a change.
  for (const auto& [kind, path] : {std::pair{2, "D:\\newer"}, std::pair{3, "D:\\newer"}}) {
    const int writes = env->files.writes;
    ASSERT_TRUE(Save(kind, std::string(path)));
    EXPECT_GT(env->files.writes, writes);
  }
  Write("ABC/1/5:0/0/3/D:\\newer\nX/1/1:0/0/1/D:\\x\n");
  const int writes = env->files.writes;
  ASSERT_TRUE(Save(3, "D:\\newer"));
  EXPECT_GT(env->files.writes, writes);
  EXPECT_EQ(Content(), "X/1/1:0/0/1/D:\\x\nABC/1/5:0/0/3/D:\\newer\n");
}

// What stands at the settings file's name and is no regular file (a FIFO, a
// device, either behind a link) is neither read nor replaced, and neither
// waited for: the load finds nothing, the save fails and leaves it as it was.
struct OddSettingsCase {
  const char* name;
  std::function<void(const std::string& at, const std::string& beside)> make;
};
class OddSettingsFile : public SettingsTest,
                        public ::testing::WithParamInterface<OddSettingsCase> {};
TEST_P(OddSettingsFile, IsNeitherReadNorReplaced) {
  std::filesystem::create_directories(tmp.Join("d/cfg/pv14"));
  const std::string at = tmp.Join(File());
  GetParam().make(at, tmp.Join("d/cfg/other"));
  struct stat before {};
  ASSERT_EQ(::lstat(at.c_str(), &before), 0);

  EXPECT_EQ(Load().first, -1);
  EXPECT_FALSE(Save(2, "D:\\new"));

  struct stat after {};
  ASSERT_EQ(::lstat(at.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mode, before.st_mode);
  for (const auto& entry : std::filesystem::directory_iterator(tmp.Join("d/cfg/pv14"))) {
    EXPECT_FALSE(entry.path().string().ends_with(".tmp")) << entry.path();
  }
}
INSTANTIATE_TEST_SUITE_P(
    Cases, OddSettingsFile,
    ::testing::Values(OddSettingsCase{"Fifo",
                                      [](const std::string& at, const std::string&) {
                                        ASSERT_EQ(::mkfifo(at.c_str(), 0600), 0);
                                      }},
                      OddSettingsCase{"LinkToFifo",
                                      [](const std::string& at, const std::string& beside) {
                                        ASSERT_EQ(::mkfifo(beside.c_str(), 0600), 0);
                                        std::filesystem::create_symlink(beside, at);
                                      }},
                      OddSettingsCase{"LinkToDevice",
                                      [](const std::string& at, const std::string&) {
                                        std::filesystem::create_symlink("/dev/null", at);
                                      }},
                      OddSettingsCase{"Folder",
                                      [](const std::string& at, const std::string&) {
                                        std::filesystem::create_directory(at);
                                      }}),
    [](const auto& info) { return std::string(info.param.name); });

// Through a link to a regular file the save replaces the file it names and
// the link stays.
TEST_F(SettingsTest, SaveThroughALinkReplacesTheFileItNames) {
  std::filesystem::create_directories(tmp.Join("d/cfg/pv14"));
  tmp.WriteFile("d/cfg/real", "X/1/1:0/0/1/D:\\x\n");
  std::filesystem::create_symlink(tmp.Join("d/cfg/real"), tmp.Join(File()));
  ASSERT_TRUE(Save(2, "D:\\new"));
  EXPECT_TRUE(std::filesystem::is_symlink(tmp.Join(File())));
  EXPECT_EQ(tmp.ReadFile("d/cfg/real"), "X/1/1:0/0/1/D:\\x\nABC/1/5:0/0/2/D:\\new\n");
}

struct LoadCase {
  const char* name;
  std::string content;
  int kind;  // -1: not found
  std::string path;
};
class SettingsLoad : public SettingsTest, public ::testing::WithParamInterface<LoadCase> {};
TEST_P(SettingsLoad, ReadsTheFirstLineOfTheKey) {
  Write(GetParam().content);
  EXPECT_EQ(Load(), (std::pair<int, std::string>{GetParam().kind, GetParam().path}));
  EXPECT_EQ(Content(), GetParam().content);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsLoad,
    ::testing::Values(
        LoadCase{"FirstOfTwo", "X/1/5:0/0/1/x\nABC/1/5:0/0/3/D:\\1\nABC/1/5:0/0/2/2\n", 3, "D:\\1"},
        LoadCase{"EmptyPath", "ABC/1/5:0/0/2/\n", 2, ""},
        LoadCase{"KindNotADigit", "ABC/1/5:0/0/x/D:\\a\n", 0, "D:\\a"},
        LoadCase{"PathTooLongIsNotOffered", "ABC/1/5:0/0/2/" + std::string(261, 'p') + "\n", 2, ""},
        LoadCase{"LongestPath", "ABC/1/5:0/0/2/" + std::string(260, 'p') + "\n", 2,
                 std::string(260, 'p')},
        LoadCase{"EmptyFile", "", -1, "untouched"},
        LoadCase{"OtherNumbers", "ABC/1/6:0/0/2/a\nABC/2/5:0/0/2/a\n", -1, "untouched"},
        LoadCase{"NoBreakAfterTheKey", "ABC/1/5:0/0/2/D:\\a", -1, "untouched"},
        LoadCase{"NoSlashInTheValue", "ABC/1/5:nothing\n", -1, "untouched"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pv14
