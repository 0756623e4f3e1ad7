// Message boxes on the console: what is shown and how answers are read.
#include <sstream>
#include <string>

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace pv14::testing
