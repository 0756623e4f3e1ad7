#include "platform/WindowsPath.h"

#include "platform/ShiftJis.h"
#include "platform/ShiftJisSearch.h"

namespace pv14::winpath {

std::optional<std::size_t> ShareLength(std::string_view path) {
  if (!IsUnc(path)) return std::nullopt;
  const std::size_t serverEnd = sjis::FindSingleByte(path, '\\', 2);
  if (serverEnd == std::string_view::npos || serverEnd == 2) return std::nullopt;
  std::size_t shareEnd = sjis::FindSingleByte(path, '\\', serverEnd + 1);
  if (shareEnd == std::string_view::npos) shareEnd = path.size();
  if (shareEnd == serverEnd + 1) return std::nullopt;
  return shareEnd;
}

std::string_view RootKey(std::string_view path) {
  if (IsUnc(path)) {
    std::optional<std::size_t> share = ShareLength(path);
    return share ? path.substr(0, *share) : std::string_view();
  }
  return HasDrive(path) ? path.substr(0, 1) : std::string_view();
}

std::optional<std::size_t> SkipRoot(std::string_view path) {
  if (IsUnc(path)) {
    std::optional<std::size_t> share = ShareLength(path);
    if (!share) return std::nullopt;
    return *share == path.size() ? *share : *share + 1;
  }
  if (path.size() >= 3 && HasDrive(path) && path[2] == '\\') return 3;
  return std::nullopt;
}

bool MatchesPattern(std::string_view name, std::string_view pattern) {
  const auto same = [&](std::size_t n, std::size_t p) {
    if (pattern[p] == '?') return true;
    const std::size_t length = sjis::CharLength(name, n);
    if (length != sjis::CharLength(pattern, p)) return false;
    return sjis::EqualsNoCase(name.substr(n, length), pattern.substr(p, length));
  };
  // Walks both texts by whole characters; on a mismatch the last star takes
  // one more character of the name.
  constexpr std::size_t kNone = std::string_view::npos;
  std::size_t n = 0, p = 0, afterStar = kNone, starName = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      afterStar = ++p;
      starName = n;
    } else if (p < pattern.size() && same(n, p)) {
      n += sjis::CharLength(name, n);
      p += sjis::CharLength(pattern, p);
    } else if (afterStar != kNone) {
      starName += sjis::CharLength(name, starName);
      n = starName;
      p = afterStar;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::string DropTrailingDotsAndBlanks(std::string_view path) {
  // Neither byte is ever the second byte of a double-byte character, so a
  // name's end is found byte by byte once its separator is.
  const std::size_t start = SkipRoot(path).value_or(HasDrive(path) ? 2 : 0);
  std::string out(path.substr(0, start));
  std::size_t nameStart = start;
  const auto flush = [&](std::size_t end) {
    std::string_view name = path.substr(nameStart, end - nameStart);
    if (name != "." && name != "..") {
      std::size_t keep = name.size();
      while (keep > 0 && (name[keep - 1] == ' ' || name[keep - 1] == '.')) --keep;
      if (keep > 0) name = name.substr(0, keep);
    }
    out.append(name);
  };
  for (std::size_t i = start; i < path.size(); i += sjis::CharLength(path, i)) {
    if (sjis::CharLength(path, i) == 1 && IsSeparator(path[i])) {
      flush(i);
      out += path[i];
      nameStart = i + 1;
    }
  }
  flush(path.size());
  return out;
}

}  // namespace pv14::winpath
