#include "platform/DriveTable.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <utility>

#include "platform/Encoding.h"
#include "platform/ShiftJisSearch.h"
#include "platform/WindowsPath.h"

namespace pv14 {
namespace {

constexpr std::string_view kDefaultTable = "Z=/";

constexpr std::array<std::pair<std::string_view, DriveType>, 6> kTypeNames = {{
    {"fixed", DriveType::kFixed},
    {"removable", DriveType::kRemovable},
    {"remote", DriveType::kRemote},
    {"cdrom", DriveType::kCdRom},
    {"ramdisk", DriveType::kRamDisk},
    {"unknown", DriveType::kUnknown},
}};

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// Splits a slash-separated POSIX path into its names, resolving "." and ".."
// lexically and never above the root.
std::vector<std::string> PosixComponents(std::string_view path) {
  std::vector<std::string> parts;
  std::size_t i = 0;
  while (i <= path.size()) {
    std::size_t end = path.find('/', i);
    if (end == std::string_view::npos) end = path.size();
    std::string_view part = path.substr(i, end - i);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.emplace_back(part);
    }
    i = end + 1;
  }
  return parts;
}

std::string JoinPosix(const std::vector<std::string>& parts) {
  if (parts.empty()) return "/";
  std::string joined;
  for (const auto& part : parts) joined += "/" + part;
  return joined;
}

// Splits the part of a Windows path after its root at single-byte
// separators (backslash or slash), resolving "." and ".." within the drive.
std::vector<std::string> WindowsComponents(std::string_view rest) {
  std::vector<std::string> parts;
  std::string current;
  auto flush = [&] {
    if (current == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!current.empty() && current != ".") {
      parts.push_back(current);
    }
    current.clear();
  };
  for (std::size_t i = 0; i < rest.size();) {
    std::size_t n = sjis::CharLength(rest, i);
    if (n == 1 && winpath::IsSeparator(rest[i])) {
      flush();
    } else {
      current.append(rest.substr(i, n));
    }
    i += n;
  }
  flush();
  return parts;
}

std::optional<std::string> ParseKey(std::string_view key, std::string* error) {
  if (key.size() == 1 && winpath::IsDriveLetter(key[0])) return std::string(key);
  auto sjisKey = Utf8ToCp932(key);
  if (sjisKey && winpath::RootKey(*sjisKey) == *sjisKey && sjisKey->size() > 2) return sjisKey;
  *error = "\"" + std::string(key) + "\" is neither a drive letter nor \\\\server\\share";
  return std::nullopt;
}

std::optional<DriveTable::Entry> ParseEntry(std::string_view text, std::string* error) {
  std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) {
    *error = "no '=' in \"" + std::string(text) + "\"";
    return std::nullopt;
  }
  DriveTable::Entry entry;
  auto key = ParseKey(Trim(text.substr(0, equals)), error);
  if (!key) return std::nullopt;
  entry.key = *key;
  std::string_view target = Trim(text.substr(equals + 1));
  // The type, when given, follows the last comma, so a folder may hold
  // commas if its type is written out.
  std::size_t comma = target.rfind(',');
  if (comma != std::string_view::npos) {
    std::string_view typeName = Trim(target.substr(comma + 1));
    bool known = false;
    for (const auto& [name, type] : kTypeNames) {
      if (name == typeName) {
        entry.type = type;
        known = true;
      }
    }
    if (!known) {
      *error = "unknown drive type \"" + std::string(typeName) + "\"";
      return std::nullopt;
    }
    target = Trim(target.substr(0, comma));
  }
  if (target.empty() || target.front() != '/') {
    *error = "\"" + std::string(target) + "\" is not an absolute folder";
    return std::nullopt;
  }
  entry.posixRoot = JoinPosix(PosixComponents(target));
  return entry;
}

bool IsUnc(const DriveTable::Entry& entry) { return entry.key.size() > 1; }

// The root of a covered path in Windows form, ending with a backslash.
std::string WindowsRoot(const DriveTable::Entry& entry) {
  return IsUnc(entry) ? entry.key + "\\" : entry.key + ":\\";
}

}  // namespace

std::optional<DriveTable> DriveTable::Parse(const std::string& text, std::string* error) {
  std::string ignored;
  if (error == nullptr) error = &ignored;
  DriveTable table;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(';', start);
    if (end == std::string::npos) end = text.size();
    std::string_view item = Trim(std::string_view(text).substr(start, end - start));
    start = end + 1;
    if (item.empty()) continue;
    auto entry = ParseEntry(item, error);
    if (!entry) return std::nullopt;
    for (const auto& existing : table.entries_) {
      if (sjis::EqualsNoCase(existing.key, entry->key)) {
        *error = "\"" + std::string(item) + "\" names a drive a second time";
        return std::nullopt;
      }
    }
    table.entries_.push_back(std::move(*entry));
  }
  // A text of separators and blanks alone is as odd a value as a broken
  // entry: no path would map, and nothing would say why. Only the empty
  // text is the empty table.
  if (table.entries_.empty() && !text.empty()) {
    *error = "\"" + text + "\" names no drive";
    return std::nullopt;
  }
  return table;
}

const DriveTable& DriveTable::FromEnvironment() {
  static const DriveTable table = [] {
    const char* text = std::getenv("PV14_DRIVES");
    if (text != nullptr && *text != '\0') {
      std::string error;
      if (auto parsed = Parse(text, &error)) return std::move(*parsed);
      std::fprintf(stderr, "PV14_DRIVES: %s; using %s\n", error.c_str(), kDefaultTable.data());
    }
    return *Parse(std::string(kDefaultTable), nullptr);
  }();
  return table;
}

const DriveTable::Entry* DriveTable::Find(const std::string& windowsPath) const {
  std::string_view key = winpath::RootKey(windowsPath);
  if (key.empty()) return nullptr;
  for (const auto& entry : entries_) {
    if (sjis::EqualsNoCase(entry.key, key)) return &entry;
  }
  return nullptr;
}

std::optional<std::string> DriveTable::ToPosix(const std::string& windowsPath) const {
  const Entry* entry = Find(windowsPath);
  if (entry == nullptr) return std::nullopt;
  std::string_view rest =
      std::string_view(windowsPath).substr(winpath::RootKey(windowsPath).size());
  if (!IsUnc(*entry)) {
    rest.remove_prefix(1);  // the colon
    // "Z:" and "Z:name" are relative to the drive's current folder.
    if (rest.empty() || !winpath::IsSeparator(rest[0])) return std::nullopt;
  }
  std::string joined;
  for (const auto& part : WindowsComponents(rest)) {
    if (!joined.empty()) joined += '/';
    joined += part;
  }
  auto utf8 = Cp932ToUtf8(joined);
  if (!utf8) return std::nullopt;
  if (utf8->empty()) return entry->posixRoot;
  return entry->posixRoot == "/" ? "/" + *utf8 : entry->posixRoot + "/" + *utf8;
}

const DriveTable::Entry* DriveTable::Covering(const std::string& posixPath) const {
  if (posixPath.empty() || posixPath.front() != '/') return nullptr;
  std::vector<std::string> parts = PosixComponents(posixPath);
  const Entry* best = nullptr;
  std::size_t bestDepth = 0;
  for (const auto& entry : entries_) {
    std::vector<std::string> root = PosixComponents(entry.posixRoot);
    bool covers =
        root.size() <= parts.size() && std::equal(root.begin(), root.end(), parts.begin());
    if (covers && (best == nullptr || root.size() > bestDepth)) {
      best = &entry;
      bestDepth = root.size();
    }
  }
  return best;
}

std::optional<std::string> DriveTable::ToWindows(const std::string& posixPath) const {
  const Entry* best = Covering(posixPath);
  if (best == nullptr) return std::nullopt;
  std::vector<std::string> parts = PosixComponents(posixPath);
  const std::size_t rootDepth = PosixComponents(best->posixRoot).size();
  std::string result = WindowsRoot(*best);
  for (std::size_t i = rootDepth; i < parts.size(); ++i) {
    auto name = Utf8ToCp932(parts[i]);
    // A name that does not come back unchanged, or that would hold a
    // separator in Windows form, cannot be named there.
    if (!name || Cp932ToUtf8(*name) != parts[i] ||
        sjis::FindSingleByte(*name, '\\') != std::string::npos) {
      return std::nullopt;
    }
    if (i > rootDepth) result += '\\';
    result += *name;
  }
  return result;
}

}  // namespace pv14
