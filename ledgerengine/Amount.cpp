#include "ledgerengine/Amount.h"

#include <cstddef>
#include <limits>

namespace pv14::ledger {
namespace {

constexpr std::uint64_t kMaxPositive = std::numeric_limits<std::int64_t>::max();
constexpr std::uint64_t kMaxNegative = kMaxPositive + 1;  // magnitude of INT64_MIN
constexpr std::size_t kMaxDecimals = 4;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Appends digits to a magnitude; false when it leaves uint64.
bool AppendDigits(std::string_view digits, std::uint64_t* magnitude) {
  for (char c : digits) {
    if (__builtin_mul_overflow(*magnitude, 10u, magnitude) ||
        __builtin_add_overflow(*magnitude, static_cast<unsigned>(c - '0'), magnitude)) {
      return false;
    }
  }
  return true;
}

std::optional<std::int64_t> Signed(std::uint64_t magnitude, bool negative) {
  if (negative) {
    if (magnitude > kMaxNegative) return std::nullopt;
    return magnitude == 0 ? 0 : -static_cast<std::int64_t>(magnitude - 1) - 1;
  }
  if (magnitude > kMaxPositive) return std::nullopt;
  return static_cast<std::int64_t>(magnitude);
}

std::uint64_t Magnitude(std::int64_t value) {
  return value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
}

}  // namespace

std::optional<std::int64_t> ScaleWhole(std::int64_t units) {
  std::int64_t scaled = 0;
  if (__builtin_mul_overflow(units, kAmountScale, &scaled)) return std::nullopt;
  return scaled;
}

std::optional<std::int64_t> ParseAmountText(std::string_view text, std::string* problem) {
  std::string_view rest = text;
  bool negative = false;
  if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
    negative = rest.front() == '-';
    rest.remove_prefix(1);
  }
  std::size_t point = rest.find('.');
  std::string_view whole = rest.substr(0, point);
  std::string_view decimals = point == std::string_view::npos ? "" : rest.substr(point + 1);
  auto allDigits = [](std::string_view s) {
    for (char c : s) {
      if (!IsDigit(c)) return false;
    }
    return true;
  };
  if (whole.empty() || !allDigits(whole) || !allDigits(decimals) ||
      (point != std::string_view::npos && decimals.empty())) {
    *problem = "\"" + std::string(text) + "\" is not a decimal amount";
    return std::nullopt;
  }
  if (decimals.size() > kMaxDecimals) {
    *problem = "\"" + std::string(text) + "\" has more than four decimals";
    return std::nullopt;
  }
  std::string scaledDigits(decimals);
  scaledDigits.append(kMaxDecimals - decimals.size(), '0');
  std::uint64_t magnitude = 0;
  std::optional<std::int64_t> value;
  if (AppendDigits(whole, &magnitude) && AppendDigits(scaledDigits, &magnitude)) {
    value = Signed(magnitude, negative);
  }
  if (!value) *problem = "\"" + std::string(text) + "\" is out of range";
  return value;
}

bool IsWhole(std::int64_t scaled) { return scaled % kAmountScale == 0; }

std::string FormatAmount(std::int64_t scaled) {
  const std::uint64_t magnitude = Magnitude(scaled);
  std::string text = scaled < 0 ? "-" : "";
  text += std::to_string(magnitude / kAmountScale);
  std::uint64_t fraction = magnitude % kAmountScale;
  if (fraction != 0) {
    std::string digits = std::to_string(fraction + kAmountScale).substr(1);  // zero-padded
    digits.erase(digits.find_last_not_of('0') + 1);
    text += "." + digits;
  }
  return text;
}

}  // namespace pv14::ledger
