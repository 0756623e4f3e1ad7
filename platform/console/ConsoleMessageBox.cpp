#include "platform/console/ConsoleMessageBox.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "platform/MessageBoxStyle.h"

namespace pv14 {
namespace {

std::string_view IconWord(std::uint32_t style) {
  switch (IconOf(style)) {
    case MessageIcon::kError:
      return "error";
    case MessageIcon::kQuestion:
      return "question";
    case MessageIcon::kWarning:
      return "warning";
    case MessageIcon::kInformation:
      return "information";
    case MessageIcon::kNone:
      break;
  }
  return "";
}

std::string Normalized(std::string answer) {
  auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
  answer.erase(answer.begin(), std::find_if_not(answer.begin(), answer.end(), blank));
  answer.erase(std::find_if_not(answer.rbegin(), answer.rend(), blank).base(), answer.end());
  std::transform(answer.begin(), answer.end(), answer.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return answer;
}

int AskYesNo(ConsoleIo& io, std::uint32_t style) {
  io.WriteLine("Yes or No? [Y/n]");
  while (auto line = io.ReadLine()) {
    std::string answer = Normalized(*line);
    if (answer.empty() || answer == "y" || answer == "yes") return kIdYes;
    if (answer == "n" || answer == "no") return kIdNo;
    io.WriteLine("please answer y (yes) or n (no)");
  }
  return UnansweredAnswer(style);
}

}  // namespace

int ShowConsoleMessageBox(ConsoleIo& io, const std::string& text, const std::string& caption,
                          std::uint32_t style) {
  std::string heading = "[" + ConsoleIo::ToDisplay(caption) + "]";
  std::string_view icon = IconWord(style);
  if (!icon.empty()) heading += " (" + std::string(icon) + ")";
  io.WriteLine(heading);
  io.WriteLine(ConsoleIo::ToDisplay(text, true));
  if (AnswersOf(style).front() == kIdYes) return AskYesNo(io, style);
  return kIdOk;
}

}  // namespace pv14
