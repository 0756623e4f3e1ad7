// The conversions of platform/Encoding.h on Windows: the system's own code
// page 932 tables, through UTF-16, giving exactly what the iconv version
// gives on Linux. The two differ only in a few characters, mended here:
// iconv also takes nine characters that code page 932 holds under another
// code point (the yen sign, the wave dash, the minus sign, ...), and it
// refuses the five single bytes that Windows maps to private code points.
#include "platform/Encoding.h"

#include "platform/ShiftJis.h"
#include "platform/win32/WideText.h"

namespace pv14 {
namespace {

// The code point whose code page 932 form iconv gives the character.
wchar_t AsCp932Holds(wchar_t c) {
  switch (c) {
    case 0x00A2:  // cent sign
      return 0xFFE0;
    case 0x00A3:  // pound sign
      return 0xFFE1;
    case 0x00A5:  // yen sign: 0x5C
      return 0x005C;
    case 0x00AC:  // not sign
      return 0xFFE2;
    case 0x2014:  // em dash
      return 0x2015;
    case 0x2016:  // double vertical line
      return 0x2225;
    case 0x203E:  // overline: 0x7E
      return 0x007E;
    case 0x2212:  // minus sign
      return 0xFF0D;
    case 0x301C:  // wave dash
      return 0xFF5E;
    default:
      return c;
  }
}

// What Windows makes of the single bytes 0x80, 0xA0 and 0xFD-0xFF.
bool IsPrivateSingleByteCharacter(wchar_t c) { return c == 0x0080 || (c >= 0xF8F0 && c <= 0xF8F3); }

}  // namespace

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
  auto wide = win32::Utf8ToWide(utf8);
  if (!wide) return std::nullopt;
  for (wchar_t& c : *wide) {
    if (IsPrivateSingleByteCharacter(c)) return std::nullopt;
    c = AsCp932Holds(c);
  }
  return win32::WideToCp932(*wide);
}

std::optional<std::string> Cp932ToUtf8(std::string_view cp932) {
  for (std::size_t i = 0; i < cp932.size(); i += sjis::CharLength(cp932, i)) {
    const auto c = static_cast<unsigned char>(cp932[i]);
    if (sjis::CharLength(cp932, i) == 1 && (c == 0x80 || c == 0xA0 || c >= 0xFD)) {
      return std::nullopt;
    }
  }
  auto wide = win32::Cp932ToWide(cp932);
  if (!wide) return std::nullopt;
  return win32::WideToUtf8(*wide);
}

}  // namespace pv14
