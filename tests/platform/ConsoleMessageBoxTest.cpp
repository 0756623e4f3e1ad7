// Message boxes on the console: what is shown and how answers are read.
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/MessageBoxStyle.h"
#include "platform/Types.h"
#include "platform/console/ConsoleUi.h"
#include "tests/platform/Sj.h"

namespace pv14::testing {
namespace {

struct AnswerCase {
  const char* name;
  std::string input;
  std::uint32_t style;
  int expected;
  std::string leftUnread;  // what the box must not have consumed
};

class ConsoleMessageBoxTest : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(ConsoleMessageBoxTest, ReadsTheAnswer) {
  const AnswerCase& c = GetParam();
  std::istringstream in(c.input);
  std::ostringstream out;
  ConsoleUi ui(in, out, false);
  EXPECT_EQ(ui.MessageBox(kNoWindow, Sj("本文"), Sj("所得税"), c.style), c.expected);
  std::string rest((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(rest, c.leftUnread);
}

constexpr std::uint32_t kQuestion = kMbYesNo | kMbIconQuestion;

INSTANTIATE_TEST_SUITE_P(
    Cases, ConsoleMessageBoxTest,
    ::testing::Values(AnswerCase{"OkReadsNothing", "y\n", kMbOk | kMbIconInformation, kIdOk, "y\n"},
                      AnswerCase{"Y", "y\nnext\n", kQuestion, kIdYes, "next\n"},
                      AnswerCase{"Yes", "yes\n", kQuestion, kIdYes, ""},
                      AnswerCase{"EmptyLineIsTheDefaultYes", "\n", kQuestion, kIdYes, ""},
                      AnswerCase{"CarriageReturnLine", "\r\n", kQuestion, kIdYes, ""},
                      AnswerCase{"CaseAndBlanks", " YES \n", kQuestion, kIdYes, ""},
                      AnswerCase{"N", "n\n", kQuestion, kIdNo, ""},
                      AnswerCase{"No", "no\n", kQuestion, kIdNo, ""},
                      AnswerCase{"EndOfInputIsNo", "", kQuestion, kIdNo, ""},
                      AnswerCase{"EndOfInputAfterNonsense", "maybe\n", kQuestion, kIdNo, ""},
                      AnswerCase{"AskedAgain", "maybe\nyess\nn\nrest\n", kQuestion, kIdNo,
                                 "rest\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConsoleMessageBoxShownTest, ShowsCaptionIconAndTextInUtf8) {
  std::istringstream in;
  std::ostringstream out;
  ConsoleUi ui(in, out, false);
  ui.MessageBox(kNoWindow, Sj("ファイル名が指定されていません。"), Sj("所得税"),
                kMbOk | kMbIconExclamation);
  const std::string shown = out.str();
  EXPECT_NE(shown.find("所得税"), std::string::npos);
  EXPECT_NE(shown.find("warning"), std::string::npos);
  EXPECT_NE(shown.find("ファイル名が指定されていません。"), std::string::npos);
}

TEST(ConsoleMessageBoxShownTest, InvalidBytesAreShownAsReplacementCharacters) {
  std::istringstream in;
  std::ostringstream out;
  ConsoleUi ui(in, out, false);
  ui.MessageBox(kNoWindow,
                std::string("a\xFD"
                            "b"),
                "c", kMbOk);
  EXPECT_NE(out.str().find("a\xEF\xBF\xBD"
                           "b"),
            std::string::npos);
}

// The style decoding every face shares: the buttons in order, and what a box
// closed without a button answers.
struct StyleCase {
  const char* name;
  std::uint32_t style;
  std::vector<int> answers;
  int unanswered;
};

class MessageBoxStyleTest : public ::testing::TestWithParam<StyleCase> {};

TEST_P(MessageBoxStyleTest, GivesButtonsAndTheUnansweredAnswer) {
  const StyleCase& c = GetParam();
  EXPECT_EQ(AnswersOf(c.style), c.answers);
  EXPECT_EQ(UnansweredAnswer(c.style), c.unanswered);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MessageBoxStyleTest,
    ::testing::Values(StyleCase{"Ok", kMbOk | kMbIconInformation, {kIdOk}, kIdOk},
                      StyleCase{"OkCancel", 0x01, {kIdOk, kIdCancel}, kIdCancel},
                      StyleCase{"YesNoCancel", 0x03, {kIdYes, kIdNo, kIdCancel}, kIdCancel},
                      StyleCase{"YesNoIsNo", kMbYesNo | kMbIconQuestion, {kIdYes, kIdNo}, kIdNo},
                      StyleCase{"UnknownButtonsAreOk", 0x06, {kIdOk}, kIdOk}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MessageBoxStyleTest, IconsOfTheStyle) {
  EXPECT_EQ(IconOf(0x10), MessageIcon::kError);
  EXPECT_EQ(IconOf(kMbYesNo | kMbIconQuestion), MessageIcon::kQuestion);
  EXPECT_EQ(IconOf(kMbIconExclamation), MessageIcon::kWarning);
  EXPECT_EQ(IconOf(kMbIconInformation), MessageIcon::kInformation);
  EXPECT_EQ(IconOf(kMbOk), MessageIcon::kNone);
}

}  // namespace
}  // namespace pv14::testing
