#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "report/ReportWriter.h"

namespace pv14 {
namespace {

TEST(ValueTextTest, AmountIsWholeYenTruncatedTowardZeroAndEmptyForZero) {
  const struct {
    std::int64_t stored;
    const char* text;
  } cases[] = {
      {1234567890000, "123456789"},
      {99990, "9"},
      {-25000, "-2"},
      {5000, ""},
      {-9999, ""},
      {0, ""},
      {123450000, "12345"},
      {-5000000, "-500"},
      {std::numeric_limits<std::int64_t>::max(), "922337203685477"},
      {std::numeric_limits<std::int64_t>::min(), "-922337203685477"},
  };
  for (const auto& c : cases) EXPECT_EQ(ReportWriter::AmountText(c.stored), c.text) << c.stored;
}

TEST(ValueTextTest, CountIsDecimalAndEmptyForZero) {
  EXPECT_EQ(ReportWriter::CountText(0), "");
  EXPECT_EQ(ReportWriter::CountText(12), "12");
  EXPECT_EQ(ReportWriter::CountText(-3), "-3");
  EXPECT_EQ(ReportWriter::CountText(std::numeric_limits<std::int32_t>::min()), "-2147483648");
}

struct FitCase {
  const char* name;
  std::string text;
  std::int16_t max;
  std::string expected;
};

class ValueTextFitTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(ValueTextFitTest, CutsWithoutSplittingACharacter) {
  const FitCase& c = GetParam();
  std::string out = "previous";
  EXPECT_EQ(ReportWriter::FitText(c.text, out, c.max), 1);
  EXPECT_EQ(out, c.expected);
}

// 0x82 0xA0 is one double-byte character; 0x81 0x81 is another whose second
// byte lies in the lead-byte range; 0xB1 is a half-width katakana.
INSTANTIATE_TEST_SUITE_P(
    Cases, ValueTextFitTest,
    ::testing::Values(
        FitCase{"ShorterTextWhole", "abc", 30, "abc"},
        FitCase{"ExactLengthWhole", std::string(12, 'u'), 12, std::string(12, 'u')},
        FitCase{"SingleBytesCutAtMax", std::string(35, 'a'), 30, std::string(30, 'a')},
        FitCase{"CharacterAcrossTheLimitLeftOut", std::string(29, 'a') + "\x82\xA0" + "zz", 30,
                std::string(29, 'a')},
        FitCase{"CharacterEndingAtTheLimitKept", std::string(28, 'a') + "\x82\xA0" + "zz", 30,
                std::string(28, 'a') + "\x82\xA0"},
        FitCase{"ClassifiedFromTheFirstByte",
                "\x81\x81"
                "ABC",
                2, "\x81\x81"},
        FitCase{"LeadByteWithoutTrailIsSingle", "ab\x81 cd", 3, "ab\x81"},
        FitCase{"HalfWidthKatakanaIsSingle", "\xB1\xB2\xB3", 2, "\xB1\xB2"},
        FitCase{"ZeroMaxIsEmpty", "abc", 0, ""}, FitCase{"NegativeMaxIsEmpty", "abc", -1, ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct AreaCase {
  const char* name;
  std::int64_t stored;
  int decimals;
  std::size_t size;
  std::string expected;
};

class ValueTextAreaTest : public ::testing::TestWithParam<AreaCase> {};

TEST_P(ValueTextAreaTest, RoundsHalfAwayFromZero) {
  const AreaCase& c = GetParam();
  std::string out = "unchanged";
  ReportWriter::FormatArea(c.stored, out, c.size, c.decimals);
  EXPECT_EQ(out, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ValueTextAreaTest,
    ::testing::Values(AreaCase{"TwoDecimals", 1234500, 2, 128, "123.45"},
                      AreaCase{"HalfRoundsUp", 1234550, 2, 128, "123.46"},
                      AreaCase{"Tiny", 5, 2, 128, "0.00"},
                      AreaCase{"Negative", -15000, 2, 128, "-1.50"},
                      AreaCase{"NegativeToZeroLosesSign", -10, 2, 128, "0.00"},
                      AreaCase{"Hundred", 1000000, 2, 128, "100.00"},
                      AreaCase{"HalfMetre", 1505000, 2, 128, "150.50"},
                      AreaCase{"ThirdDecimalRounds", 1234567, 2, 128, "123.46"},
                      AreaCase{"CarryIntoInteger", 99995, 2, 128, "10.00"},
                      AreaCase{"NegativeCarry", -99995, 2, 128, "-10.00"},
                      AreaCase{"NoDecimals", 1235000, 0, 128, "124"},
                      AreaCase{"Lowest", std::numeric_limits<std::int64_t>::min(), 2, 128,
                               "-922337203685477.58"},
                      AreaCase{"TextJustFits", 1234500, 2, 7, "123.45"},
                      AreaCase{"TextDoesNotFit", 1234500, 2, 6, "unchanged"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pv14
