#include "platform/TypedText.h"

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

}  // namespace

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
