// The conversions give the same bytes on every system: iconv's on Linux,
// the system's code page 932 tables on Windows.
#include "platform/Encoding.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace pv14::testing {
namespace {

struct ToCp932Case {
  const char* name;
  std::string utf8;
  std::optional<std::string> cp932;  // nullopt: refused
};

class Utf8ToCp932Test : public ::testing::TestWithParam<ToCp932Case> {};

TEST_P(Utf8ToCp932Test, Converts) { EXPECT_EQ(Utf8ToCp932(GetParam().utf8), GetParam().cp932); }

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8ToCp932Test,
    ::testing::Values(ToCp932Case{"Ascii", "A\\~", "A\\~"}, ToCp932Case{"Empty", "", ""},
                      ToCp932Case{"SecondByte5C", "表", "\x95\x5C"},
                      ToCp932Case{"HalfWidthKatakana", "ｱﾞ", "\xB1\xDE"},
                      ToCp932Case{"NecSpecial", "①", "\x87\x40"},
                      ToCp932Case{"IbmExtensionRatherThanNecSelected", "ⅰ纊", "\xFA\x40\xFA\x5C"},
                      ToCp932Case{"UserDefinedArea", "\xEE\x80\x80", "\xF0\x40"},
                      ToCp932Case{"FullWidthTilde", "～", "\x81\x60"},
                      ToCp932Case{"WaveDashAsFullWidthTilde", "〜", "\x81\x60"},
                      ToCp932Case{"MinusSignAsFullWidthHyphen", "−", "\x81\x7C"},
                      ToCp932Case{"YenSignAsBackslashByte", "¥", "\x5C"},
                      ToCp932Case{"OverlineAsTildeByte", "‾", "\x7E"},
                      ToCp932Case{"EmDashAsHorizontalBar", "—", "\x81\x5C"},
                      ToCp932Case{"DoubleVerticalLineAsParallel", "‖", "\x81\x61"},
                      ToCp932Case{"CentPoundNot", "¢£¬", "\x81\x91\x81\x92\x81\xCA"},
                      ToCp932Case{"NoShiftJisForm", "é", std::nullopt},
                      ToCp932Case{"OutsideTheBasicPlane", "\xF0\x9F\x98\x80", std::nullopt},
                      ToCp932Case{"C1Control", "\xC2\x80", std::nullopt},
                      ToCp932Case{"PrivateUseOfASingleByte", "\xEF\xA3\xB0", std::nullopt},
                      ToCp932Case{"InvalidUtf8", "a\xFF", std::nullopt},
                      ToCp932Case{"EncodedSurrogate", "\xED\xA0\x80", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct ToUtf8Case {
  const char* name;
  std::string cp932;
  std::optional<std::string> utf8;  // nullopt: refused
};

class Cp932ToUtf8Test : public ::testing::TestWithParam<ToUtf8Case> {};

TEST_P(Cp932ToUtf8Test, Converts) { EXPECT_EQ(Cp932ToUtf8(GetParam().cp932), GetParam().utf8); }

INSTANTIATE_TEST_SUITE_P(
    Cases, Cp932ToUtf8Test,
    ::testing::Values(ToUtf8Case{"Ascii", "A\\~", "A\\~"},
                      ToUtf8Case{"SecondByte5C", "\x95\x5C\x83\x5C", "表ソ"},
                      ToUtf8Case{"HalfWidthKatakana", "\xB1\xDF", "ｱﾟ"},
                      ToUtf8Case{"NecSelectedAndIbmAlike", "\xED\x40\xFA\x5C", "纊纊"},
                      ToUtf8Case{"NecRowThirteen", "\x87\x54\xFA\x4A", "ⅠⅠ"},
                      ToUtf8Case{"UserDefinedArea", "\xF0\x40", "\xEE\x80\x80"},
                      ToUtf8Case{"TrailByte80", "\x81\x80", "÷"},
                      ToUtf8Case{"Byte80", "\x80", std::nullopt},
                      ToUtf8Case{"ByteA0", "a\xA0", std::nullopt},
                      ToUtf8Case{"BytesFDToFF", "\xFD\xFE\xFF", std::nullopt},
                      ToUtf8Case{"LoneLeadByteAtTheEnd", "a\x81", std::nullopt},
                      ToUtf8Case{"LeadByteBeforeABlank", "\x81\x20", std::nullopt},
                      ToUtf8Case{"UnassignedRow", "\x85\x40", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pv14::testing
