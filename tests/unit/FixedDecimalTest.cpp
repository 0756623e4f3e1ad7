#include "report/FixedDecimal.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace pv14 {
namespace {

using Mode = FixedDecimal::RoundMode;

// Signed value in 1/10000, as FixedDecimal holds it.
std::int64_t Scaled(const FixedDecimal& d) {
  const auto magnitude = static_cast<std::int64_t>(d.IntegerPart() * 10000 + d.Fraction());
  return d.Sign() < 0 ? -magnitude : magnitude;
}

struct RoundCase {
  const char* name;
  std::int64_t stored;
  int mode;
  int position;
  std::int64_t expected;
};

class FixedDecimalRoundTest : public ::testing::TestWithParam<RoundCase> {};

TEST_P(FixedDecimalRoundTest, RoundsTheMagnitude) {
  const RoundCase& c = GetParam();
  FixedDecimal d = FixedDecimal::FromStored(c.stored);
  ASSERT_TRUE(d.Round(c.mode, c.position));
  EXPECT_EQ(Scaled(d), c.expected);
  EXPECT_EQ(d.Sign(), c.expected < 0 ? -1 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, FixedDecimalRoundTest,
    ::testing::Values(
        RoundCase{"HalfUpWholeYen", 12345000, Mode::kHalfUp, 1, 12350000},
        RoundCase{"HalfUpJustBelowHalf", 12344999, Mode::kHalfUp, 1, 12340000},
        RoundCase{"HalfUpNegativeAwayFromZero", -12345000, Mode::kHalfUp, 1, -12350000},
        RoundCase{"HalfUpNegativeBelowHalf", -12344999, Mode::kHalfUp, 1, -12340000},
        RoundCase{"HalfUpCarriesIntoInteger", 99995000, Mode::kHalfUp, 1, 100000000},
        RoundCase{"NegativeToZeroLosesSign", -4999, Mode::kHalfUp, 1, 0},
        RoundCase{"PositionZeroActsLikeOne", 12345000, Mode::kHalfUp, 0, 12350000},
        RoundCase{"UpWholeYen", 12340001, Mode::kUp, 1, 12350000},
        RoundCase{"UpExactStays", 12340000, Mode::kUp, 1, 12340000},
        RoundCase{"UpNegative", -12340001, Mode::kUp, 1, -12350000},
        RoundCase{"DownWholeYen", 12349999, Mode::kDown, 1, 12340000},
        RoundCase{"DownNegative", -12349999, Mode::kDown, 1, -12340000},
        RoundCase{"HalfUpOneDecimal", 12345678, Mode::kHalfUp, 2, 12346000},
        RoundCase{"UpOneDecimal", 12345001, Mode::kUp, 2, 12346000},
        RoundCase{"DownOneDecimal", 12345678, Mode::kDown, 2, 12345000},
        RoundCase{"HalfUpTwoDecimals", 12345678, Mode::kHalfUp, 3, 12345700},
        RoundCase{"UpTwoDecimals", 12345601, Mode::kUp, 3, 12345700},
        RoundCase{"DownTwoDecimals", 12345678, Mode::kDown, 3, 12345600},
        RoundCase{"HalfUpThreeDecimals", 12345675, Mode::kHalfUp, 4, 12345680},
        RoundCase{"HalfUpThreeDecimalsCarry", 99995, Mode::kHalfUp, 4, 100000},
        RoundCase{"UpThreeDecimals", 12345671, Mode::kUp, 4, 12345680},
        RoundCase{"DownThreeDecimals", 12345679, Mode::kDown, 4, 12345670},
        RoundCase{"HalfUpTens", 12345000, Mode::kHalfUp, -1, 12300000},
        RoundCase{"HalfUpTensAtHalf", 12350000, Mode::kHalfUp, -1, 12400000},
        RoundCase{"UpTensCountsTheFraction", 12305000, Mode::kUp, -1, 12400000},
        RoundCase{"DownTens", 12399999, Mode::kDown, -1, 12300000},
        RoundCase{"HalfUpThousands", 1234567890000, Mode::kHalfUp, -3, 1234570000000},
        RoundCase{"UpThousands", 1234560000001, Mode::kUp, -3, 1234570000000},
        RoundCase{"DownThousandsNegative", -1234567890000, Mode::kDown, -3, -1234560000000},
        RoundCase{"HalfUpTrillions", 15000000000000000, Mode::kHalfUp, -12, 20000000000000000},
        RoundCase{"DownTrillions", 19999999999999999, Mode::kDown, -12, 10000000000000000},
        RoundCase{"HalfUpTrillionsToZero", -4999999999999999, Mode::kHalfUp, -12, 0},
        RoundCase{"PositionThirteenLeavesValue", 12345678, Mode::kHalfUp, 13, 12345678},
        RoundCase{"PositionMinusThirteenLeavesValue", 12345678, Mode::kHalfUp, -13, 12345678},
        RoundCase{"PositionFiveLeavesValue", 12345678, Mode::kDown, 5, 12345678}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FixedDecimalTest, OverflowWhenTheIntegerPartReachesTheLimit) {
  constexpr std::int64_t kLargest = 999999999999999999;  // 10^18 - 1
  FixedDecimal below = FixedDecimal::FromParts(kLargest, 4999);
  EXPECT_TRUE(below.Round(FixedDecimal::kHalfUp, 1));
  EXPECT_EQ(below.IntegerPart(), 999999999999999999u);

  FixedDecimal half = FixedDecimal::FromParts(kLargest, 5000);
  EXPECT_FALSE(half.Round(FixedDecimal::kHalfUp, 1));
  EXPECT_EQ(half.IntegerPart(), 999999999999999999u);  // left as it was
  EXPECT_EQ(half.Fraction(), 5000u);

  FixedDecimal tens = FixedDecimal::FromParts(-999999999999999995, 0);
  EXPECT_FALSE(tens.Round(FixedDecimal::kUp, -1));
}

TEST(FixedDecimalTest, ConstructionSplitsSignIntegerAndFraction) {
  const struct {
    FixedDecimal value;
    int sign;
    std::uint64_t integer;
    std::uint32_t fraction;
  } cases[] = {
      {FixedDecimal::FromStored(-12345678), -1, 1234, 5678},
      {FixedDecimal::FromStored(0), 1, 0, 0},
      {FixedDecimal::FromStored(std::numeric_limits<std::int64_t>::min()), -1, 922337203685477,
       5808},
      {FixedDecimal::FromParts(5, 12345), 1, 6, 2345},
      {FixedDecimal::FromParts(-5, 10000), -1, 6, 0},
      {FixedDecimal::FromParts(0, 20000), 1, 2, 0},
      {FixedDecimal::FromParts(std::numeric_limits<std::int64_t>::min(), 0), -1,
       9223372036854775808u, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.value.Sign(), c.sign);
    EXPECT_EQ(c.value.IntegerPart(), c.integer);
    EXPECT_EQ(c.value.Fraction(), c.fraction);
  }
}

TEST(FixedDecimalTest, SubtractsAndComparesSignedValues) {
  const FixedDecimal limit = FixedDecimal::FromParts(650000, 0);
  EXPECT_EQ(Scaled(limit - FixedDecimal::FromParts(200000, 0)), 4500000000);
  EXPECT_EQ(Scaled(FixedDecimal::FromParts(100000, 0) - FixedDecimal::FromParts(800000, 0)),
            -7000000000);
  const FixedDecimal zero = FixedDecimal::FromStored(-5000) - FixedDecimal::FromStored(-5000);
  EXPECT_EQ(zero.Sign(), 1);
  EXPECT_EQ(zero.IntegerPart(), 0u);

  // The full 64-bit range on both sides does not overflow.
  const FixedDecimal wide = FixedDecimal::FromStored(std::numeric_limits<std::int64_t>::max()) -
                            FixedDecimal::FromStored(std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(wide.IntegerPart(), 1844674407370955u);
  EXPECT_EQ(wide.Fraction(), 1615u);

  EXPECT_LT(FixedDecimal::FromStored(-5000), FixedDecimal::FromStored(5000));
  EXPECT_GT(FixedDecimal::FromStored(1), FixedDecimal());
  EXPECT_EQ(FixedDecimal::FromParts(1, 0), FixedDecimal::FromStored(10000));
  EXPECT_EQ(FixedDecimal::FromStored(-1).Compare(FixedDecimal::FromStored(-2)), 1);
}

TEST(FixedDecimalTest, TextWritesTheRequestedDecimalsUnrounded) {
  EXPECT_EQ(FixedDecimal().Text(0), "0");
  EXPECT_EQ(FixedDecimal::FromStored(-12340000).Text(0), "-1234");
  EXPECT_EQ(FixedDecimal::FromStored(12345678).Text(0), "1234");
  EXPECT_EQ(FixedDecimal::FromStored(12345678).Text(2), "1234.56");
  EXPECT_EQ(FixedDecimal::FromStored(12345678).Text(4), "1234.5678");
  EXPECT_EQ(FixedDecimal::FromStored(-5).Text(3), "-0.000");
  EXPECT_EQ(FixedDecimal::FromStored(5).Text(6), "0.0005");
}

}  // namespace
}  // namespace pv14
