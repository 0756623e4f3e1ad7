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

// ---------------------------------------------------------------- a desktop edit's byte limit

struct EditCase {
  const char* name;
  std::u16string before, after;
  std::size_t limit;
  std::u16string kept;
  std::size_t caret;
};

void PrintTo(const EditCase& c, std::ostream* os) { *os << c.name; }

class FitTypedChangeTest : public ::testing::TestWithParam<EditCase> {};

TEST_P(FitTypedChangeTest, KeepsTheTextWithinTheBytes) {
  const EditCase& c = GetParam();
  const TypedChange fitted = FitTypedChange(c.before, c.after, c.limit);
  EXPECT_EQ(fitted.text, c.kept);
  EXPECT_EQ(fitted.caret, c.caret);
  const auto bytes = [](std::u16string_view text) {
    return TypeIntoEdit(Utf16ToUtf8(text), std::string::npos).size();
  };
  EXPECT_LE(bytes(fitted.text), std::max(c.limit, bytes(c.before)));
}

const std::u16string k259(259, u'x');

INSTANTIATE_TEST_SUITE_P(
    Cases, FitTypedChangeTest,
    ::testing::Values(
        EditCase{"TypingWithinTheLimit", u"abc", u"abcd", 5, u"abcd", 4},
        EditCase{"DoubleByteCharacterThatFitsExactly", u"abc", u"abc\u3042", 5, u"abc\u3042", 4},
        EditCase{"DoubleByteCharacterOneByteTooMany", u"abcd", u"abcd\u3042", 5, u"abcd", 4},
        EditCase{"PasteCutAtTheLastWholeCharacter", u"ab", u"a\u3042\u3044\u3046b", 6,
                 u"a\u3042\u3044b", 3},
        EditCase{"PasteIntoTheMiddleKeepsTheRest", u"abcd", u"abXYZcd", 6, u"abXYcd", 4},
        EditCase{"ReplacingASelectionCountsWhatRemains", u"abcdef", u"aZZZZf", 5, u"aZZZf", 4},
        EditCase{"DeletingAlwaysStands", std::u16string(300, u'x'), std::u16string(299, u'x'), 255,
                 std::u16string(299, u'x'), 299},
        EditCase{"ProgramTextOverTheLimitTakesNoTyping", k259, k259 + u"y", 255, k259, 259},
        EditCase{"CharacterWithoutShiftJisFormCountsAsOneByte", u"abcd", u"abcd\U0001F600", 5,
                 u"abcd\U0001F600", 6},
        // Typing a second emoji after one whose high half is also its own:
        // the change starts at the pair, never inside it.
        EditCase{"SurrogatePairIsNeverSplit", u"ab\U0001F600", u"ab\U0001F601\U0001F600", 3,
                 u"ab\U0001F600", 2}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pv14::testing
