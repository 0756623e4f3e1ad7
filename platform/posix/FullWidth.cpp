#include "platform/posix/FullWidth.h"

#include <array>
#include <cstdint>
#include <string>

#include "platform/Encoding.h"
#include "platform/ShiftJisSearch.h"

namespace pv14 {
namespace {

// Full-width characters of ASCII 0x20-0x7E, as Unicode code points. The
// Japanese locale gives typographic quotes for ' and " and the full-width
// yen sign for 0x5C, which is the yen sign on a Japanese system.
constexpr char32_t FullWidthOfAscii(unsigned char c) {
  switch (c) {
    case 0x20:
      return U'\u3000';
    case 0x22:
      return U'\u201D';
    case 0x27:
      return U'\u2019';
    case 0x5C:
      return U'\uFFE5';
    default:
      return U'\uFF01' + (c - 0x21);
  }
}

// Half-width katakana 0xA1-0xDF: the full-width character, and the
// characters the voiced (0xDE) and semi-voiced (0xDF) marks make of it
// (0 when there is none).
struct Katakana {
  char32_t plain;
  char32_t voiced;
  char32_t semiVoiced;
};

constexpr std::array<Katakana, 0xDF - 0xA1 + 1> kKatakana = {{
    {U'。', 0, 0},         {U'「', 0, 0},         {U'」', 0, 0},         {U'、', 0, 0},
    {U'・', 0, 0},         {U'ヲ', 0, 0},         {U'ァ', 0, 0},         {U'ィ', 0, 0},
    {U'ゥ', 0, 0},         {U'ェ', 0, 0},         {U'ォ', 0, 0},         {U'ャ', 0, 0},
    {U'ュ', 0, 0},         {U'ョ', 0, 0},         {U'ッ', 0, 0},         {U'ー', 0, 0},
    {U'ア', 0, 0},         {U'イ', 0, 0},         {U'ウ', U'ヴ', 0},     {U'エ', 0, 0},
    {U'オ', 0, 0},         {U'カ', U'ガ', 0},     {U'キ', U'ギ', 0},     {U'ク', U'グ', 0},
    {U'ケ', U'ゲ', 0},     {U'コ', U'ゴ', 0},     {U'サ', U'ザ', 0},     {U'シ', U'ジ', 0},
    {U'ス', U'ズ', 0},     {U'セ', U'ゼ', 0},     {U'ソ', U'ゾ', 0},     {U'タ', U'ダ', 0},
    {U'チ', U'ヂ', 0},     {U'ツ', U'ヅ', 0},     {U'テ', U'デ', 0},     {U'ト', U'ド', 0},
    {U'ナ', 0, 0},         {U'ニ', 0, 0},         {U'ヌ', 0, 0},         {U'ネ', 0, 0},
    {U'ノ', 0, 0},         {U'ハ', U'バ', U'パ'}, {U'ヒ', U'ビ', U'ピ'}, {U'フ', U'ブ', U'プ'},
    {U'ヘ', U'ベ', U'ペ'}, {U'ホ', U'ボ', U'ポ'}, {U'マ', 0, 0},         {U'ミ', 0, 0},
    {U'ム', 0, 0},         {U'メ', 0, 0},         {U'モ', 0, 0},         {U'ヤ', 0, 0},
    {U'ユ', 0, 0},         {U'ヨ', 0, 0},         {U'ラ', 0, 0},         {U'リ', 0, 0},
    {U'ル', 0, 0},         {U'レ', 0, 0},         {U'ロ', 0, 0},         {U'ワ', 0, 0},
    {U'ン', 0, 0},         {U'゛', 0, 0},         {U'゜', 0, 0},
}};

constexpr unsigned char kVoicedMark = 0xDE;
constexpr unsigned char kSemiVoicedMark = 0xDF;

std::string EncodeUtf8(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

// The code page 932 form of one character; empty when it has none.
std::string ToSjis(char32_t c) {
  if (c == 0) return {};
  return Utf8ToCp932(EncodeUtf8(c)).value_or(std::string());
}

struct Tables {
  std::array<std::string, 0x7F - 0x20> ascii;
  std::array<std::array<std::string, 3>, kKatakana.size()> katakana;

  Tables() {
    for (unsigned c = 0x20; c < 0x7F; ++c) {
      ascii[c - 0x20] = ToSjis(FullWidthOfAscii(static_cast<unsigned char>(c)));
    }
    for (std::size_t i = 0; i < kKatakana.size(); ++i) {
      katakana[i] = {ToSjis(kKatakana[i].plain), ToSjis(kKatakana[i].voiced),
                     ToSjis(kKatakana[i].semiVoiced)};
    }
  }
};

const Tables& FullWidthTables() {
  static const Tables tables;
  return tables;
}

}  // namespace

std::string MapToFullWidth(std::string_view text) {
  const Tables& tables = FullWidthTables();
  std::string out;
  out.reserve(text.size() * 2);
  for (std::size_t i = 0; i < text.size();) {
    std::size_t n = sjis::CharLength(text, i);
    auto c = static_cast<unsigned char>(text[i]);
    if (n == 2) {
      out.append(text.substr(i, 2));
    } else if (c >= 0x20 && c < 0x7F && !tables.ascii[c - 0x20].empty()) {
      out += tables.ascii[c - 0x20];
    } else if (c >= 0xA1 && c <= 0xDF) {
      const auto& forms = tables.katakana[c - 0xA1];
      auto mark = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
      const std::string* combined = mark == kVoicedMark       ? &forms[1]
                                    : mark == kSemiVoicedMark ? &forms[2]
                                                              : nullptr;
      if (combined != nullptr && !combined->empty()) {
        out += *combined;
        n = 2;
      } else {
        out += forms[0];
      }
    } else {
      out += static_cast<char>(c);
    }
    i += n;
  }
  return out;
}

}  // namespace pv14
