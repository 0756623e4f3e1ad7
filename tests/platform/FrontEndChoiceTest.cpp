// PV14_UI: which front end runs, and when a note says why not the asked one.
#include "platform/console/FrontEndChoice.h"

#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace pv14::testing {
namespace {

struct ChoiceCase {
  const char* name;
  std::optional<std::string_view> setting;
  bool buildHasDesktop;
  FrontEnd expected;
  bool noted;
};

class FrontEndChoiceTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(FrontEndChoiceTest, Chooses) {
  const ChoiceCase& c = GetParam();
  FrontEndChoice choice = ChooseFrontEnd(c.setting, c.buildHasDesktop);
  EXPECT_EQ(choice.frontEnd, c.expected);
  EXPECT_EQ(!choice.note.empty(), c.noted) << choice.note;
  EXPECT_EQ(choice.note.find('\n'), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FrontEndChoiceTest,
    ::testing::Values(
        ChoiceCase{"UnsetWithoutDesktop", std::nullopt, false, FrontEnd::kConsole, false},
        ChoiceCase{"UnsetWithDesktop", std::nullopt, true, FrontEnd::kDesktop, false},
        ChoiceCase{"EmptyIsUnset", "", false, FrontEnd::kConsole, false},
        ChoiceCase{"Console", "console", true, FrontEnd::kConsole, false},
        ChoiceCase{"QtWithDesktop", "qt", true, FrontEnd::kDesktop, false},
        ChoiceCase{"QtWithoutDesktopFallsBack", "qt", false, FrontEnd::kConsole, true},
        ChoiceCase{"UnknownFallsBack", "gtk", true, FrontEnd::kConsole, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pv14::testing
