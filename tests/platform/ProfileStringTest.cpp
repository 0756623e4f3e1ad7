// Profile strings read the way Windows reads them, from files through the
// POSIX Env (the definition file's cases) and from texts directly.
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/posix/PosixEnv.h"
#include "platform/posix/ProfileString.h"
#include "tests/platform/Sj.h"
#include "tests/support/TempDir.h"

namespace pv14::testing {
namespace {

struct FileCase {
  const char* name;
  std::optional<std::string> contents;  // nullopt: no file
  std::string expected;                 // section ProgramLevel, key PV14, default "1", size 16
};

class DefinitionFileTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(DefinitionFileTest, ReadsProgramLevel) {
  TempDir dir("profile");
  auto env = NewPosixEnv(*DriveTable::Parse("K=" + dir.path(), nullptr));
  if (GetParam().contents) dir.WriteFile("KurodaiDef.ini", *GetParam().contents);
  EXPECT_EQ(env->GetPrivateProfileString("ProgramLevel", "PV14", "1", "K:\\KurodaiDef.ini", 16),
            GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DefinitionFileTest,
    ::testing::Values(
        FileCase{"MissingFile", std::nullopt, "1"},
        FileCase{"MissingSection", "[Other]\r\nPV14=2\r\n", "1"},
        FileCase{"MissingKey", "[ProgramLevel]\r\nPV13=2\r\n", "1"},
        FileCase{"PresentEmptyValue", "[ProgramLevel]\r\nPV14=\r\n", ""},
        FileCase{"One", "[ProgramLevel]\r\nPV14=1\r\n", "1"},
        FileCase{"LeadingZero", "[ProgramLevel]\r\nPV14=01\r\n", "01"},
        FileCase{"LeadingBlankTrimmed", "[ProgramLevel]\r\nPV14= 1\r\n", "1"},
        FileCase{"Decimal", "[ProgramLevel]\r\nPV14=1.9\r\n", "1.9"},
        FileCase{"OverLongCutAtSizeLessOne", "[ProgramLevel]\r\nPV14=12345678901234567890\r\n",
                 "123456789012345"},
        FileCase{"CutNeverSplitsADoubleByteCharacter",
                 "[ProgramLevel]\r\nPV14=12345678901234" + Sj("表") + "\r\n", "12345678901234"},
        FileCase{"LineFeedsOnlyAndNoFinalLineEnd", "[ProgramLevel]\nPV14=2", "2"},
        FileCase{"CaseAndBlanksIgnored", "  [ programlevel ]\r\n  pv14 =  3 \r\n", "3"},
        FileCase{"DoubleQuotesRemoved", "[ProgramLevel]\r\nPV14=\" 4 \"\r\n", " 4 "},
        FileCase{"CommentLineSkipped", "[ProgramLevel]\r\n;PV14=5\r\n", "1"},
        FileCase{"KeyOfAnotherSection", "[ProgramLevel]\r\nX=1\r\n[Next]\r\nPV14=6\r\n", "1"},
        FileCase{"RepeatedSection", "[ProgramLevel]\r\n[Other]\r\n[PROGRAMLEVEL]\r\nPV14=7\r\n",
                 "7"},
        FileCase{"FirstOfTwoKeys", "[ProgramLevel]\r\nPV14=8\r\nPV14=9\r\n", "8"}),
    [](const auto& info) { return std::string(info.param.name); });

struct ResultCase {
  const char* name;
  std::optional<std::string> value;
  std::string def;
  std::size_t size;
  std::string expected;
};

class ProfileResultTest : public ::testing::TestWithParam<ResultCase> {};

TEST_P(ProfileResultTest, FallsBackAndCuts) {
  const ResultCase& c = GetParam();
  EXPECT_EQ(ProfileResult(c.value, c.def, c.size), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileResultTest,
    ::testing::Values(ResultCase{"DefaultLosesTrailingBlanks", std::nullopt, "1  ", 16, "1"},
                      ResultCase{"ValueKeepsItsText", "a ", "1", 16, "a "},
                      ResultCase{"DefaultCutToo", std::nullopt, "abcdef", 4, "abc"},
                      ResultCase{"SizeZeroGivesNothing", "abc", "1", 0, ""},
                      ResultCase{"SizeOneGivesNothing", "abc", "1", 1, ""},
                      ResultCase{"DoubleByteAtTheEdge", Sj("表表"), "", 4, Sj("表")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileValueTest, KeyLineWithoutEqualsIsPresentAndEmpty) {
  EXPECT_EQ(FindProfileValue("[S]\nflag\n", "S", "flag"), std::string());
  EXPECT_EQ(FindProfileValue("[S]\nflag\n", "S", "other"), std::nullopt);
}

TEST(ProfileValueTest, DoubleByteNamesCompareExactlyExceptAsciiCase) {
  // ア (0x8341) and ヂ (0x8361) differ only in a second byte that looks like a letter.
  std::string contents = "[" + Sj("ヂ") + "]\nKEY=1\n";
  EXPECT_EQ(FindProfileValue(contents, Sj("ヂ"), "key"), "1");
  EXPECT_EQ(FindProfileValue(contents, Sj("ア"), "key"), std::nullopt);
}

}  // namespace
}  // namespace pv14::testing
