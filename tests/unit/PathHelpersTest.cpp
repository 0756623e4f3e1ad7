#include "dialogs/PathHelpers.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/unit/PathHelpersDisk.h"

namespace pv14 {
namespace {

using testing::DiskTest;

// 表 and ソ end in 0x5C, the byte of the backslash; 新 does not.
const std::string kHyo = "\x95\x5C";
const std::string kSo = "\x83\x5C";
const std::string kShin = "\x90\x56";

auto NameOf = [](const auto& info) { return std::string(info.param.name); };

struct DoubleByteCase {
  const char* name;
  std::string text;
  std::size_t pos;
  bool expected;
};
class PathHelpersDoubleByte : public ::testing::TestWithParam<DoubleByteCase> {};
TEST_P(PathHelpersDoubleByte, ClassifiesFromTheFirstByte) {
  EXPECT_EQ(IsDoubleByteAt(GetParam().text, GetParam().pos), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, PathHelpersDoubleByte,
    ::testing::Values(DoubleByteCase{"LeadOfPair", "a" + kHyo, 1, true},
                      DoubleByteCase{"TrailBackslashOfPair", "a" + kHyo, 2, true},
                      DoubleByteCase{"HalfWidthKanaStandsAlone", "\xB1\x5C", 1, false},
                      DoubleByteCase{"LeadWithoutTrail", "a\x95", 1, false},
                      DoubleByteCase{"InvalidTrail", "\x81\x7F", 0, false},
                      // 0x95 0x95 is a pair, so the 0x5C after it stands alone.
                      DoubleByteCase{"PairsCountFromTheStart", "\x95\x95\x5C", 2, false}),
    NameOf);

struct SplitCase {
  const char* name;
  std::string path, folder, fileName, drive, afterDrive;
};
class PathHelpersSplit : public ::testing::TestWithParam<SplitCase> {};
TEST_P(PathHelpersSplit, SplitsAtTheLastSingleByteSeparator) {
  const SplitCase& c = GetParam();
  EXPECT_EQ(SplitFolder(c.path), c.folder);
  EXPECT_EQ(SplitFileName(c.path), c.fileName);
  EXPECT_EQ(SplitDrive(c.path), c.drive);
  EXPECT_EQ(SplitAfterDrive(c.path), c.afterDrive);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, PathHelpersSplit,
    ::testing::Values(
        SplitCase{"DrivePath", "D:\\o\\a.xml", "D:\\o\\", "a.xml", "D:", "\\o\\a.xml"},
        SplitCase{"DriveRelative", "D:a.xml", "", "D:a.xml", "D:", "a.xml"},
        SplitCase{"NameAlone", "a.xml", "", "a.xml", "", "a.xml"},
        SplitCase{"EndsWithSeparator", "D:\\o\\", "D:\\o\\", "", "D:", "\\o\\"},
        SplitCase{"NameEndingIn0x5C", "D:\\" + kHyo, "D:\\", kHyo, "D:", "\\" + kHyo}),
    NameOf);

struct CheckCase {
  const char* name;
  std::string path;
  bool ok;
};
class PathHelpersText : public ::testing::TestWithParam<CheckCase> {};
TEST_P(PathHelpersText, RefusesOnlyTheListedAndControlCharacters) {
  EXPECT_EQ(IsValidPathText(GetParam().path), GetParam().ok);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, PathHelpersText,
    ::testing::Values(
        CheckCase{"Plain", "D:\\o\\a.xml", true}, CheckCase{"BlanksAndDots", " . ", true},
        CheckCase{"Tab", "D:\\o\\a\tb.xml", false}, CheckCase{"Escape", "D:\\a\x1b[31m", false},
        CheckCase{"CarriageReturnOfASettingsLine", "D:\\o\\a.xml\r", false},
        CheckCase{"Nul", std::string("D:\\a\0b", 6), false},
        CheckCase{"ControlOne", "D:\\\x01", false}, CheckCase{"UnitSeparator", "D:\\\x1f", false},
        CheckCase{"Delete", "D:\\a\x7f", false},
        CheckCase{"ControlBeforeTheDriveColon", "D\t:\\a.xml", false},
        CheckCase{"ControlInAUncServer", "\\\\s\x01rv\\share\\a", false},
        CheckCase{"TrailBytesAreNoControls", "D:\\\x81\x40\x9f\x7e", true},
        CheckCase{"Pattern", "D:\\o\\*.xml", false}, CheckCase{"StarAfterDriveColon", "D:*", false},
        CheckCase{"SecondColon", "D:\\a:b", false}, CheckCase{"Slash", "D:a/b", false},
        CheckCase{"Comma", "D:a,b", false}, CheckCase{"Semicolon", "D:a;b", false},
        CheckCase{"Question", "D:a?", false}, CheckCase{"Quote", "D:a\"", false},
        CheckCase{"Greater", "D:a>", false}, CheckCase{"Less", "D:a<", false},
        CheckCase{"Bar", "D:a|", false}, CheckCase{"DoubledBackslash", "D:\\o\\\\a.xml", false},
        CheckCase{"SeparatorAfter0x5CName", "D:\\" + kHyo + "\\a", true},
        CheckCase{"PoIsNoBar", "D:\\\x83\x7C", true},  // ポ
        CheckCase{"Unc", "\\\\srv\\share\\a.xml", true},
        CheckCase{"UncDoubledAfterServer", "\\\\srv\\\\share\\a", false},
        CheckCase{"UncColon", "\\\\srv\\share\\a:b", false}),
    NameOf);

class PathHelpersDrive : public DiskTest, public ::testing::WithParamInterface<CheckCase> {};
TEST_P(PathHelpersDrive, AcceptsUsableDrivesAndShares) {
  EXPECT_EQ(IsValidDrive(*env, GetParam().path), GetParam().ok);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, PathHelpersDrive,
    ::testing::Values(CheckCase{"Fixed", "D:\\a.xml", true}, CheckCase{"LowerCase", "d:\\a", true},
                      CheckCase{"Remote", "M:\\a", true}, CheckCase{"CdRom", "Q:\\a", false},
                      CheckCase{"RamDisk", "R:\\a", false}, CheckCase{"Unknown", "U:\\a", false},
                      CheckCase{"NoVolume", "N:\\a", true},
                      CheckCase{"NameTakesItsFirstLetter", "notes.xml", true},
                      CheckCase{"NameOnCdRomLetter", "quarter.xml", false},
                      CheckCase{"NotALetter", "1:\\a", false}, CheckCase{"Empty", "", false},
                      CheckCase{"DoubledBackslash", "D:\\a\\\\b", false},
                      CheckCase{"Share", "\\\\srv\\share\\a.xml", true},
                      CheckCase{"ShareWithoutEnd", "\\\\srv\\share", false},
                      CheckCase{"ServerOnly", "\\\\srv", false},
                      CheckCase{"InaccessibleShare", "\\\\srv\\gone\\a.xml", false}),
    NameOf);

struct EditCase {
  const char* name;
  std::string before;
  bool ok;
  std::string after;
};
class PathHelpersBackslash : public ::testing::TestWithParam<EditCase> {};
TEST_P(PathHelpersBackslash, AppendsWithinTheBuffer) {
  std::string text = GetParam().before;
  EXPECT_EQ(AddTrailingBackslash(text, kPathBufferSize), GetParam().ok);
  EXPECT_EQ(text, GetParam().after);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, PathHelpersBackslash,
    ::testing::Values(EditCase{"Empty", "", false, ""}, EditCase{"Added", "D:\\a", true, "D:\\a\\"},
                      EditCase{"Kept", "D:\\a\\", true, "D:\\a\\"},
                      EditCase{"TrailByteIsNoSeparator", kHyo, true, kHyo + "\\"},
                      EditCase{"Fills260", std::string(259, 'a'), true,
                               std::string(259, 'a') + "\\"},
                      EditCase{"NoRoom", std::string(260, 'a'), false, std::string(260, 'a')},
                      EditCase{"EndsWithOneButOverflows", std::string(260, 'a') + "\\", false,
                               std::string(260, 'a') + "\\"},
                      // A lone first byte would pair with the backslash: no separator fits.
                      EditCase{"LoneLeadByte", "D:\\a\x83", false, "D:\\a\x83"}),
    NameOf);

class PathHelpersReduce : public ::testing::TestWithParam<EditCase> {};
TEST_P(PathHelpersReduce, KeepsDriveAndDirectory) {
  std::string path = GetParam().before;
  EXPECT_EQ(ReduceToFolder(path), GetParam().ok);
  EXPECT_EQ(path, GetParam().after);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, PathHelpersReduce,
    ::testing::Values(EditCase{"DropsFileName", "D:\\a\\b", true, "D:\\a\\"},
                      EditCase{"FolderKept", "D:\\a\\", true, "D:\\a\\"},
                      EditCase{"DriveRelative", "D:a.xml", true, "D:\\"},
                      EditCase{"NameAloneFails", "a.xml", false, "a.xml"},
                      EditCase{"NameEndingIn0x5C", "D:\\" + kHyo, true, "D:\\"},
                      EditCase{"Longest", "D:\\" + std::string(255, 'a') + "\\b", true,
                               "D:\\" + std::string(255, 'a') + "\\"},
                      EditCase{"TooLong", std::string(261, 'a'), false, std::string(261, 'a')}),
    NameOf);

using PathHelpersOnDisk = DiskTest;

TEST_F(PathHelpersOnDisk, CopyRootAndExistingFolder) {
  std::string root = "kept";
  EXPECT_FALSE(CopyRoot(*env, "", root, kPathBufferSize));
  EXPECT_FALSE(CopyRoot(*env, "a\\b", root, kPathBufferSize));
  EXPECT_FALSE(CopyRoot(*env, "D:\\" + std::string(258, 'a'), root, kPathBufferSize));
  EXPECT_EQ(root, "kept");
  EXPECT_TRUE(CopyRoot(*env, "\\\\srv\\share\\a", root, kPathBufferSize));
  EXPECT_EQ(root, "\\\\srv\\share");

  std::filesystem::create_directory(tmp.Join("d/o"));
  EXPECT_TRUE(IsExistingFolder(*env, "D:\\o\\missing.xml"));
  EXPECT_TRUE(IsExistingFolder(*env, "D:\\o"));  // the last part is a file name
  EXPECT_FALSE(IsExistingFolder(*env, "D:\\gone\\a.xml"));
  EXPECT_FALSE(IsExistingFolder(*env, "a.xml"));
}

TEST_F(PathHelpersOnDisk, CreatesMissingLevelsShallowestFirstAsWholeCharacters) {
  std::filesystem::create_directory(tmp.Join("d/a"));
  const std::string hyo = "D:\\a\\" + kHyo + "\\";
  ASSERT_TRUE(CreateFolderChain(*env, hyo + kSo + "\\x.xml"));
  EXPECT_EQ(env->created, (std::vector<std::string>{hyo, hyo + kSo + "\\"}));
  ASSERT_TRUE(CreateFolderChain(*env, "\\\\srv\\share\\s\\"));
  ASSERT_TRUE(CreateFolderChain(*env, "D:\\"));  // a root has no levels
  EXPECT_EQ(env->created.size(), 3u);
  EXPECT_TRUE(env->PathIsDirectory("\\\\srv\\share\\s"));
}

TEST_F(PathHelpersOnDisk, CreationNeedsARootAndRoom) {
  EXPECT_FALSE(CreateFolderChain(*env, ""));
  EXPECT_FALSE(CreateFolderChain(*env, "a\\b\\"));
  EXPECT_FALSE(CreateFolderChain(*env, "D:\\" + std::string(257, 'a') + "\\"));
  EXPECT_EQ(env->creates, 0);
  EXPECT_TRUE(CreateFolderChain(*env, "D:\\" + std::string(255, 'a') + "\\"));
}

TEST_F(PathHelpersOnDisk, FailedLevelRemovesWhatThisCallCreated) {
  const auto before = Tree();
  env->failCreate = "D:\\" + kShin + "\\sub\\";
  EXPECT_FALSE(CreateFolderChain(*env, env->failCreate));
  EXPECT_EQ(env->removed, std::vector<std::string>{"D:\\" + kShin + "\\"});
  EXPECT_EQ(Tree(), before);
}

// An empty level names the folder made just before it: that folder is still
// this call's own when a deeper level fails.
TEST_F(PathHelpersOnDisk, AnEmptyLevelAfterACreatedOneDoesNotKeepIt) {
  const auto before = Tree();
  env->failCreate = "D:\\n1\\\\n2\\";
  EXPECT_FALSE(CreateFolderChain(*env, env->failCreate));
  EXPECT_EQ(Tree(), before);
}

// Fails the k-th creation for k = 1, 2, ... until the chain no longer meets
// the fault; each failure leaves exactly what was there, and an existing
// level is never touched.
TEST_F(PathHelpersOnDisk, FaultAtEachCreationLeavesTheDiskAsItWas) {
  std::filesystem::create_directories(tmp.Join("d/keep/in"));
  const auto before = Tree();
  const std::string chain = "D:\\keep\\in\\n1\\" + kHyo + "\\n3\\";
  int faults = 0;
  for (int k = 1;; ++k) {
    env->creates = 0;
    env->failCreateAt = k;
    const bool created = CreateFolderChain(*env, chain);
    if (env->creates < k) {  // the fault never fired
      EXPECT_TRUE(created);
      break;
    }
    ++faults;
    EXPECT_FALSE(created) << "fault at creation " << k;
    EXPECT_EQ(Tree(), before) << "fault at creation " << k;
  }
  EXPECT_GT(faults, 0);
  EXPECT_TRUE(env->PathIsDirectory(chain));
  for (const std::string& path : env->removed) EXPECT_NE(path.find("\\n1\\"), std::string::npos);
}

TEST_F(PathHelpersOnDisk, RollbackComparesWithoutCaseAndStopsAtAFullFolder) {
  std::filesystem::create_directories(tmp.Join("d/a/b/c"));
  EXPECT_TRUE(RemoveCreatedFolders(*env, "d:\\a\\b\\c\\", "D:\\A\\"));
  EXPECT_EQ(env->removed, (std::vector<std::string>{"d:\\a\\b\\c\\", "d:\\a\\b\\"}));

  std::filesystem::create_directories(tmp.Join("d/a/b/c"));
  tmp.WriteFile("d/a/b/c/f", "x");
  EXPECT_FALSE(RemoveCreatedFolders(*env, "D:\\a\\b\\c\\", "D:\\"));
  EXPECT_TRUE(std::filesystem::exists(tmp.Join("d/a/b/c/f")));
}

struct RollbackCase {
  const char* name;
  std::string path, lastExisting;
};
class PathHelpersRollbackRefusal : public DiskTest,
                                   public ::testing::WithParamInterface<RollbackCase> {};
TEST_P(PathHelpersRollbackRefusal, RemovesNothing) {
  std::filesystem::create_directories(tmp.Join("d/a/b/c"));
  const auto before = Tree();
  EXPECT_FALSE(RemoveCreatedFolders(*env, GetParam().path, GetParam().lastExisting));
  EXPECT_EQ(Tree(), before);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, PathHelpersRollbackRefusal,
    ::testing::Values(RollbackCase{"OtherRoot", "D:\\a\\b\\c\\", "M:\\a\\"},
                      RollbackCase{"NotAnAncestor", "D:\\a\\b\\c\\", "D:\\x\\"},
                      RollbackCase{"DeeperThanPath", "D:\\a\\", "D:\\a\\b\\c\\"},
                      RollbackCase{"Empty", "", "D:\\"}, RollbackCase{"NoRoot", "a\\b\\", "a\\"},
                      RollbackCase{"TooLong", "D:\\a\\b\\c\\" + std::string(260, 'x'), "D:\\"}),
    NameOf);

}  // namespace
}  // namespace pv14
