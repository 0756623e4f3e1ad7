// PV14_UI: which face runs, and when a note says why not the asked one.
#include "platform/FaceChoice.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace pv14::testing {
namespace {

const Face kConsole{"console", FaceRole::kConsole};
const Face kQt{"qt", FaceRole::kDesktop};
const Face kWin32{"win32", FaceRole::kSystem};

struct ChoiceCase {
  const char* name;
  std::optional<std::string_view> setting;
  std::vector<Face> built;
  bool display;
  std::string expected;
  bool noted;
};

class FaceChoiceTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(FaceChoiceTest, Chooses) {
  const ChoiceCase& c = GetParam();
  const FaceChoice choice = ChooseFace(c.setting, c.built, c.display);
  EXPECT_EQ(choice.face, c.expected);
  EXPECT_EQ(!choice.note.empty(), c.noted) << choice.note;
  EXPECT_EQ(choice.note.find('\n'), std::string::npos);
  if (c.noted) {
    EXPECT_EQ(choice.note.rfind("PV14_UI=", 0), 0u) << choice.note;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FaceChoiceTest,
    ::testing::Values(
        ChoiceCase{"UnsetConsoleOnly", std::nullopt, {kConsole}, true, "console", false},
        ChoiceCase{"UnsetDesktopWithDisplay", std::nullopt, {kConsole, kQt}, true, "qt", false},
        ChoiceCase{
            "UnsetDesktopWithoutDisplay", std::nullopt, {kConsole, kQt}, false, "console", false},
        ChoiceCase{
            "UnsetSystemFaceWhenBuilt", std::nullopt, {kConsole, kWin32}, false, "win32", false},
        ChoiceCase{"UnsetSystemFaceBeforeDesktop",
                   std::nullopt,
                   {kQt, kConsole, kWin32},
                   true,
                   "win32",
                   false},
        ChoiceCase{"EmptyIsUnset", "", {kConsole, kQt}, true, "qt", false},
        ChoiceCase{"ConsoleAsked", "console", {kConsole, kQt, kWin32}, true, "console", false},
        ChoiceCase{"QtAskedWithDisplay", "qt", {kConsole, kQt}, true, "qt", false},
        ChoiceCase{"QtAskedWithoutDisplay", "qt", {kConsole, kQt}, false, "console", true},
        ChoiceCase{"QtAskedNotBuilt", "qt", {kConsole}, true, "console", true},
        ChoiceCase{"Win32Asked", "win32", {kConsole, kWin32}, false, "win32", false},
        ChoiceCase{"Win32AskedNotBuilt", "win32", {kConsole, kQt}, true, "console", true},
        ChoiceCase{"UnknownName", "gtk", {kConsole, kQt}, true, "console", true},
        ChoiceCase{"NamesAreExact", "Qt", {kConsole, kQt}, true, "console", true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pv14::testing
