#include "platform/console/ConsoleIo.h"

#include "platform/Encoding.h"

namespace pv14 {

std::optional<std::string> ConsoleIo::ReadLine() {
  std::string line;
  if (!std::getline(in_, line)) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

void ConsoleIo::WriteLine(std::string_view utf8) {
  EndStatus();
  out_ << utf8 << '\n';
  out_.flush();
}

void ConsoleIo::WriteStatus(std::string_view utf8) {
  // Back to the line's start and clear what the last status left there.
  out_ << '\r' << utf8 << "\x1b[K";
  out_.flush();
  statusOpen_ = true;
}

void ConsoleIo::EndStatus() {
  if (!statusOpen_) return;
  out_ << '\n';
  out_.flush();
  statusOpen_ = false;
}

std::string ConsoleIo::ToDisplay(std::string_view sjis, bool keepLineBreaks) {
  return Escaped(Cp932ToUtf8Lossy(sjis), keepLineBreaks);
}

std::string ConsoleIo::Escaped(std::string_view utf8, bool keepLineBreaks) {
  std::string shown;
  // UTF-8 lead and continuation bytes are all 0x80 or more, so every byte
  // below 0x20 and every 0x7F is a control character of its own.
  for (char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 0x20 && byte != 0x7F) || (c == '\n' && keepLineBreaks)) {
      shown += c;
    } else {
      // U+2400 + byte, or U+2421 for DEL, in UTF-8.
      const unsigned picture = byte == 0x7F ? 0x21 : byte;
      shown += "\xE2";
      shown += static_cast<char>(0x90 + (picture >> 6));
      shown += static_cast<char>(0x80 + (picture & 0x3F));
    }
  }
  return shown;
}

}  // namespace pv14
