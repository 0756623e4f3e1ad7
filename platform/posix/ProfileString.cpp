#include "platform/posix/ProfileString.h"

#include "platform/ShiftJisSearch.h"

namespace pv14 {
namespace {

std::string_view TrimBlanks(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && (blank(text.back()) || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// The name of a "[name]" line; nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
  if (line.empty() || line.front() != '[') return std::nullopt;
  std::size_t close = sjis::FindSingleByte(line, ']', 1);
  if (close == std::string_view::npos) return std::nullopt;
  return TrimBlanks(line.substr(1, close - 1));
}

}  // namespace

std::optional<std::string> FindProfileValue(std::string_view contents, std::string_view section,
                                            std::string_view key) {
  const std::string wantedSection = sjis::FoldCase(TrimBlanks(section));
  const std::string wantedKey = sjis::FoldCase(TrimBlanks(key));
  bool inSection = false;
  std::size_t start = 0;
  while (start < contents.size()) {
    std::size_t end = contents.find('\n', start);
    if (end == std::string_view::npos) end = contents.size();
    std::string_view line = TrimBlanks(contents.substr(start, end - start));
    start = end + 1;
    if (line.empty() || line.front() == ';') continue;
    if (auto name = SectionName(line)) {
      inSection = sjis::FoldCase(*name) == wantedSection;
      continue;
    }
    if (!inSection) continue;
    std::size_t equals = sjis::FindSingleByte(line, '=');
    std::string_view lineKey = TrimBlanks(line.substr(0, equals));
    if (sjis::FoldCase(lineKey) != wantedKey) continue;
    if (equals == std::string_view::npos) return std::string();
    return std::string(Unquote(TrimBlanks(line.substr(equals + 1))));
  }
  return std::nullopt;
}

std::string ProfileResult(const std::optional<std::string>& value, std::string_view def,
                          std::size_t size) {
  if (size == 0) return {};
  std::string_view text = value ? std::string_view(*value) : def;
  if (!value) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  }
  return std::string(text.substr(0, sjis::FitLength(text, size - 1)));
}

}  // namespace pv14
