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

std::string ConsoleIo::ToDisplay(std::string_view sjis) { return Cp932ToUtf8Lossy(sjis); }

std::optional<std::string> ConsoleIo::FromInput(std::string_view utf8) { return Utf8ToCp932(utf8); }

}  // namespace pv14
