#include "report/FixedDecimal.h"

#include <algorithm>
#include <compare>

namespace pv14 {
namespace {

// The value is kept as an integer part and a fraction of 1/10000, which is
// itself an exact two-digit number in base 2^64 and base 10000: sums,
// differences, comparisons and rounding work on the two parts with carries,
// so no integer type wider than 64 bits is needed (32-bit targets have none).
constexpr std::uint32_t kScale = 10000;

struct Magnitude {
  std::uint64_t integer = 0;
  std::uint32_t fraction = 0;  // 0..9999

  bool IsZero() const { return integer == 0 && fraction == 0; }
  auto operator<=>(const Magnitude&) const = default;
};

// a + b, saturating at the largest magnitude the parts can hold.
Magnitude Add(Magnitude a, Magnitude b) {
  Magnitude sum;
  sum.fraction = a.fraction + b.fraction;
  std::uint64_t carry = 0;
  if (sum.fraction >= kScale) {
    sum.fraction -= kScale;
    carry = 1;
  }
  sum.integer = a.integer + b.integer;
  const bool overflow = sum.integer < a.integer || sum.integer + carry < sum.integer;
  sum.integer += carry;
  if (overflow) return {UINT64_MAX, kScale - 1};
  return sum;
}

// a - b for a >= b.
Magnitude Subtract(Magnitude a, Magnitude b) {
  Magnitude difference;
  std::uint64_t borrow = 0;
  if (a.fraction < b.fraction) {
    a.fraction += kScale;
    borrow = 1;
  }
  difference.fraction = a.fraction - b.fraction;
  difference.integer = a.integer - b.integer - borrow;
  return difference;
}

struct Signed {
  Magnitude magnitude;
  bool negative = false;  // never set for zero
};

Signed SignedOf(std::uint64_t integer, std::uint32_t fraction, int sign) {
  Magnitude m{integer, fraction};
  return {m, sign < 0 && !m.IsZero()};
}

int CompareSigned(const Signed& a, const Signed& b) {
  if (a.negative != b.negative) return a.negative ? -1 : 1;
  const int order = a.magnitude < b.magnitude ? -1 : (a.magnitude > b.magnitude ? 1 : 0);
  return a.negative ? -order : order;
}

// Rounds to a multiple of unit / 10000 where unit divides 10000: only the
// fraction takes part; a carry goes into the integer part. False when that
// carry overflows.
bool RoundFraction(Magnitude& m, std::uint32_t unit, int mode) {
  const std::uint32_t below = m.fraction % unit;
  bool up = false;
  switch (mode) {
    case FixedDecimal::kHalfUp:
      up = below >= unit / 2;
      break;
    case FixedDecimal::kUp:
      up = below != 0;
      break;
    case FixedDecimal::kDown:
      break;
    default:
      return true;
  }
  m.fraction -= below;
  if (!up) return true;
  m.fraction += unit;
  if (m.fraction == kScale) {
    m.fraction = 0;
    if (m.integer == UINT64_MAX) return false;
    ++m.integer;
  }
  return true;
}

// Rounds the integer part to a multiple of step (10^k, k 1..12); the
// fraction counts as below a step. False when the result reaches limit
// (a multiple of step).
bool RoundInteger(Magnitude& m, std::uint64_t step, int mode, std::uint64_t limit) {
  const std::uint64_t steps = m.integer / step;
  const std::uint64_t below = m.integer % step;
  bool up = false;
  switch (mode) {
    case FixedDecimal::kHalfUp:
      // (below + fraction / 10000) >= step / 2, and step / 2 is whole.
      up = below >= step / 2;
      break;
    case FixedDecimal::kUp:
      up = below != 0 || m.fraction != 0;
      break;
    case FixedDecimal::kDown:
      break;
    default:
      return true;
  }
  const std::uint64_t roundedSteps = steps + (up ? 1 : 0);
  if (roundedSteps >= limit / step) return false;
  m = {roundedSteps * step, 0};
  return true;
}

}  // namespace

FixedDecimal FixedDecimal::FromStored(std::int64_t value) {
  // Unsigned negation keeps INT64_MIN exact.
  const std::uint64_t magnitude =
      value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  FixedDecimal d;
  d.integer_ = magnitude / kScale;
  d.fraction_ = static_cast<std::uint32_t>(magnitude % kScale);
  d.sign_ = value < 0 ? -1 : 1;
  return d;
}

FixedDecimal FixedDecimal::FromParts(std::int64_t integer, std::uint32_t fraction) {
  const std::uint64_t magnitude =
      integer < 0 ? 0 - static_cast<std::uint64_t>(integer) : static_cast<std::uint64_t>(integer);
  FixedDecimal d;
  d.integer_ = magnitude + fraction / kScale;
  d.fraction_ = fraction % kScale;
  d.sign_ = integer < 0 ? -1 : 1;
  return d;
}

FixedDecimal FixedDecimal::operator-(const FixedDecimal& other) const {
  const Signed a = SignedOf(integer_, fraction_, sign_);
  const Signed b = SignedOf(other.integer_, other.fraction_, other.sign_);
  Signed difference;
  if (a.negative != b.negative) {
    // Two integer parts near 2^64 of opposite signs do not fit one: Add
    // saturates rather than wraps.
    difference = {Add(a.magnitude, b.magnitude), a.negative};
  } else if (a.magnitude >= b.magnitude) {
    difference = {Subtract(a.magnitude, b.magnitude), a.negative};
  } else {
    difference = {Subtract(b.magnitude, a.magnitude), !a.negative};
  }
  FixedDecimal d;
  d.integer_ = difference.magnitude.integer;
  d.fraction_ = difference.magnitude.fraction;
  d.sign_ = difference.negative && !difference.magnitude.IsZero() ? -1 : 1;
  return d;
}

int FixedDecimal::Compare(const FixedDecimal& other) const {
  return CompareSigned(SignedOf(integer_, fraction_, sign_),
                       SignedOf(other.integer_, other.fraction_, other.sign_));
}

bool FixedDecimal::Round(int mode, int position) {
  static constexpr std::uint32_t kKeepDecimals[] = {10000, 10000, 1000, 100, 10};
  Magnitude m{integer_, fraction_};
  if (position >= 0 && position <= 4) {
    if (!RoundFraction(m, kKeepDecimals[position], mode)) return false;
  } else if (position >= -12 && position <= -1) {
    std::uint64_t step = 1;
    for (int k = 0; k < -position; ++k) step *= 10;
    // On overflow the value stays as it was: the rounded one may not fit.
    if (!RoundInteger(m, step, mode, kIntegerLimit)) return false;
  }
  if (m.integer >= kIntegerLimit) return false;
  integer_ = m.integer;
  fraction_ = m.fraction;
  if (m.IsZero()) sign_ = 1;
  return true;
}

std::string FixedDecimal::Text(int decimals) const {
  std::string text = sign_ < 0 ? "-" : "";
  text += std::to_string(integer_);
  if (decimals > 0) {
    std::string digits = std::to_string(fraction_);
    digits.insert(0, 4 - digits.size(), '0');
    text += '.';
    text += digits.substr(0, static_cast<std::size_t>(std::min(decimals, 4)));
  }
  return text;
}

}  // namespace pv14
