#include "tests/engine/JsonValues.h"

#include <gtest/gtest.h>

#include "platform/Encoding.h"

namespace pv14::testing {

std::optional<std::int64_t> Scaled(const Json& value) {
  if (value.is_null()) return 0;
  if (value.is_number_integer()) return value.get<std::int64_t>() * 10000;
  if (!value.is_string()) return std::nullopt;
  const std::string text = value.get<std::string>();
  const std::size_t point = text.find('.');
  const std::string whole = text.substr(0, point);
  std::string decimals = point == std::string::npos ? "" : text.substr(point + 1);
  if (whole.empty() || decimals.size() > 4) return std::nullopt;
  decimals.append(4 - decimals.size(), '0');
  try {
    std::size_t used = 0;
    const long long units = std::stoll(whole, &used);
    if (used != whole.size()) return std::nullopt;
    const long long fraction = std::stoll(decimals);
    return units * 10000 + (whole.find('-') == std::string::npos ? fraction : -fraction);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

std::int64_t Amount(const Json& value) {
  const auto scaled = Scaled(value);
  EXPECT_TRUE(scaled.has_value()) << value;
  return scaled.value_or(0);
}

std::string Sjis(const std::string& utf8) {
  const auto converted = Utf8ToCp932(utf8);
  EXPECT_TRUE(converted.has_value()) << utf8;
  return converted.value_or("");
}

std::string SjisOf(const Json& value) {
  return value.is_null() ? "" : Sjis(value.get<std::string>());
}

std::int64_t IntegerOf(const Json& value) {
  return value.is_null() ? 0 : value.get<std::int64_t>();
}

}  // namespace pv14::testing
