// The full-width mapping of a Japanese system's LCMapString.
#include "platform/posix/FullWidth.h"

#include <string>

#include <gtest/gtest.h>

#include "platform/ShiftJis.h"
#include "tests/platform/Sj.h"

namespace pv14::testing {
namespace {

struct WidthCase {
  const char* name;
  std::string from;
  std::string to;
};

class FullWidthTest : public ::testing::TestWithParam<WidthCase> {};

TEST_P(FullWidthTest, Maps) { EXPECT_EQ(MapToFullWidth(GetParam().from), GetParam().to); }

INSTANTIATE_TEST_SUITE_P(
    Cases, FullWidthTest,
    ::testing::Values(WidthCase{"Letters", "Az", Sj("Ａｚ")}, WidthCase{"Digits", "09", Sj("０９")},
                      WidthCase{"Blank", " ", "\x81\x40"},
                      WidthCase{"BackslashIsTheYenSign", "\\", "\x81\x8F"},
                      WidthCase{"Quotes", "\"'", Sj("”’")},
                      WidthCase{"Symbols", "!#$%&()*+,-./:;<=>?@[]^_`{|}~",
                                Sj("！＃＄％＆（）＊＋，－．／：；＜＝＞？＠［］＾＿｀｛｜｝～")},
                      WidthCase{"Katakana", Sj("ｱｲｳｴｵﾝｦｯｬｰ"), Sj("アイウエオンヲッャー")},
                      WidthCase{"Punctuation", Sj("｡｢｣､･"), Sj("。「」、・")},
                      WidthCase{"VoicedCombined", Sj("ｶﾞｻﾞﾀﾞﾂﾞﾄﾞﾊﾞ"), Sj("ガザダヅドバ")},
                      WidthCase{"SemiVoicedCombined", Sj("ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ"), Sj("パピプペポ")},
                      WidthCase{"VoicedU", Sj("ｳﾞ"), Sj("ヴ")},
                      WidthCase{"MarkWithoutACombinedForm", Sj("ｱﾞﾜﾞｶﾟ"), Sj("ア゛ワ゛カ゜")},
                      WidthCase{"MarksAlone", Sj("ﾞﾟ"), Sj("゛゜")},
                      WidthCase{"DoubleByteUnchanged", Sj("表示ソ株式会社"), Sj("表示ソ株式会社")},
                      WidthCase{"Mixed", Sj("ｶﾌﾞｼｷｶﾞｲｼｬ ABC表"), Sj("カブシキガイシャ　ＡＢＣ表")},
                      WidthCase{"ControlsAndInvalidBytesKept", std::string("\t\x80\xA0\xFD\x81", 5),
                                std::string("\t\x80\xA0\xFD\x81", 5)},
                      WidthCase{"Empty", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FullWidthPropertyTest, EverySingleByteCharacterBecomesOneDoubleByteCharacter) {
  for (int c = 0x20; c <= 0xDF; ++c) {
    if (c >= 0x7F && c < 0xA1) continue;
    std::string mapped = MapToFullWidth(std::string(1, static_cast<char>(c)));
    ASSERT_EQ(mapped.size(), 2u) << std::hex << c;
    EXPECT_EQ(sjis::CharLength(mapped, 0), 2u) << std::hex << c;
  }
}

}  // namespace
}  // namespace pv14::testing
