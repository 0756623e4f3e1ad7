// Reading Shift_JIS (code page 932) text byte by byte. A text is classified
// from its first byte: a lead byte followed by a valid trail byte is one
// double-byte character, every other byte a single-byte one (half-width
// katakana included). A 0x5C trail byte is never a backslash.
#pragma once

#include <cstddef>
#include <string_view>

namespace pv14::sjis {

inline bool IsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
inline bool IsTrailByte(unsigned char c) {
  return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

// Length of the character that starts at pos (1 or 2).
inline std::size_t CharLength(std::string_view text, std::size_t pos) {
  return pos + 1 < text.size() && IsLeadByte(static_cast<unsigned char>(text[pos])) &&
                 IsTrailByte(static_cast<unsigned char>(text[pos + 1]))
             ? 2
             : 1;
}

// True when pos is the first or the second byte of a double-byte character.
inline bool IsDoubleByteAt(std::string_view text, std::size_t pos) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = CharLength(text, i);
    if (pos < i + n) return n == 2;
    i += n;
  }
  return false;
}

// Position of the last single-byte character c, or npos.
inline std::size_t FindLastSingleByte(std::string_view text, char c) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) {
    if (text[i] == c && CharLength(text, i) == 1) found = i;
  }
  return found;
}

// True when the text ends with c as a single-byte character.
inline bool EndsWithSingleByte(std::string_view text, char c) {
  return !text.empty() && text.back() == c && !IsDoubleByteAt(text, text.size() - 1);
}

// The longest prefix of at most max bytes that does not end inside a
// double-byte character.
inline std::size_t FitLength(std::string_view text, std::size_t max) {
  if (text.size() <= max) return text.size();
  std::size_t end = 0;
  while (end < max) {
    const std::size_t n = CharLength(text, end);
    if (end + n > max) break;
    end += n;
  }
  return end;
}

}  // namespace pv14::sjis
