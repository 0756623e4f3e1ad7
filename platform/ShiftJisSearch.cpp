#include "platform/ShiftJisSearch.h"

namespace pv14::sjis {

std::size_t FindSingleByte(std::string_view text, char c, std::size_t from) {
  // Classified from the first byte, so a start inside a character is safe.
  for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) {
    if (i >= from && text[i] == c && CharLength(text, i) == 1) return i;
  }
  return std::string_view::npos;
}

std::string FoldCase(std::string_view text) {
  std::string folded(text);
  for (std::size_t i = 0; i < folded.size(); i += CharLength(text, i)) {
    if (folded[i] >= 'A' && folded[i] <= 'Z' && CharLength(text, i) == 1) {
      folded[i] = static_cast<char>(folded[i] - 'A' + 'a');
    }
  }
  return folded;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && FoldCase(a) == FoldCase(b);
}

}  // namespace pv14::sjis
