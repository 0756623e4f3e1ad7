// The roots of Windows paths, as every part of the program reads them.
#include "platform/WindowsPath.h"

#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "tests/platform/Sj.h"

namespace pv14::testing {
namespace {

struct RootCase {
  const char* name;
  std::string path;
  std::string key;                   // RootKey
  std::optional<std::size_t> after;  // SkipRoot
  bool relative;                     // IsRelative
};

class WindowsPathTest : public ::testing::TestWithParam<RootCase> {};

TEST_P(WindowsPathTest, ReadsTheRoot) {
  const RootCase& c = GetParam();
  EXPECT_EQ(winpath::RootKey(c.path), c.key);
  EXPECT_EQ(winpath::SkipRoot(c.path), c.after);
  EXPECT_EQ(winpath::IsRelative(c.path), c.relative);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WindowsPathTest,
    ::testing::Values(RootCase{"DriveRoot", "C:\\a", "C", 3, false},
                      RootCase{"LowerCaseDrive", "z:\\", "z", 3, false},
                      RootCase{"DriveRelative", "C:a", "C", std::nullopt, false},
                      RootCase{"DriveWithSlash", "C:/a", "C", std::nullopt, false},
                      RootCase{"NoLetterBeforeTheColon", "1:\\a", "", std::nullopt, true},
                      RootCase{"Share", "\\\\srv\\share\\a", "\\\\srv\\share", 12, false},
                      RootCase{"ShareWithoutItsBackslash", "\\\\srv\\share", "\\\\srv\\share", 11,
                               false},
                      RootCase{"ServerOnly", "\\\\srv", "", std::nullopt, false},
                      RootCase{"EmptyServer", "\\\\\\share\\a", "", std::nullopt, false},
                      RootCase{"EmptyShare", "\\\\srv\\\\a", "", std::nullopt, false},
                      // 表 ends with the byte 0x5C: no separator inside a character.
                      RootCase{"DoubleByteServer", "\\\\" + Sj("表") + "\\s\\a",
                               "\\\\" + Sj("表") + "\\s", 7, false},
                      RootCase{"FolderFromTheRoot", "\\a", "", std::nullopt, false},
                      RootCase{"Relative", "a\\b", "", std::nullopt, true},
                      RootCase{"Empty", "", "", std::nullopt, true}),
    [](const auto& info) { return std::string(info.param.name); });

struct PatternCase {
  const char* name;
  std::string fileName;
  std::string pattern;
  bool matches;
};

class PatternTest : public ::testing::TestWithParam<PatternCase> {};

TEST_P(PatternTest, MatchesWholeCharacters) {
  EXPECT_EQ(winpath::MatchesPattern(GetParam().fileName, GetParam().pattern), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PatternTest,
    ::testing::Values(PatternCase{"StarTakesAnyRun", "a.env.123.tmp", "a.env.*.tmp", true},
                      PatternCase{"StarTakesNothing", "a.env..tmp", "a.env.*.tmp", true},
                      PatternCase{"OtherEnding", "a.env.123.tmpx", "a.env.*.tmp", false},
                      PatternCase{"OtherStart", "b.env.1.tmp", "a.env.*.tmp", false},
                      PatternCase{"LettersInEitherCase", "A.ENV.1.TMP", "a.env.*.tmp", true},
                      PatternCase{"QuestionTakesOneCharacter", Sj("表.tmp"), "?.tmp", true},
                      PatternCase{"QuestionTakesNotTwo", "ab.tmp", "?.tmp", false},
                      // The second byte of 表 is 0x5C, that of ソ 0x5C too: no half matches.
                      PatternCase{"NoHalfCharacter", Sj("表"), Sj("ソ"), false},
                      PatternCase{"StarsOnly", "x", "**", true},
                      PatternCase{"EmptyName", "", "*", true}),
    [](const auto& info) { return std::string(info.param.name); });

// Windows drops trailing blanks and dots of every name it is given; roots,
// "." and "..", and names of dots and blanks alone stay.
struct TrailingCase {
  const char* name;
  std::string path;
  std::string expected;
};
class TrailingTest : public ::testing::TestWithParam<TrailingCase> {};
TEST_P(TrailingTest, DropsWhatWindowsDrops) {
  EXPECT_EQ(winpath::DropTrailingDotsAndBlanks(GetParam().path), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, TrailingTest,
    ::testing::Values(TrailingCase{"Blank", "C:\\x.xml ", "C:\\x.xml"},
                      TrailingCase{"DotsAndBlanks", "C:\\x.xml. . ", "C:\\x.xml"},
                      TrailingCase{"EveryName", "C:\\dir. \\sub.\\x ", "C:\\dir\\sub\\x"},
                      TrailingCase{"InsideKept", "C:\\a b.c\\x y.xml", "C:\\a b.c\\x y.xml"},
                      TrailingCase{"DotNamesKept", "C:\\a\\.\\..\\b", "C:\\a\\.\\..\\b"},
                      TrailingCase{"OnlyDotsKept", "C:\\...\\x", "C:\\...\\x"},
                      TrailingCase{"Relative", "x.xml.", "x.xml"},
                      TrailingCase{"DriveRelative", "C:x. ", "C:x"},
                      TrailingCase{"ShareRootKept", "\\\\srv\\share\\x.", "\\\\srv\\share\\x"},
                      TrailingCase{"FolderSeparatorKept", "C:\\dir.\\", "C:\\dir\\"},
                      // 表 ends in 0x5C: the name goes on past it.
                      TrailingCase{"DoubleByteName", "C:\\" + Sj("表") + ". ", "C:\\" + Sj("表")}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pv14::testing
