// The resource script the Windows build compiles dialogs 130 and 131 from:
// every field of a template in its place, every text as UTF-16 escapes that
// no resource compiler can read another way.
#include "resources/win32/ResourceScript.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/platform/Sj.h"

namespace pv14::testing {
namespace {

struct ScriptCase {
  const char* name;
  DialogTemplate dialog;
  std::vector<ResourceString> strings;
  std::vector<std::string> expectedLines;  // in this order, among the script's
};

void PrintTo(const ScriptCase& c, std::ostream* os) { *os << c.name; }

DialogTemplate Dialog(int id, std::string caption, std::uint32_t exStyle,
                      std::vector<ControlTemplate> controls) {
  return DialogTemplate{id,
                        std::move(caption),
                        100,
                        50,
                        Sj("ＭＳ Ｐゴシック"),
                        9,
                        style::kPopup | style::kCaption,
                        exStyle,
                        std::move(controls),
                        {}};
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

class ResourceScriptTest : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(ResourceScriptTest, WritesTheLinesInOrder) {
  const ScriptCase& c = GetParam();
  const DialogTemplate* dialogs[] = {&c.dialog};
  const auto script = ResourceScript(dialogs, c.strings);
  ASSERT_TRUE(script.has_value());
  const std::vector<std::string> lines = Lines(*script);
  EXPECT_EQ(lines.front(), "LANGUAGE 0x11, 0x01");  // Japanese resources
  auto at = lines.begin();
  for (const std::string& expected : c.expectedLines) {
    auto found = std::find(at, lines.end(), expected);
    ASSERT_NE(found, lines.end()) << "missing or out of order: " << expected << "\n" << *script;
    at = found + 1;
  }
}

const char kFont[] = R"(L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF")";

INSTANTIATE_TEST_SUITE_P(
    Cases, ResourceScriptTest,
    ::testing::Values(
        ScriptCase{"ExtendedStylesMakeAnExtendedTemplateWithItsCharset",
                   Dialog(130, Sj("所得税"), style::kExAppWindow, {}),
                   {},
                   {"130 DIALOGEX 0, 0, 100, 50", "STYLE 0x80C00040", "EXSTYLE 0x00040000",
                    R"(CAPTION L"\x6240\x5F97\x7A0E")",
                    std::string("FONT 9, ") + kFont + ", 0, 0, 128", "BEGIN", "END"}},
        ScriptCase{"NoExtendedStylesMakeAClassicTemplate",
                   Dialog(131, "Busy", 0, {}),
                   {},
                   {"131 DIALOG 0, 0, 100, 50", "STYLE 0x80C00040", R"(CAPTION L"Busy")",
                    std::string("FONT 9, ") + kFont}},
        ScriptCase{"EachKindHasItsClassAndStyleBesideChildAndVisible",
                   Dialog(130, "D", style::kExAppWindow,
                          {{1, ControlKind::kStatic, "s", 1, 2, 3, 4, style::kCenterImage},
                           {2, ControlKind::kGroupBox, "g", 5, 6, 7, 8, 0},
                           {3, ControlKind::kRadioButton, "r", 9, 10, 11, 12, style::kTabStop},
                           {4, ControlKind::kPushButton, "p", 13, 14, 15, 16, style::kGroup},
                           {5, ControlKind::kEdit, "", 17, 18, 19, 20, style::kAutoHScroll},
                           {6, ControlKind::kProgressBar, "b", 21, 22, 23, 24, style::kSmooth}}),
                   {},
                   {R"(  CONTROL L"s", 1, "STATIC", 0x50000200, 1, 2, 3, 4)",
                    R"(  CONTROL L"g", 2, "BUTTON", 0x50000007, 5, 6, 7, 8)",
                    R"(  CONTROL L"r", 3, "BUTTON", 0x50010009, 9, 10, 11, 12)",
                    R"(  CONTROL L"p", 4, "BUTTON", 0x50020000, 13, 14, 15, 16)",
                    R"(  CONTROL L"", 5, "EDIT", 0x50000080, 17, 18, 19, 20)",
                    R"(  CONTROL L"b", 6, "msctls_progress32", 0x50000001, 21, 22, 23, 24)"}},
        ScriptCase{"QuotesBackslashesAndHexDigitsAfterAnEscapeAreEscaped",
                   Dialog(130, Sj("\"a\\b\" 実1f(&F)"), 0, {}),
                   {},
                   {R"x(CAPTION L"\x0022\x0061\x005C\x0062\x0022 \x5B9F\x0031\x0066(&F)")x"}},
        ScriptCase{"HalfWidthKatakanaAndTheWaveDashAreTheirUnicodeCharacters",
                   Dialog(130, Sj("ｶﾅ～x"), 0, {}),
                   {},
                   {R"(CAPTION L"\xFF76\xFF85\xFF5Ex")"}},
        ScriptCase{"StringsMakeOneTable",
                   Dialog(130, "D", 0, {}),
                   {{1, "19.00.00"}, {7, Sj("所得税")}},
                   {"STRINGTABLE", "BEGIN", R"(  1, L"19.00.00")", R"(  7, L"\x6240\x5F97\x7A0E")",
                    "END"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResourceScriptRefusal, RefusesATextThatIsNotShiftJis) {
  const DialogTemplate bad = Dialog(130, std::string("\x81", 1), 0, {});
  const DialogTemplate* dialogs[] = {&bad};
  EXPECT_FALSE(ResourceScript(dialogs, {}).has_value());
  const DialogTemplate good = Dialog(130, "D", 0, {});
  const DialogTemplate* goodDialogs[] = {&good};
  const ResourceString badString[] = {{1, std::string("\xFF\xFF", 2)}};
  EXPECT_FALSE(ResourceScript(goodDialogs, badString).has_value());
}

}  // namespace
}  // namespace pv14::testing
