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

// Any value the parts can hold, also integer parts of 2^63 and more, which
// only a difference reaches.
FixedDecimal Value(int sign, std::uint64_t integer, std::uint32_t fraction) {
  constexpr std::uint64_t kHalf = std::uint64_t{1} << 63;
  const FixedDecimal low = FixedDecimal::FromParts(0, fraction);
  FixedDecimal magnitude =
      integer < kHalf ? FixedDecimal::FromParts(static_cast<std::int64_t>(integer), fraction)
                      : low - FixedDecimal::FromParts(std::numeric_limits<std::int64_t>::min(), 0) -
                            FixedDecimal::FromParts(-static_cast<std::int64_t>(integer - kHalf), 0);
  return sign < 0 ? FixedDecimal() - magnitude : magnitude;
}

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
constexpr std::uint64_t kBelowLimit = 999999999999999999;  // 10^18 - 1

// The results of the former 128-bit arithmetic at the edges of the range,
// where a rounding carry or a difference no longer fits.
struct EdgeRoundCase {
  const char* name;
  std::uint64_t integer;
  std::uint32_t fraction;
  int mode;
  int position;
  bool fits;
  std::uint64_t expectedInteger;  // the value itself when it does not fit
  std::uint32_t expectedFraction;
};

class FixedDecimalEdgeTest : public ::testing::TestWithParam<EdgeRoundCase> {};

TEST_P(FixedDecimalEdgeTest, RoundsOrRefusesAsBefore) {
  const EdgeRoundCase& c = GetParam();
  for (int sign : {1, -1}) {
    FixedDecimal d = Value(sign, c.integer, c.fraction);
    ASSERT_EQ(d.IntegerPart(), c.integer);
    ASSERT_EQ(d.Fraction(), c.fraction);
    EXPECT_EQ(d.Round(c.mode, c.position), c.fits) << "sign " << sign;
    EXPECT_EQ(d.IntegerPart(), c.expectedInteger) << "sign " << sign;
    EXPECT_EQ(d.Fraction(), c.expectedFraction) << "sign " << sign;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Edges, FixedDecimalEdgeTest,
    ::testing::Values(
        EdgeRoundCase{"CarryPastTwoToTheSixtyFour", kMax, 9999, Mode::kHalfUp, 1, false, kMax,
                      9999},
        EdgeRoundCase{"LargestIntegerPartAlwaysOverflows", kMax, 0, Mode::kDown, 1, false, kMax, 0},
        EdgeRoundCase{"UnknownModeStillChecksTheLimit", 1000000000000000000, 0, 3, 1, false,
                      1000000000000000000, 0},
        EdgeRoundCase{"UnknownModeBelowTheLimit", kBelowLimit, 9999, 3, 1, true, kBelowLimit, 9999},
        EdgeRoundCase{"PositionOutsideBelowTheLimit", kBelowLimit, 1234, Mode::kUp, 7, true,
                      kBelowLimit, 1234},
        EdgeRoundCase{"FractionCarryReachesTheLimit", kBelowLimit, 9999, Mode::kUp, 4, false,
                      kBelowLimit, 9999},
        EdgeRoundCase{"FractionWithoutCarryStaysBelow", kBelowLimit, 9990, Mode::kUp, 4, true,
                      kBelowLimit, 9990},
        EdgeRoundCase{"HalfUpJustBelowHalfAtTheLimit", kBelowLimit, 4999, Mode::kHalfUp, 0, true,
                      kBelowLimit, 0},
        EdgeRoundCase{"TensBelowHalfStay", 999999999999999994, 9999, Mode::kHalfUp, -1, true,
                      999999999999999990, 0},
        EdgeRoundCase{"TensAtHalfReachTheLimit", 999999999999999995, 0, Mode::kHalfUp, -1, false,
                      999999999999999995, 0},
        EdgeRoundCase{"TensUpByTheFractionAlone", 999999999999999990, 1, Mode::kUp, -1, false,
                      999999999999999990, 1},
        EdgeRoundCase{"TensExactStay", 999999999999999990, 0, Mode::kUp, -1, true,
                      999999999999999990, 0},
        EdgeRoundCase{"TrillionsAtHalfReachTheLimit", 999999500000000000, 0, Mode::kHalfUp, -12,
                      false, 999999500000000000, 0},
        EdgeRoundCase{"TrillionsBelowHalf", 999999499999999999, 9999, Mode::kHalfUp, -12, true,
                      999999000000000000, 0},
        EdgeRoundCase{"TrillionsUpByTheFraction", 999999000000000000, 1, Mode::kUp, -12, false,
                      999999000000000000, 1},
        EdgeRoundCase{"TrillionsDownAboveTheLimit", kMax, 9999, Mode::kDown, -12, false, kMax,
                      9999},
        EdgeRoundCase{"DownToJustBelowTheLimit", 1000000000000000000, 5, Mode::kDown, -1, false,
                      1000000000000000000, 5},
        EdgeRoundCase{"HalfUpTensAtHalfOfTwoToTheSixtyThree", 9223372036854775805, 0, Mode::kHalfUp,
                      -1, false, 9223372036854775805, 0}),
    [](const auto& info) { return std::string(info.param.name); });

struct EdgeDifferenceCase {
  const char* name;
  FixedDecimal a, b;
  int sign;
  std::uint64_t integer;
  std::uint32_t fraction;
  int order;  // a.Compare(b)
};

class FixedDecimalDifferenceTest : public ::testing::TestWithParam<EdgeDifferenceCase> {};

TEST_P(FixedDecimalDifferenceTest, SubtractsAndComparesAsBefore) {
  const EdgeDifferenceCase& c = GetParam();
  const FixedDecimal d = c.a - c.b;
  EXPECT_EQ(d.Sign(), c.sign);
  EXPECT_EQ(d.IntegerPart(), c.integer);
  EXPECT_EQ(d.Fraction(), c.fraction);
  EXPECT_EQ(c.a.Compare(c.b), c.order);
  EXPECT_EQ(c.b.Compare(c.a), -c.order);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, FixedDecimalDifferenceTest,
    ::testing::Values(EdgeDifferenceCase{"SaturatesAtTheLargestMagnitude", Value(1, kMax, 9999),
                                         Value(-1, 0, 1), 1, kMax, 9999, 1},
                      EdgeDifferenceCase{"SaturatesNegative", Value(-1, kMax, 0), Value(1, kMax, 0),
                                         -1, kMax, 9999, -1},
                      EdgeDifferenceCase{"FractionsAddUpWithoutACarry", Value(1, kMax - 1, 4999),
                                         Value(-1, 0, 5000), 1, kMax - 1, 9999, 1},
                      EdgeDifferenceCase{"FractionCarryPastTheLargestSaturates",
                                         Value(1, kMax, 4999), Value(-1, 0, 5001), 1, kMax, 9999,
                                         1},
                      EdgeDifferenceCase{"BorrowsFromTheIntegerPart", Value(1, 10, 1),
                                         Value(1, 3, 2), 1, 6, 9999, 1},
                      EdgeDifferenceCase{"SmallerMinusLargerIsNegative", Value(1, 3, 2),
                                         Value(1, kMax, 1), -1, kMax - 4, 9999, -1},
                      EdgeDifferenceCase{"NegativeMinusLessNegative", Value(-1, 5, 0),
                                         Value(-1, 2, 5000), -1, 2, 5000, -1},
                      EdgeDifferenceCase{"EqualLargeValuesGiveZero", Value(-1, kMax, 9999),
                                         Value(-1, kMax, 9999), 1, 0, 0, 0},
                      EdgeDifferenceCase{"LargestNegativeBelowSmallestPositive",
                                         Value(-1, kMax, 9999), Value(1, 0, 1), -1, kMax, 9999,
                                         -1}),
    [](const auto& info) { return std::string(info.param.name); });

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
