#include "ledgerengine/FieldValues.h"

#include <cstring>
#include <limits>

#include "ledgerengine/Amount.h"
#include "platform/Encoding.h"

namespace pv14::ledger {
namespace {

std::string Hex4(unsigned value) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text = "U+0000";
  for (int i = 0; i < 4; ++i) text[5 - i] = digits[(value >> (4 * i)) & 0xF];
  return text;
}

// UTF-8 control characters: C0, DEL and C1 (U+0080..U+009F is C2 80..C2 9F).
void CheckControls(const std::string& utf8, const FormPath& path, bool lineBreaks) {
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    unsigned code = 0x10000;
    if (c < 0x20 || c == 0x7F) {
      code = c;
    } else if (c == 0xC2 && i + 1 < utf8.size()) {
      const auto next = static_cast<unsigned char>(utf8[i + 1]);
      if (next >= 0x80 && next <= 0x9F) code = next;
    }
    if (code == 0x10000) continue;
    if (lineBreaks && (code == '\r' || code == '\n')) continue;
    throw FormError(path, "control character " + Hex4(code) +
                              (code == '\r' || code == '\n'
                                   ? " (only the special-circumstances texts may break lines)"
                                   : ""));
  }
}

std::int64_t ReadIntegerOf(const Field& field, const Json& value, const FormPath& path) {
  switch (field.kind) {
    case FieldKind::kInt32:
      return ReadInteger(value, path, std::numeric_limits<std::int32_t>::min(),
                         std::numeric_limits<std::int32_t>::max());
    case FieldKind::kInt16:
      return ReadInteger(value, path, std::numeric_limits<std::int16_t>::min(),
                         std::numeric_limits<std::int16_t>::max());
    default:
      return ReadInteger(value, path, 0, std::numeric_limits<std::uint8_t>::max());
  }
}

}  // namespace

std::string ReadText(const Json& value, const FormPath& path, std::size_t limit, bool lineBreaks) {
  if (!value.is_string()) throw FormError(path, "expected a text");
  const std::string& utf8 = value.get_ref<const std::string&>();
  CheckControls(utf8, path, lineBreaks);
  std::optional<std::string> sjis = Utf8ToCp932(utf8);
  if (!sjis) throw FormError(path, "a character has no Shift_JIS form");
  if (sjis->size() > limit) {
    throw FormError(path,
                    std::to_string(sjis->size()) + " bytes, at most " + std::to_string(limit));
  }
  return *sjis;
}

std::int64_t ReadAmount(const Json& value, const FormPath& path) {
  std::optional<std::int64_t> scaled;
  if (value.is_number_unsigned()) {
    const auto units = value.get<std::uint64_t>();
    if (units <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
      scaled = ScaleWhole(static_cast<std::int64_t>(units));
    }
    if (!scaled) throw FormError(path, std::to_string(units) + " is out of range");
  } else if (value.is_number_integer()) {
    const auto units = value.get<std::int64_t>();
    scaled = ScaleWhole(units);
    if (!scaled) throw FormError(path, std::to_string(units) + " is out of range");
  } else if (value.is_string()) {
    std::string problem;
    scaled = ParseAmountText(value.get_ref<const std::string&>(), &problem);
    if (!scaled) throw FormError(path, problem);
  } else {
    throw FormError(path, "expected an amount: an integer or a decimal text");
  }
  return *scaled;
}

std::int64_t ReadInteger(const Json& value, const FormPath& path, std::int64_t min,
                         std::int64_t max) {
  const std::string range = " (" + std::to_string(min) + " to " + std::to_string(max) + ")";
  if (value.is_number_unsigned()) {
    const auto number = value.get<std::uint64_t>();
    if (number > static_cast<std::uint64_t>(max)) {
      throw FormError(path, std::to_string(number) + " is out of range" + range);
    }
    return static_cast<std::int64_t>(number);
  }
  if (value.is_number_integer()) {
    const auto number = value.get<std::int64_t>();
    if (number < min || number > max) {
      throw FormError(path, std::to_string(number) + " is out of range" + range);
    }
    return number;
  }
  throw FormError(path, "expected an integer" + range);
}

void ReadField(const Field& field, const Json& value, const FormPath& path, void* record) {
  char* at = static_cast<char*>(record) + field.offset;
  switch (field.kind) {
    case FieldKind::kText:
    case FieldKind::kMultiLineText: {
      std::string text =
          ReadText(value, path, TextLimit(field), field.kind == FieldKind::kMultiLineText);
      std::memset(at, 0, field.size);
      std::memcpy(at, text.data(), text.size());
      return;
    }
    case FieldKind::kAmount:
    case FieldKind::kArea:
      PutAt(record, field.offset, ReadAmount(value, path));
      return;
    case FieldKind::kAmounts: {
      if (!value.is_array()) throw FormError(path, "expected a list of amounts");
      if (value.size() > AmountCount(field)) {
        throw FormError(path, std::to_string(value.size()) + " amounts, at most " +
                                  std::to_string(AmountCount(field)));
      }
      std::memset(at, 0, field.size);
      for (std::size_t i = 0; i < value.size(); ++i) {
        PutAt(record, field.offset + i * sizeof(std::int64_t), ReadAmount(value[i], path.Index(i)));
      }
      return;
    }
    case FieldKind::kInt32:
      PutAt(record, field.offset, static_cast<std::int32_t>(ReadIntegerOf(field, value, path)));
      return;
    case FieldKind::kInt16:
      PutAt(record, field.offset, static_cast<std::int16_t>(ReadIntegerOf(field, value, path)));
      return;
    case FieldKind::kUInt8:
      PutAt(record, field.offset, static_cast<std::uint8_t>(ReadIntegerOf(field, value, path)));
      return;
  }
}

Json AmountJson(std::int64_t scaled) {
  if (IsWhole(scaled)) return scaled / kAmountScale;
  return FormatAmount(scaled);
}

Json TextJson(const std::string& sjis, const FormPath& path) {
  std::optional<std::string> utf8 = Cp932ToUtf8(sjis);
  if (!utf8) throw FormError(path, "the store holds a text that is not Shift_JIS");
  return *utf8;
}

Json WriteField(const Field& field, const void* record, const FormPath& path) {
  const char* at = static_cast<const char*>(record) + field.offset;
  switch (field.kind) {
    case FieldKind::kText:
    case FieldKind::kMultiLineText:
      return TextJson(std::string(at, ::strnlen(at, field.size)), path);
    case FieldKind::kAmount:
    case FieldKind::kArea:
      return AmountJson(GetAt<std::int64_t>(record, field.offset));
    case FieldKind::kAmounts: {
      Json list = Json::array();
      for (std::size_t i = 0; i < AmountCount(field); ++i) {
        list.push_back(
            AmountJson(GetAt<std::int64_t>(record, field.offset + i * sizeof(std::int64_t))));
      }
      return list;
    }
    case FieldKind::kInt32:
      return GetAt<std::int32_t>(record, field.offset);
    case FieldKind::kInt16:
      return GetAt<std::int16_t>(record, field.offset);
    case FieldKind::kUInt8:
      return GetAt<std::uint8_t>(record, field.offset);
  }
  return nullptr;
}

}  // namespace pv14::ledger
