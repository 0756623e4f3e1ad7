// One value of the JSON form: checked and stored into a record's field, or
// taken from a record's field for the dump.
#pragma once

#include <cstdint>
#include <string>

#include "ledgerengine/Fields.h"
#include "ledgerengine/FormError.h"
#include "ledgerengine/JsonDocument.h"

namespace pv14::ledger {

// A text converted to Shift_JIS: refused when longer than limit bytes, with a
// character that has no Shift_JIS form, or with a control character (CR and
// LF pass when lineBreaks).
std::string ReadText(const Json& value, const FormPath& path, std::size_t limit, bool lineBreaks);
// An amount or area, scaled by 10000.
std::int64_t ReadAmount(const Json& value, const FormPath& path);
// A JSON integer within [min, max].
std::int64_t ReadInteger(const Json& value, const FormPath& path, std::int64_t min,
                         std::int64_t max);

// Checks the value for the field and stores it into the record.
void ReadField(const Field& field, const Json& value, const FormPath& path, void* record);

// The JSON value of a record's field; FormError when a stored text is not
// valid Shift_JIS.
Json WriteField(const Field& field, const void* record, const FormPath& path);
// An amount: an integer when whole, else a decimal text.
Json AmountJson(std::int64_t scaled);
// A Shift_JIS text as UTF-8.
Json TextJson(const std::string& sjis, const FormPath& path);

}  // namespace pv14::ledger
