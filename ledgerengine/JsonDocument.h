// Parsing the JSON form into a document, refusing what no field accepts: a
// number with a fraction or an exponent, an integer beyond 64 bits, a key
// given twice in one object.
#pragma once

#include <cstddef>
#include <string_view>

#include <nlohmann/json.hpp>

namespace pv14::ledger {

using Json = nlohmann::ordered_json;

// Objects and arrays inside one another: the form needs seven (the top level,
// DataSets, a data set, Statements, General, PL, a row). A parser's memory
// for a path grows with the square of its depth, so more is refused first.
inline constexpr std::size_t kMaxJsonNesting = 7;

// Throws FormError naming the value's path, or the position of a syntax error.
Json ParseJsonDocument(std::string_view text);

}  // namespace pv14::ledger
