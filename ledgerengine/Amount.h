// Amounts and areas as the store keeps them: a signed 64-bit count of
// ten-thousandths (yen x 10000, square metres x 10000).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pv14::ledger {

inline constexpr std::int64_t kAmountScale = 10000;

// A whole number of units, scaled; nullopt when the result leaves int64.
std::optional<std::int64_t> ScaleWhole(std::int64_t units);

// A decimal text: optional sign, digits, optionally a point and one to four
// digits ("-1234.5", "0.9999"). nullopt with *problem set otherwise.
std::optional<std::int64_t> ParseAmountText(std::string_view text, std::string* problem);

// True when the value is a whole number of units.
bool IsWhole(std::int64_t scaled);
// The value as a decimal text with only the decimals it needs ("-1234.5",
// "12"); ParseAmountText reads it back to the same value.
std::string FormatAmount(std::int64_t scaled);

}  // namespace pv14::ledger
