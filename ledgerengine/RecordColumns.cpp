#include "ledgerengine/RecordColumns.h"

#include <cstring>
#include <limits>

#include "platform/ShiftJis.h"

namespace pv14::ledger {
namespace {

struct Range {
  std::int64_t min;
  std::int64_t max;
};

Range IntegerRange(FieldKind kind) {
  switch (kind) {
    case FieldKind::kInt32:
      return {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()};
    case FieldKind::kInt16:
      return {std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()};
    case FieldKind::kUInt8:
      return {0, std::numeric_limits<std::uint8_t>::max()};
    default:
      return {std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max()};
  }
}

bool IsText(FieldKind kind) {
  return kind == FieldKind::kText || kind == FieldKind::kMultiLineText;
}

std::size_t Columns(const Field& field) {
  return field.kind == FieldKind::kAmounts ? AmountCount(field) : 1;
}

// Column name of the i-th column of a field: "Sales_1" for a list of amounts.
std::string Name(const Field& field, std::size_t i) {
  std::string name = field.key;
  if (field.kind == FieldKind::kAmounts) name += "_" + std::to_string(i + 1);
  return "\"" + name + "\"";
}

std::int64_t IntegerOf(const Field& field, const void* record) {
  switch (field.kind) {
    case FieldKind::kInt32:
      return GetAt<std::int32_t>(record, field.offset);
    case FieldKind::kInt16:
      return GetAt<std::int16_t>(record, field.offset);
    case FieldKind::kUInt8:
      return GetAt<std::uint8_t>(record, field.offset);
    default:
      return GetAt<std::int64_t>(record, field.offset);
  }
}

void PutInteger(const Field& field, void* record, std::int64_t value) {
  const Range range = IntegerRange(field.kind);
  if (value < range.min || value > range.max) {
    throw StoreError(std::string("the store holds ") + field.key + " " + std::to_string(value) +
                     ", outside its type");
  }
  switch (field.kind) {
    case FieldKind::kInt32:
      return PutAt(record, field.offset, static_cast<std::int32_t>(value));
    case FieldKind::kInt16:
      return PutAt(record, field.offset, static_cast<std::int16_t>(value));
    case FieldKind::kUInt8:
      return PutAt(record, field.offset, static_cast<std::uint8_t>(value));
    default:
      return PutAt(record, field.offset, value);
  }
}

}  // namespace

std::string ColumnNames(FieldTable fields) {
  std::string names;
  for (const Field& field : fields) {
    for (std::size_t i = 0; i < Columns(field); ++i) {
      if (!names.empty()) names += ", ";
      names += Name(field, i);
    }
  }
  return names;
}

std::string ColumnDefinitions(FieldTable fields) {
  std::string sql;
  for (const Field& field : fields) {
    for (std::size_t i = 0; i < Columns(field); ++i) {
      if (!sql.empty()) sql += ",\n  ";
      const std::string name = Name(field, i);
      if (IsText(field.kind)) {
        sql += name + " BLOB NOT NULL CHECK (length(" + name +
               ") <= " + std::to_string(TextLimit(field)) + ")";
      } else {
        const Range range = IntegerRange(field.kind);
        sql += name + " INTEGER NOT NULL";
        if (range.max < std::numeric_limits<std::int64_t>::max()) {
          sql += " CHECK (" + name + " BETWEEN " + std::to_string(range.min) + " AND " +
                 std::to_string(range.max) + ")";
        }
      }
    }
  }
  return sql;
}

int ColumnCount(FieldTable fields) {
  int count = 0;
  for (const Field& field : fields) count += static_cast<int>(Columns(field));
  return count;
}

void BindRecord(Statement& statement, int first, FieldTable fields, const void* record) {
  int index = first;
  for (const Field& field : fields) {
    if (IsText(field.kind)) {
      const char* text = static_cast<const char*>(record) + field.offset;
      statement.BindBlob(index++, std::string_view(text, ::strnlen(text, field.size)));
    } else if (field.kind == FieldKind::kAmounts) {
      for (std::size_t i = 0; i < AmountCount(field); ++i) {
        statement.Bind(index++,
                       GetAt<std::int64_t>(record, field.offset + i * sizeof(std::int64_t)));
      }
    } else {
      statement.Bind(index++, IntegerOf(field, record));
    }
  }
}

void ReadRecord(const Statement& statement, int first, FieldTable fields, void* record) {
  int column = first;
  for (const Field& field : fields) {
    if (IsText(field.kind)) {
      std::string_view text = statement.Blob(column++);
      char* at = static_cast<char*>(record) + field.offset;
      std::memset(at, 0, field.size);
      // Never split a double-byte character when a text is too long.
      const std::size_t length = sjis::FitLength(text, TextLimit(field));
      if (length > 0) std::memcpy(at, text.data(), length);  // an empty blob has no data
    } else if (field.kind == FieldKind::kAmounts) {
      for (std::size_t i = 0; i < AmountCount(field); ++i) {
        PutAt(record, field.offset + i * sizeof(std::int64_t), statement.Int(column++));
      }
    } else {
      PutInteger(field, record, statement.Int(column++));
    }
  }
}

}  // namespace pv14::ledger
