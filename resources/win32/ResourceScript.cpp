#include "resources/win32/ResourceScript.h"

#include <cstdio>

#include "platform/Encoding.h"

namespace pv14 {
namespace {

constexpr std::uint32_t kSetFont = 0x40;         // DS_SETFONT, added by the compiler anyway
constexpr std::uint32_t kButtonGroupBox = 0x07;  // BS_GROUPBOX
constexpr std::uint32_t kButtonAutoRadio = 0x09;
constexpr int kShiftJisCharset = 128;

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
  return text;
}

// UTF-16 code units of valid UTF-8 (Cp932ToUtf8 gives only valid UTF-8).
std::u16string Utf16(std::string_view utf8) {
  std::u16string units;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = n == 1 ? lead : lead & (0x7F >> n);
    for (std::size_t k = 1; k < n && i + k < utf8.size(); ++k) {
      c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    if (c >= 0x10000) {
      units += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      units += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      units += static_cast<char16_t>(c);
    }
    i += n;
  }
  return units;
}

bool IsHexDigit(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// L"..." with every unit outside printable ASCII as \xHHHH; a hex digit
// right after an escape is escaped too, so no escape runs on into it.
std::optional<std::string> WideLiteral(std::string_view cp932) {
  const auto utf8 = Cp932ToUtf8(cp932);
  if (!utf8) return std::nullopt;
  std::string literal = "L\"";
  bool escaped = false;
  for (char16_t c : Utf16(*utf8)) {
    escaped = c < 0x20 || c > 0x7E || c == u'"' || c == u'\\' || (escaped && IsHexDigit(c));
    if (escaped) {
      char unit[8];
      std::snprintf(unit, sizeof unit, "\\x%04X", static_cast<unsigned>(c));
      literal += unit;
    } else {
      literal += static_cast<char>(c);
    }
  }
  return literal + "\"";
}

std::optional<std::string> Dialog(const DialogTemplate& dialog) {
  const bool extended = dialog.exStyle != 0;
  const auto caption = WideLiteral(dialog.caption);
  const auto font = WideLiteral(dialog.font);
  if (!caption || !font) return std::nullopt;
  std::string script = std::to_string(dialog.id) + (extended ? " DIALOGEX" : " DIALOG") +
                       " 0, 0, " + std::to_string(dialog.width) + ", " +
                       std::to_string(dialog.height) + "\n";
  script += "STYLE " + Hex(dialog.style | kSetFont) + "\n";
  if (extended) script += "EXSTYLE " + Hex(dialog.exStyle) + "\n";
  script += "CAPTION " + *caption + "\n";
  script += "FONT " + std::to_string(dialog.pointSize) + ", " + *font;
  if (extended) script += ", 0, 0, " + std::to_string(kShiftJisCharset);
  script += "\nBEGIN\n";
  for (const ControlTemplate& control : dialog.controls) {
    const auto text = WideLiteral(control.text);
    if (!text) return std::nullopt;
    const ControlClass kind = ClassOf(control.kind);
    script += "  CONTROL " + *text + ", " + std::to_string(control.id) + ", \"" +
              std::string(kind.windowClass) + "\", " + Hex(kind.style | control.style) + ", " +
              std::to_string(control.x) + ", " + std::to_string(control.y) + ", " +
              std::to_string(control.width) + ", " + std::to_string(control.height) + "\n";
  }
  return script + "END\n";
}

}  // namespace

ControlClass ClassOf(ControlKind kind) {
  const std::uint32_t shown = style::kChild | style::kVisible;
  switch (kind) {
    case ControlKind::kStatic:
      return {"STATIC", shown};
    case ControlKind::kGroupBox:
      return {"BUTTON", shown | kButtonGroupBox};
    case ControlKind::kRadioButton:
      return {"BUTTON", shown | kButtonAutoRadio};
    case ControlKind::kPushButton:
      return {"BUTTON", shown};
    case ControlKind::kEdit:
      return {"EDIT", shown};
    case ControlKind::kProgressBar:
      return {"msctls_progress32", shown};
  }
  return {"STATIC", shown};
}

std::optional<std::string> ResourceScript(std::span<const DialogTemplate* const> dialogs,
                                          std::span<const ResourceString> strings) {
  // Japanese resources: LANG_JAPANESE, SUBLANG_DEFAULT.
  std::string script = "LANGUAGE 0x11, 0x01\n\n";
  for (const DialogTemplate* dialog : dialogs) {
    const auto text = Dialog(*dialog);
    if (!text) return std::nullopt;
    script += *text + "\n";
  }
  if (!strings.empty()) {
    script += "STRINGTABLE\nBEGIN\n";
    for (const ResourceString& string : strings) {
      const auto text = WideLiteral(string.text);
      if (!text) return std::nullopt;
      script += "  " + std::to_string(string.id) + ", " + *text + "\n";
    }
    script += "END\n";
  }
  return script;
}

}  // namespace pv14
