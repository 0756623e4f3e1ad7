#include "platform/TypedText.h"

#include <limits>

#include "platform/Encoding.h"
#include "platform/ShiftJis.h"

namespace pv14 {
namespace {

// Length of the UTF-8 sequence at pos, or 0 when the byte starts none.
std::size_t Utf8Length(std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  std::size_t n = lead < 0x80                   ? 1
                  : lead >= 0xC2 && lead < 0xE0 ? 2
                  : lead >= 0xE0 && lead < 0xF0 ? 3
                  : lead >= 0xF0 && lead < 0xF5 ? 4
                                                : 0;
  if (n == 0 || pos + n > text.size()) return 0;
  for (std::size_t i = 1; i < n; ++i) {
    if ((static_cast<unsigned char>(text[pos + i]) & 0xC0) != 0x80) return 0;
  }
  return n;
}

bool IsHigh(char16_t c) { return c >= 0xD800 && c < 0xDC00; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c < 0xE000; }

// The bytes the program reads for a text of the edit.
std::size_t ProgramBytes(std::u16string_view utf16) {
  return TypeIntoEdit(Utf16ToUtf8(utf16), std::numeric_limits<std::size_t>::max()).size();
}

}  // namespace

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string utf8;
  utf8.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t c = utf16[i];
    if (IsHigh(utf16[i]) && i + 1 < utf16.size() && IsLow(utf16[i + 1])) {
      c = 0x10000 + ((c - 0xD800) << 10) + (utf16[++i] - 0xDC00);
    } else if (IsHigh(utf16[i]) || IsLow(utf16[i])) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
      utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      utf8 += static_cast<char>(0xE0 | (c >> 12));
      utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      utf8 += static_cast<char>(0xF0 | (c >> 18));
      utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return utf8;
}

TypedChange FitTypedChange(std::u16string_view before, std::u16string_view after,
                           std::size_t byteLimit) {
  // What changed: the common start and end stay, the middle is what was
  // typed or pasted; neither end may hold half a surrogate pair.
  std::size_t head = 0;
  while (head < before.size() && head < after.size() && before[head] == after[head]) ++head;
  if (head > 0 && IsHigh(after[head - 1])) --head;
  std::size_t tail = 0;
  while (tail < before.size() - head && tail < after.size() - head &&
         before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
    ++tail;
  }
  if (tail > 0 && IsLow(after[after.size() - tail])) --tail;
  const std::u16string_view inserted = after.substr(head, after.size() - head - tail);
  if (inserted.empty() || ProgramBytes(after) <= byteLimit) {
    return {std::u16string(after), head + inserted.size()};
  }

  std::u16string kept(after.substr(0, head));
  const std::u16string_view rest = after.substr(after.size() - tail);
  std::size_t used = ProgramBytes(kept) + ProgramBytes(rest);
  std::size_t take = 0;
  while (take < inserted.size()) {
    const std::size_t units =
        IsHigh(inserted[take]) && take + 1 < inserted.size() && IsLow(inserted[take + 1]) ? 2 : 1;
    const std::size_t bytes = ProgramBytes(inserted.substr(take, units));
    if (used + bytes > byteLimit) break;
    used += bytes;
    take += units;
  }
  kept.append(inserted.substr(0, take));
  const std::size_t caret = kept.size();
  kept.append(rest);
  return {std::move(kept), caret};
}

std::string TypeIntoEdit(std::string_view utf8, std::size_t byteLimit) {
  std::string typed;
  if (auto whole = Utf8ToCp932(utf8)) {
    typed = std::move(*whole);
  } else {
    for (std::size_t i = 0; i < utf8.size();) {
      const std::size_t n = Utf8Length(utf8, i);
      auto converted = n == 0 ? std::nullopt : Utf8ToCp932(utf8.substr(i, n));
      typed += converted.value_or("?");
      i += n == 0 ? 1 : n;
      if (typed.size() > byteLimit) break;
    }
  }
  typed.resize(sjis::FitLength(typed, byteLimit));
  return typed;
}

}  // namespace pv14
