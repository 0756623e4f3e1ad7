// Parsing the JSON form into a document, refusing what no field accepts: a
// number with a fraction or an exponent, an integer beyond 64 bits, a key
// given twice in one object.
#pragma once

#include <string_view>

#include <nlohmann/json.hpp>

namespace pv14::ledger {

using Json = nlohmann::ordered_json;

// Throws FormError naming the value's path, or the position of a syntax error.
Json ParseJsonDocument(std::string_view text);

}  // namespace pv14::ledger
