#include "platform/WindowsPath.h"

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

}  // namespace pv14::winpath
