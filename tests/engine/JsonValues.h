// Reading the tests' expectations out of the JSON form itself.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

namespace pv14::testing {

using Json = nlohmann::ordered_json;

// An amount written either way (12345, "-1234.5") as ten-thousandths;
// nullopt for anything else. A missing value (null) is 0.
std::optional<std::int64_t> Scaled(const Json& value);
// Scaled, failing the test when the value is no amount.
std::int64_t Amount(const Json& value);
// A UTF-8 text in Shift_JIS, failing the test when it has no such form.
std::string Sjis(const std::string& utf8);
// The text of a JSON value in Shift_JIS; a missing value is empty.
std::string SjisOf(const Json& value);
// An integer field; a missing value is 0.
std::int64_t IntegerOf(const Json& value);

}  // namespace pv14::testing
