// The process's command line as the program takes it: the program's name
// skipped by the runtime library's rule, the rest in code page 932 with '?'
// for what has no form there, so one such character never costs the
// caller's window and message.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/CommandLineText.h"
#include "tests/platform/Sj.h"

namespace pv14::testing {
namespace {

struct CommandLineCase {
  const char* name;
  std::wstring whole;
  std::string arguments;
};

class CommandLineTextTest : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineTextTest, IsWhatAnAnsiProgramReceives) {
  EXPECT_EQ(win32::CommandLineArguments(GetParam().whole), GetParam().arguments);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineTextTest,
    ::testing::Values(CommandLineCase{"Plain", L"x.exe 1234,32768,5,C:\\out\\r.xml",
                                      "1234,32768,5,C:\\out\\r.xml"},
                      CommandLineCase{"QuotedNameWithBlanks",
                                      L"\"C:\\Program Files\\x.exe\"   1,2,3 ", "1,2,3 "},
                      CommandLineCase{"UnclosedQuote", L"\"C:\\x.exe 1,2,3", ""},
                      CommandLineCase{"NameAlone", L"x.exe", ""},
                      CommandLineCase{"BlanksAlone", L"x.exe  \t ", ""},
                      CommandLineCase{"JapaneseFolder", L"x.exe 1,2,3,C:\\\u8868\\r.xml",
                                      "1,2,3,C:\\" + Sj("表") + "\\r.xml"},
                      CommandLineCase{"NoFormBecomesAQuestionMark",
                                      L"x.exe 1,2,3,C:\\caf\u00e9\\r.xml", "1,2,3,C:\\caf?\\r.xml"},
                      CommandLineCase{"EveryUnfitCharacterAlone",
                                      L"x.exe 1,2,3,C:\\\u0100\u0101.xml", "1,2,3,C:\\??.xml"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pv14::testing
