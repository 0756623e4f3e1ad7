// Signed fixed-point money with four decimals: the blue-return deduction and
// areas are computed in it.
#pragma once

#include <cstdint>
#include <string>

namespace pv14 {

class FixedDecimal {
 public:
  enum RoundMode { kHalfUp = 0, kUp = 1, kDown = 2 };
  // Rounding overflows when the integer part reaches this.
  static constexpr std::uint64_t kIntegerLimit = 1000000000000000000ULL;

  FixedDecimal() = default;  // zero
  // From a stored value in 1/10000.
  static FixedDecimal FromStored(std::int64_t value);
  // The integer's sign; a fraction of 10000 or more carries into the integer.
  static FixedDecimal FromParts(std::int64_t integer, std::uint32_t fraction);

  FixedDecimal operator-(const FixedDecimal& other) const;
  int Compare(const FixedDecimal& other) const;  // -1, 0, 1
  bool operator<(const FixedDecimal& o) const { return Compare(o) < 0; }
  bool operator>(const FixedDecimal& o) const { return Compare(o) > 0; }
  bool operator==(const FixedDecimal& o) const { return Compare(o) == 0; }

  // Rounds in place. position d + 1 keeps d decimals (0 acts like 1);
  // position -k rounds the integer part to a multiple of 10^k (k 1..12);
  // others leave the value. False signals an overflow.
  bool Round(int mode, int position);
  // Digits of the integer part, "-" first when negative, then "." and the
  // first `decimals` fraction digits when decimals > 0.
  std::string Text(int decimals) const;

  std::uint64_t IntegerPart() const { return integer_; }
  std::uint32_t Fraction() const { return fraction_; }
  int Sign() const { return sign_; }
  bool IsNegative() const { return sign_ < 0; }

 private:
  std::uint64_t integer_ = 0;
  std::uint32_t fraction_ = 0;  // 0..9999
  int sign_ = 1;                // zero carries +1
};

}  // namespace pv14
