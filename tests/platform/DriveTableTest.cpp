// The drive table: parsing PV14_DRIVES and mapping paths both ways.
#include "platform/DriveTable.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/platform/Sj.h"

namespace pv14::testing {
namespace {

struct ParseCase {
  const char* name;
  std::string text;
  std::vector<DriveTable::Entry> expected;  // empty with ok false: an error
  bool ok = true;
};

class DriveTableParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(DriveTableParse, ReadsEntriesOrRefuses) {
  const ParseCase& c = GetParam();
  std::string error;
  auto table = DriveTable::Parse(c.text, &error);
  if (!c.ok) {
    EXPECT_FALSE(table.has_value());
    EXPECT_FALSE(error.empty());
    return;
  }
  ASSERT_TRUE(table.has_value()) << error;
  ASSERT_EQ(table->Entries().size(), c.expected.size());
  for (std::size_t i = 0; i < c.expected.size(); ++i) {
    EXPECT_EQ(table->Entries()[i].key, c.expected[i].key);
    EXPECT_EQ(table->Entries()[i].posixRoot, c.expected[i].posixRoot);
    EXPECT_EQ(table->Entries()[i].type, c.expected[i].type);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DriveTableParse,
    ::testing::Values(ParseCase{"DefaultForm", "Z=/", {{"Z", "/", DriveType::kFixed}}},
                      ParseCase{"LetterAndShareWithTypes",
                                "C=/home/me,removable;\\\\srv\\share=/mnt/share,remote",
                                {{"C", "/home/me", DriveType::kRemovable},
                                 {"\\\\srv\\share", "/mnt/share", DriveType::kRemote}}},
                      ParseCase{
                          "BlanksEmptyEntriesAndTrailingSlashes",
                          " D = /data// ;; E=/x/./y/ ;",
                          {{"D", "/data", DriveType::kFixed}, {"E", "/x/y", DriveType::kFixed}}},
                      ParseCase{"OnlySeparators", ";;;", {}, false},
                      ParseCase{"OnlyBlanksAndSeparators", " ; ;", {}, false},
                      ParseCase{"CommaInFolderWithTypeWritten",
                                "F=/mnt/a,b,cdrom",
                                {{"F", "/mnt/a,b", DriveType::kCdRom}}},
                      ParseCase{"AllTypeNames",
                                "A=/a,fixed;B=/b,ramdisk;U=/u,unknown",
                                {{"A", "/a", DriveType::kFixed},
                                 {"B", "/b", DriveType::kRamDisk},
                                 {"U", "/u", DriveType::kUnknown}}},
                      ParseCase{"EmptyText", "", {}}, ParseCase{"NoEquals", "Z", {}, false},
                      ParseCase{"RelativeFolder", "Z=home", {}, false},
                      ParseCase{"TwoLetters", "ZZ=/x", {}, false},
                      ParseCase{"ShareWithoutShareName", "\\\\srv=/x", {}, false},
                      ParseCase{"ShareWithEmptyServer", "\\\\\\share=/x", {}, false},
                      ParseCase{"UnknownType", "Z=/x,floppy", {}, false},
                      ParseCase{"SameLetterTwice", "Z=/a;z=/b", {}, false},
                      ParseCase{"MissingKey", "=/x", {}, false}),
    [](const auto& info) { return std::string(info.param.name); });

const DriveTable& Table() {
  static const DriveTable table =
      *DriveTable::Parse("Z=/;C=/home/me;\\\\srv\\share=/mnt/share,remote", nullptr);
  return table;
}

struct MapCase {
  const char* name;
  std::string from;
  std::optional<std::string> to;
};

class DriveTableToPosix : public ::testing::TestWithParam<MapCase> {};

TEST_P(DriveTableToPosix, MapsThroughTheTable) {
  EXPECT_EQ(Table().ToPosix(GetParam().from), GetParam().to);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DriveTableToPosix,
    ::testing::Values(MapCase{"DefaultRoot", "Z:\\home\\me\\out.xml", "/home/me/out.xml"},
                      MapCase{"OwnFolder", "C:\\out.xml", "/home/me/out.xml"},
                      MapCase{"LowerCaseLetterAndTrailingSeparator", "c:\\Sub\\", "/home/me/Sub"},
                      MapCase{"DriveRoot", "C:\\", "/home/me"},
                      MapCase{"ForwardSlashes", "C:/a/b", "/home/me/a/b"},
                      MapCase{"DotDotStopsAtTheRoot", "C:\\a\\..\\..\\b", "/home/me/b"},
                      MapCase{"UnknownLetter", "D:\\x", std::nullopt},
                      MapCase{"DriveRelative", "C:x", std::nullopt},
                      MapCase{"BareDrive", "C:", std::nullopt},
                      MapCase{"Relative", "x\\y", std::nullopt},
                      MapCase{"Share", "\\\\srv\\share\\a\\b.xml", "/mnt/share/a/b.xml"},
                      MapCase{"ShareRootAnyCase", "\\\\SRV\\Share", "/mnt/share"},
                      MapCase{"UnknownShare", "\\\\other\\share\\a", std::nullopt},
                      MapCase{"ServerOnly", "\\\\srv", std::nullopt},
                      MapCase{"SecondByte5CIsNoSeparator", "C:\\" + Sj("表") + "\\" + Sj("ソ"),
                              "/home/me/表/ソ"},
                      MapCase{"ShareWith5CSecondByte", "\\\\srv\\share\\" + Sj("予定表") + "\\x",
                              "/mnt/share/予定表/x"}),
    [](const auto& info) { return std::string(info.param.name); });

class DriveTableToWindows : public ::testing::TestWithParam<MapCase> {};

TEST_P(DriveTableToWindows, MapsThroughTheLongestRoot) {
  EXPECT_EQ(Table().ToWindows(GetParam().from), GetParam().to);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DriveTableToWindows,
    ::testing::Values(MapCase{"LongestRootWins", "/home/me/out.xml", "C:\\out.xml"},
                      MapCase{"OtherFolder", "/etc/x", "Z:\\etc\\x"},
                      MapCase{"SystemRoot", "/", "Z:\\"}, MapCase{"ExactRoot", "/home/me", "C:\\"},
                      MapCase{"NameThatOnlyStartsLikeARoot", "/home/mex", "Z:\\home\\mex"},
                      MapCase{"Share", "/mnt/share/a", "\\\\srv\\share\\a"},
                      MapCase{"ShareRoot", "/mnt/share", "\\\\srv\\share\\"},
                      MapCase{"Normalised", "/home//me/./a/../b", "C:\\b"},
                      MapCase{"JapaneseName", "/home/me/表", "C:\\" + Sj("表")},
                      MapCase{"Relative", "home/me", std::nullopt},
                      MapCase{"BackslashInsideAName", "/home/me/a\\b", std::nullopt},
                      MapCase{"NoShiftJisForm", "/home/me/\xF0\x9F\x98\x80", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DriveTableTest, PathsOutsideEveryRootHaveNoWindowsForm) {
  auto table = DriveTable::Parse("C=/home/me", nullptr);
  ASSERT_TRUE(table);
  EXPECT_EQ(table->ToWindows("/etc/passwd"), std::nullopt);
}

TEST(DriveTableTest, WindowsPathsSurviveTheRoundTrip) {
  const std::vector<std::string> paths = {
      "C:\\",
      "C:\\out.xml",
      "Z:\\tmp\\a b\\c.xml",
      "C:\\" + Sj("新しいフォルダ") + "\\" + Sj("表") + ".xml",
      "\\\\srv\\share\\" + Sj("ソフト") + "\\x",
  };
  for (const auto& path : paths) {
    auto posix = Table().ToPosix(path);
    ASSERT_TRUE(posix) << path;
    EXPECT_EQ(Table().ToWindows(*posix), path) << *posix;
  }
}

TEST(DriveTableTest, FindsLettersAndSharesWithoutRegardToCase) {
  ASSERT_NE(Table().Find("c:\\x"), nullptr);
  EXPECT_EQ(Table().Find("c:\\x")->key, "C");
  ASSERT_NE(Table().Find("\\\\SRV\\SHARE\\x"), nullptr);
  EXPECT_EQ(Table().Find("\\\\SRV\\SHARE\\x")->type, DriveType::kRemote);
  EXPECT_EQ(Table().Find("Q:\\"), nullptr);
  EXPECT_EQ(Table().Find("relative"), nullptr);
}

}  // namespace
}  // namespace pv14::testing
