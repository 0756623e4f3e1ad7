// Parsing the JSON form into a document, refusing what no field accepts: a
// number with a fraction or an exponent, an integer beyond 64 bits, a key
// given twice in one object.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string_view>

#include <nlohmann/json.hpp>

namespace pv14::ledger {

using Json = nlohmann::ordered_json;

// Objects and arrays inside one another: the form needs seven (the top level,
// DataSets, a data set, Statements, General, PL, a row). A parser's memory
// for a path grows with the square of its depth, so more is refused first.
inline constexpr std::size_t kMaxJsonNesting = 7;

// Values a document may hold besides those taken from it (see below): far
// more than a store's data set has outside its long row lists, and the
// bound of what a file of any length costs in memory.
inline constexpr std::size_t kMaxHeldJsonValues = 100000;

class FormPath;

// One step from a container to a value inside it: a key, or a list's index.
struct JsonStep {
  std::string_view key;
  std::size_t index = 0;
  bool inList = false;
};

// Offered each value of a list once the value is complete: list holds the
// steps from the top level to the list. A value taken leaves the document
// (its index still counts), so a long list is never held whole.
using JsonListTaker = std::function<bool(std::span<const JsonStep> list, std::size_t index,
                                         const FormPath& path, Json& value)>;

// Throws FormError naming the value's path, or the position of a syntax error;
// so may take.
Json ParseJsonDocument(std::string_view text, const JsonListTaker& take = {});

}  // namespace pv14::ledger
