// Typing into a Shift_JIS edit: '?' for what code page 932 cannot hold, and
// a stop at the byte limit that never splits a double-byte character.
#include "platform/TypedText.h"

#include <string>

#include <gtest/gtest.h>

#include "tests/platform/Sj.h"

namespace pv14::testing {
namespace {

struct TypedCase {
  const char* name;
  std::string utf8;
  std::size_t limit;
  std::string expected;  // Shift_JIS
};

class TypeIntoEditTest : public ::testing::TestWithParam<TypedCase> {};

TEST_P(TypeIntoEditTest, GivesWhatTheEditHolds) {
  const TypedCase& c = GetParam();
  std::string typed = TypeIntoEdit(c.utf8, c.limit);
  EXPECT_EQ(typed, c.expected);
  EXPECT_LE(typed.size(), c.limit);
}

const std::string k255(255, 'a');

INSTANTIATE_TEST_SUITE_P(
    Cases, TypeIntoEditTest,
    ::testing::Values(TypedCase{"AsciiKept", "Z:\\out\\a.xml", 255, "Z:\\out\\a.xml"},
                      TypedCase{"JapaneseInShiftJis", "Z:\\表\\ソ.xml", 255, Sj("Z:\\表\\ソ.xml")},
                      TypedCase{"HalfWidthKanaIsOneByte", "ｱｲ", 2, Sj("ｱｲ")},
                      TypedCase{"EmojiBecomesQuestionMark", "a\xF0\x9F\x98\x80z", 255, "a?z"},
                      TypedCase{"HangulBecomesQuestionMark", "\xED\x95\x9C.xml", 255, "?.xml"},
                      TypedCase{"BrokenUtf8BytesBecomeQuestionMarks", "a\xFF\xC3z", 255, "a??z"},
                      TypedCase{"StopsAtTheLimit", k255 + "bcd", 255, k255},
                      TypedCase{"ExactlyTheLimit", k255, 255, k255},
                      TypedCase{"DoubleByteThatWouldCrossTheLimitIsLeftOut",
                                std::string(254, 'a') + "表", 255, std::string(254, 'a')},
                      TypedCase{"DoubleByteEndingAtTheLimitIsKept", std::string(253, 'a') + "表",
                                255, std::string(253, 'a') + Sj("表")},
                      TypedCase{"ReplacementCountsOneByte",
                                std::string(254, 'a') + "\xF0\x9F\x98\x80" + "b", 255,
                                std::string(254, 'a') + "?"},
                      TypedCase{"ZeroLimitHoldsNothing", "abc", 0, ""},
                      TypedCase{"EmptyStaysEmpty", "", 255, ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pv14::testing
