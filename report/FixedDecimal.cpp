#include "report/FixedDecimal.h"

#include <algorithm>

namespace pv14 {
namespace {

using Wide = __int128;
using UWide = unsigned __int128;

constexpr std::uint32_t kScale = 10000;

// The rounding unit in 1/10000 for a position, or 0 when the position
// leaves the value alone.
UWide RoundingUnit(int position) {
  static constexpr std::uint32_t kKeepDecimals[] = {10000, 10000, 1000, 100, 10};
  if (position >= 0 && position <= 4) return kKeepDecimals[position];
  if (position >= -12 && position <= -1) {
    UWide unit = kScale;
    for (int k = 0; k < -position; ++k) unit *= 10;
    return unit;
  }
  return 0;
}

UWide RoundMagnitude(UWide magnitude, UWide unit, int mode) {
  switch (mode) {
    case FixedDecimal::kHalfUp:
      return (magnitude + unit / 2) / unit * unit;
    case FixedDecimal::kUp:
      return (magnitude + unit - 1) / unit * unit;
    case FixedDecimal::kDown:
      return magnitude / unit * unit;
    default:
      return magnitude;
  }
}

Wide Scaled(std::uint64_t integer, std::uint32_t fraction, int sign) {
  const Wide magnitude = static_cast<Wide>(integer) * kScale + fraction;
  return sign < 0 ? -magnitude : magnitude;
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
  const Wide difference =
      Scaled(integer_, fraction_, sign_) - Scaled(other.integer_, other.fraction_, other.sign_);
  UWide magnitude = difference < 0 ? static_cast<UWide>(-difference) : difference;
  // Two integer parts near 2^64 of opposite signs do not fit one: saturate
  // rather than wrap.
  constexpr UWide kMaxMagnitude = static_cast<UWide>(UINT64_MAX) * kScale + (kScale - 1);
  magnitude = std::min(magnitude, kMaxMagnitude);
  FixedDecimal d;
  d.integer_ = static_cast<std::uint64_t>(magnitude / kScale);
  d.fraction_ = static_cast<std::uint32_t>(magnitude % kScale);
  d.sign_ = difference < 0 ? -1 : 1;
  return d;
}

int FixedDecimal::Compare(const FixedDecimal& other) const {
  const Wide a = Scaled(integer_, fraction_, sign_);
  const Wide b = Scaled(other.integer_, other.fraction_, other.sign_);
  return a < b ? -1 : (a > b ? 1 : 0);
}

bool FixedDecimal::Round(int mode, int position) {
  UWide magnitude = static_cast<UWide>(integer_) * kScale + fraction_;
  if (const UWide unit = RoundingUnit(position); unit != 0) {
    magnitude = RoundMagnitude(magnitude, unit, mode);
  }
  // On overflow the value stays as it was: the rounded one may not fit.
  if (magnitude / kScale >= kIntegerLimit) return false;
  integer_ = static_cast<std::uint64_t>(magnitude / kScale);
  fraction_ = static_cast<std::uint32_t>(magnitude % kScale);
  if (magnitude == 0) sign_ = 1;
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
