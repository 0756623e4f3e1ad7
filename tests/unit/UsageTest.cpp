// --help and --version: answered from the command line alone, and only when
// it is one of them; every other command line is the caller's.
#include "app/Usage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fakes/TestEdition.h"

namespace pv14 {
namespace {

struct UsageCase {
  const char* name;
  const char* commandLine;
  std::vector<std::string> shows;  // empty: not answered
};

class UsageTest : public ::testing::TestWithParam<UsageCase> {};

TEST_P(UsageTest, AnswersOnlyHelpAndVersion) {
  const UsageCase& c = GetParam();
  const auto text = InformationRequested(c.commandLine, testing::TestEdition());
  ASSERT_EQ(text.has_value(), !c.shows.empty());
  for (const std::string& part : c.shows) EXPECT_NE(text->find(part), std::string::npos) << part;
  if (text) {
    EXPECT_EQ(text->find("PROGRAM"), std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UsageTest,
    ::testing::Values(UsageCase{"Version", "--version", {"TestEdition19ToPv14 19.00.00\n"}},
                      UsageCase{"HelpGivesFormCommandsEnvironmentAndStatuses",
                                "--help",
                                {"TestEdition19ToPv14 [WINDOW,MESSAGE,FUNCTION,[OUTPUT PATH]]",
                                 "browse [TEXT]", "LEDGER_ENGINE_DB", "PV14_DRIVES",
                                 "0 done, 1 cancelled, 2 failed"}},
                      UsageCase{"BlanksAroundAreAllowed", "  --help\t", {"Usage:"}},
                      UsageCase{"CallersLineIsNoRequest", "1234,1025,7,Z:\\out.xml", {}},
                      UsageCase{"HelpWithMoreIsNoRequest", "--help 1", {}},
                      UsageCase{"OtherSpellingIsNoRequest", "-h", {}},
                      UsageCase{"EmptyIsNoRequest", "", {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pv14
