#include "platform/console/ConsoleIo.h"

#include <cstdio>

#include "platform/Encoding.h"

namespace pv14 {

bool StreamEnds::ReadLine(std::string* line) { return static_cast<bool>(std::getline(in_, *line)); }

void StreamEnds::Write(std::string_view bytes) {
  out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out_.flush();
}

bool StandardEnds::ReadLine(std::string* line) {
  line->clear();
  int c = 0;
  while ((c = std::getc(stdin)) != EOF && c != '\n') line->push_back(static_cast<char>(c));
  // As getline: a last line without its line feed still counts.
  return c == '\n' || !line->empty();
}

void StandardEnds::Write(std::string_view bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stderr);
  std::fflush(stderr);
}

std::optional<std::string> ConsoleIo::ReadLine() {
  std::string line;
  if (!ends_->ReadLine(&line)) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

void ConsoleIo::WriteLine(std::string_view utf8) {
  EndStatus();
  std::string line;
  line.reserve(utf8.size() + 1);
  line.append(utf8).push_back('\n');
  ends_->Write(line);
}

void ConsoleIo::WritePrompt(std::string_view utf8) {
  EndStatus();
  ends_->Write(utf8);
}

void ConsoleIo::WriteStatus(std::string_view utf8) {
  // Back to the line's start and clear what the last status left there.
  std::string status = "\r";
  status.append(utf8).append("\x1b[K");
  ends_->Write(status);
  statusOpen_ = true;
}

void ConsoleIo::EndStatus() {
  if (!statusOpen_) return;
  ends_->Write("\n");
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
