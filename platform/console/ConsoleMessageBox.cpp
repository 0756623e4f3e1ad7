#include "platform/console/ConsoleMessageBox.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "platform/Types.h"

namespace pv14 {
namespace {

constexpr std::uint32_t kButtonMask = 0x0F;
constexpr std::uint32_t kIconMask = 0xF0;

std::string_view IconWord(std::uint32_t style) {
  switch (style & kIconMask) {
    case 0x10:
      return "error";
    case kMbIconQuestion:
      return "question";
    case kMbIconExclamation:
      return "warning";
    case kMbIconInformation:
      return "information";
    default:
      return "";
  }
}

std::string Normalized(std::string answer) {
  auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
  answer.erase(answer.begin(), std::find_if_not(answer.begin(), answer.end(), blank));
  answer.erase(std::find_if_not(answer.rbegin(), answer.rend(), blank).base(), answer.end());
  std::transform(answer.begin(), answer.end(), answer.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return answer;
}

int AskYesNo(ConsoleIo& io) {
  io.WriteLine("Yes or No? [Y/n]");
  while (auto line = io.ReadLine()) {
    std::string answer = Normalized(*line);
    if (answer.empty() || answer == "y" || answer == "yes") return kIdYes;
    if (answer == "n" || answer == "no") return kIdNo;
    io.WriteLine("please answer y (yes) or n (no)");
  }
  return kIdNo;
}

}  // namespace

int ShowConsoleMessageBox(ConsoleIo& io, const std::string& text, const std::string& caption,
                          std::uint32_t style) {
  io.CountMessageBox();
  std::string heading = "[" + ConsoleIo::ToDisplay(caption) + "]";
  std::string_view icon = IconWord(style);
  if (!icon.empty()) heading += " (" + std::string(icon) + ")";
  io.WriteLine(heading);
  io.WriteLine(ConsoleIo::ToDisplay(text, true));
  if ((style & kButtonMask) == kMbYesNo) return AskYesNo(io);
  return kIdOk;
}

}  // namespace pv14
