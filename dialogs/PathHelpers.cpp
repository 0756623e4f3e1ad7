#include "dialogs/PathHelpers.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/ShiftJisSearch.h"
#include "platform/WindowsPath.h"

namespace pv14 {
namespace {

constexpr std::string_view kRefusedCharacters = "/:,;*?\"><|";

using sjis::FindLastSingleByte;
using sjis::FindSingleByte;

// Two separators in a row starting at or after from.
bool HasDoubledBackslash(std::string_view text, std::size_t from) {
  for (std::size_t i = 0; i < text.size(); i += sjis::CharLength(text, i)) {
    if (i >= from && text[i] == '\\' && sjis::CharLength(text, i) == 1 && i + 1 < text.size() &&
        text[i + 1] == '\\') {
      return true;
    }
  }
  return false;
}

// A folder reduced, with a trailing separator, split into its root (with a
// trailing backslash) and the rest after the root.
struct RootedFolder {
  std::string root;
  std::string rest;
};

std::optional<RootedFolder> SplitRootedFolder(Env& env, std::string_view path) {
  std::string folder(path);
  if (folder.empty() || !ReduceToFolder(folder) || folder.empty() ||
      !AddTrailingBackslash(folder, kPathBufferSize)) {
    return std::nullopt;
  }
  std::optional<std::size_t> skip = env.PathSkipRoot(folder);
  if (!skip || *skip > folder.size()) return std::nullopt;
  RootedFolder split;
  if (!CopyRoot(env, folder, split.root, kPathBufferSize) ||
      !AddTrailingBackslash(split.root, kPathBufferSize)) {
    return std::nullopt;
  }
  split.rest = folder.substr(*skip);
  return split;
}

// Every level of the folder below its root, shallowest first, each with a
// trailing backslash; nullopt when one would not fit a path buffer.
std::optional<std::vector<std::string>> FolderLevels(const RootedFolder& folder) {
  std::vector<std::string> levels;
  std::string_view rest = folder.rest;
  for (std::size_t i = 0; i < rest.size();) {
    std::size_t n = sjis::CharLength(rest, i);
    if (n == 1 && rest[i] == '\\') {
      std::string level = folder.root;
      level.append(rest.substr(0, i));
      level += '\\';
      if (level.size() > kMaxPathBytes) return std::nullopt;
      levels.push_back(std::move(level));
    }
    i += n;
  }
  return levels;
}

}  // namespace

bool IsDoubleByteAt(std::string_view text, std::size_t pos) {
  return sjis::IsDoubleByteAt(text, pos);
}

bool IsValidPathText(std::string_view path) {
  // No name may hold a control character, wherever it stands: Windows
  // refuses them, and a terminal would act on them.
  for (char c : path) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  }
  std::string_view checked;
  if (winpath::IsUnc(path)) {
    if (HasDoubledBackslash(path, 3)) return false;
    checked = path.substr(2);
  } else {
    if (HasDoubledBackslash(path, 0)) return false;
    std::size_t colon = FindSingleByte(path, ':');
    checked = colon == std::string_view::npos ? path : path.substr(colon + 1);
  }
  for (char refused : kRefusedCharacters) {
    if (FindSingleByte(checked, refused) != std::string_view::npos) return false;
  }
  return true;
}

bool IsValidDrive(Env& env, std::string_view path) {
  if (path.empty()) return false;
  if (winpath::IsUnc(path)) {
    // The share counts only with the separator after it.
    std::optional<std::size_t> share = winpath::ShareLength(path);
    if (!share || *share == path.size()) return false;
    return env.Access(std::string(path.substr(0, *share)), kAccessReadWrite);
  }
  if (HasDoubledBackslash(path, 0)) return false;
  return IsUsableDriveLetter(env, path[0], kAccessReadWrite);
}

bool IsUsableDriveLetter(Env& env, char letter, int mode) {
  int index = (letter >= 'A' && letter <= 'Z') ? letter - 'A' : letter - 'a';
  if (index < 0 || index > 25) return false;
  const std::string root = winpath::DriveRoot(static_cast<char>('A' + index));
  switch (static_cast<std::uint32_t>(env.GetDriveType(root)) & 0xFFFF) {
    case static_cast<std::uint32_t>(DriveType::kUnknown):
    case static_cast<std::uint32_t>(DriveType::kCdRom):
    case static_cast<std::uint32_t>(DriveType::kRamDisk):
      return false;
    case static_cast<std::uint32_t>(DriveType::kRemovable):
    case static_cast<std::uint32_t>(DriveType::kFixed):
    case static_cast<std::uint32_t>(DriveType::kRemote):
      return env.Access(root, mode);
    default:  // no volume behind the letter, or a type of the future
      return true;
  }
}

std::string SplitFolder(std::string_view path) {
  std::size_t p = FindLastSingleByte(path, '\\');
  return p == std::string_view::npos ? std::string() : std::string(path.substr(0, p + 1));
}

std::string SplitFileName(std::string_view path) {
  std::size_t p = FindLastSingleByte(path, '\\');
  return std::string(p == std::string_view::npos ? path : path.substr(p + 1));
}

std::string SplitDrive(std::string_view path) {
  std::size_t p = FindLastSingleByte(path, ':');
  return p == std::string_view::npos ? std::string() : std::string(path.substr(0, p + 1));
}

std::string SplitAfterDrive(std::string_view path) {
  std::size_t p = FindLastSingleByte(path, ':');
  return std::string(p == std::string_view::npos ? path : path.substr(p + 1));
}

bool AddTrailingBackslash(std::string& text, std::size_t size) {
  // A text the buffer could not hold is refused even when it already ends
  // with a separator.
  if (text.empty() || size == 0 || text.size() > size - 1) return false;
  std::size_t last = text.size() - 1;
  if (text[last] == '\\' && !IsDoubleByteAt(text, last)) return true;
  // A first byte standing alone would pair with the backslash into one
  // character, and the text would still end without a separator.
  if (sjis::IsLeadByte(static_cast<unsigned char>(text[last])) && !IsDoubleByteAt(text, last)) {
    return false;
  }
  if (size == 0 || text.size() >= size - 1) return false;
  text += '\\';
  return true;
}

bool ReduceToFolder(std::string& path) {
  if (path.empty() || path.size() > kMaxPathBytes) return false;
  // The runtime library's splitter: an optional "X:" drive, then everything
  // up to the last separator (either slash) as the directory.
  std::size_t dirStart = (path.size() >= 2 && path[1] == ':') ? 2 : 0;
  std::string_view afterDrive = std::string_view(path).substr(dirStart);
  std::size_t lastBackslash = FindLastSingleByte(afterDrive, '\\');
  std::size_t lastSlash = FindLastSingleByte(afterDrive, '/');
  std::size_t dirEnd = 0;
  if (lastBackslash != std::string_view::npos) dirEnd = lastBackslash + 1;
  if (lastSlash != std::string_view::npos && lastSlash + 1 > dirEnd) dirEnd = lastSlash + 1;
  std::string folder = path.substr(0, dirStart + dirEnd);
  if (folder.empty()) return false;
  std::size_t last = folder.size() - 1;
  bool endsWithSeparator = folder[last] == '\\' && !IsDoubleByteAt(folder, last);
  if (!endsWithSeparator && folder.size() < path.size()) folder += '\\';
  path = std::move(folder);
  return true;
}

bool IsExistingFolder(Env& env, std::string_view path) {
  std::string folder(path);
  if (!ReduceToFolder(folder)) return false;
  return env.PathIsDirectory(folder);
}

bool CopyRoot(Env& env, std::string_view path, std::string& out, std::size_t size) {
  if (path.empty() || path.size() >= size) return false;
  std::string root(path);
  if (!env.PathStripToRoot(root)) return false;
  out = std::move(root);
  return true;
}

bool CreateFolderChain(Env& env, std::string_view folder) {
  std::optional<RootedFolder> split = SplitRootedFolder(env, folder);
  // A drive's root cannot be created: a drive with none fails here, as on
  // Windows, before the first level is tried.
  if (!split || !env.PathIsDirectory(split->root)) return false;
  // Every level is measured before the first one is created, so a chain too
  // long for a path buffer fails without leaving anything behind.
  std::optional<std::vector<std::string>> levels = FolderLevels(*split);
  if (!levels) return false;
  std::string lastExisting = split->root;
  bool createdAny = false;
  for (const std::string& level : *levels) {
    if (IsExistingFolder(env, level)) {
      // A level found after one this call made (an empty name between two
      // separators names the same folder) is still this call's to remove.
      if (!createdAny) lastExisting = level;
    } else if (!env.CreateDirectory(level)) {
      RemoveCreatedFolders(env, level, lastExisting);
      return false;
    } else {
      createdAny = true;
    }
  }
  return true;
}

bool RemoveCreatedFolders(Env& env, std::string_view path, std::string_view lastExisting) {
  std::optional<RootedFolder> created = SplitRootedFolder(env, path);
  std::optional<RootedFolder> kept = SplitRootedFolder(env, lastExisting);
  if (!created || !kept) return false;
  const std::string& restA = created->rest;
  const std::string& restB = kept->rest;
  if (!sjis::EqualsNoCase(created->root, kept->root) || restA.size() < restB.size() ||
      !sjis::EqualsNoCase(std::string_view(restA).substr(0, restB.size()), restB)) {
    return false;
  }
  // Deepest first, stopping where the folder that existed before begins.
  for (std::ptrdiff_t n = static_cast<std::ptrdiff_t>(restA.size()) - 1; n > 0;) {
    std::size_t at = static_cast<std::size_t>(n);
    if (IsDoubleByteAt(restA, at)) {
      n -= 2;
      continue;
    }
    if (restA[at] == '\\') {
      if (restB.size() >= at &&
          sjis::EqualsNoCase(std::string_view(restA).substr(0, at), restB.substr(0, at))) {
        break;
      }
      std::string level = created->root + restA.substr(0, at) + '\\';
      if (level.size() > kMaxPathBytes) return false;
      if (IsExistingFolder(env, level) && !env.RemoveDirectory(level)) return false;
    }
    n -= 1;
  }
  return true;
}

}  // namespace pv14
