// The last-used settings: one LF-ended line per user and data record,
// "<user>/<key no>/<data no>:0/0/<income kind>/<path>", in the engine's
// settings folder. A rewrite goes to a file beside the old one and is renamed
// over it, so a failure at any step leaves the old file as it was. Runs of
// both editions and of several users may save at once: each save reads,
// rewrites and renames under a lock on "<file>.lock", through a temporary
// "<file>.<process id>.tmp" of its own.
#include <algorithm>
#include <array>
#include <cstdint>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "dialogs/ConditionDialog.h"
#include "dialogs/PathHelpers.h"

namespace pv14 {
namespace {

constexpr std::size_t kReadChunk = 4096;
// A size the system reports beyond this is read in steps.
constexpr std::uint64_t kLargestRead = 64 * 1024 * 1024;

// The whole file; nullopt when it cannot be opened with flags (missing, a
// folder) or read.
std::optional<std::string> ReadWholeFile(Env& env, const std::string& path, unsigned flags) {
  std::unique_ptr<File> file = env.NewFile();
  if (!file || !file->Open(path, flags)) return std::nullopt;
  // The size only saves reads: the file may change until it is read whole.
  const std::optional<FileStatus> status = env.GetFileStatus(path);
  const std::uint64_t expected = status ? status->size : 0;
  std::string content;
  try {
    for (;;) {
      std::size_t old = content.size();
      // The file's size and a byte, so that one read usually reaches its end
      // without a large zeroed chunk; a file that grows meanwhile is read on.
      std::size_t chunk = kReadChunk;
      if (old < expected) {
        chunk = static_cast<std::size_t>(std::min<std::uint64_t>(expected - old, kLargestRead)) + 1;
      }
      content.resize(old + chunk);
      std::size_t got = 0;
      if (!file->Read(content.data() + old, chunk, &got) || got > chunk) {
        file->Close();
        return std::nullopt;
      }
      content.resize(old + got);
      if (got == 0) break;
    }
  } catch (const std::bad_alloc&) {
    file->Close();
    return std::nullopt;
  }
  file->Close();
  return content;
}

// Offset of the first line that begins with key. A key inside another line
// (a user id ending with another user's id) is not a hit.
std::optional<std::size_t> FindKeyLine(std::string_view content, std::string_view key) {
  std::size_t start = 0;
  while (start < content.size()) {
    if (content.substr(start, key.size()) == key) return start;
    std::size_t lf = content.find('\n', start);
    if (lf == std::string_view::npos) break;
    start = lf + 1;
  }
  return std::nullopt;
}

// The stored path of the line at hit: after the last slash of its value.
std::optional<std::string_view> StoredPath(std::string_view content, std::size_t hit,
                                           std::size_t keySize) {
  std::string_view line = content.substr(hit + keySize);
  line = line.substr(0, line.find('\n'));
  const std::size_t slash = line.rfind('/');
  if (slash == std::string_view::npos) return std::nullopt;
  return line.substr(slash + 1);
}

// Writes the parts, in order, into the temporary file and renames it over
// target. On failure the temporary file is removed and target is untouched.
bool WriteReplacing(Env& env, const std::string& target, const std::string& temporary,
                    const std::array<std::string_view, 4>& parts) {
  std::unique_ptr<File> file = env.NewFile();
  bool written = file && file->Open(temporary, File::kCreate | File::kWrite);
  for (std::size_t i = 0; written && i < parts.size(); ++i) {
    if (!parts[i].empty()) written = file->Write(parts[i].data(), parts[i].size());
  }
  if (file) file->Close();
  if (written && env.ReplaceFile(temporary, target)) return true;
  env.DeleteFile(temporary);
  return false;
}

}  // namespace

std::string ConditionDialog::SettingsKey() const {
  // The id is used whole, however long: no other user's key is a cut of it.
  std::string key = CurrentUserId;
  key += '/';
  key += std::to_string(SelectedKeyNo);
  key += '/';
  key += std::to_string(SelectedDataNo);
  key += ':';
  return key;
}

std::string ConditionDialog::SettingsFilePath(const std::string& folder) const {
  return folder + settingsFileName_;
}

bool ConditionDialog::LoadSettings(std::int16_t& kind, std::string& path) {
  std::string folder = AppFolderPath(1);
  if (folder.empty()) return false;
  std::optional<std::string> content = ReadWholeFile(env_, SettingsFilePath(folder), File::kRead);
  if (!content) return false;
  const std::string key = SettingsKey();
  std::optional<std::size_t> hit = FindKeyLine(*content, key);
  if (!hit) return false;

  std::size_t valueStart = *hit + key.size();
  std::size_t lf = content->find('\n', valueStart);
  if (lf == std::string::npos) return false;
  std::string_view value = std::string_view(*content).substr(valueStart, lf - valueStart);
  std::size_t slash = value.rfind('/');
  if (slash == std::string_view::npos) return false;

  // One digit ends at the last slash; anything else reads as 0.
  char digit = slash > 0 ? value[slash - 1] : '\0';
  kind = (digit >= '0' && digit <= '9') ? static_cast<std::int16_t>(digit - '0') : 0;
  // A remembered path that would not fit a path buffer is not offered.
  std::string_view saved = value.substr(slash + 1);
  path = saved.size() <= kMaxPathBytes ? std::string(saved) : std::string();
  return true;
}

bool ConditionDialog::SaveSettings(std::int16_t first, std::int16_t second, std::int16_t kind,
                                   const std::optional<std::string>& path) {
  const std::string key = SettingsKey();
  // A line break inside the line would make a line of some other key.
  if (key.find('\n') != std::string::npos || (path && path->find('\n') != std::string::npos)) {
    return false;
  }
  std::string folder = AppFolderPath(1);
  if (folder.empty()) return false;
  if (!IsExistingFolder(env_, folder) && !CreateFolderChain(env_, folder)) return false;
  const std::string file = SettingsFilePath(folder);

  // From here to the rename no other save may read or write the file.
  std::unique_ptr<FileLock> lock = env_.LockFile(file + ".lock");
  if (!lock) return false;
  // Nobody else is saving now: a temporary still there was left by a save
  // that was killed.
  for (const std::string& left : env_.FindFiles(file + ".*.tmp")) env_.DeleteFile(folder + left);

  // Opened for reading and writing, as the rewrite needs: a file that cannot
  // be written is left alone. Only a file that is not there starts empty.
  std::optional<std::string> read = ReadWholeFile(env_, file, File::kReadWrite);
  if (!read && env_.PathFileExists(file)) return false;
  std::string content = read ? std::move(*read) : std::string();
  std::string_view old = content;
  std::string_view head = old;
  std::string_view tail;
  std::optional<std::string_view> stored;
  if (std::optional<std::size_t> hit = FindKeyLine(old, key)) {
    stored = StoredPath(old, *hit, key.size());
    // The key's line moves to the end; the lines around it keep their bytes.
    head = old.substr(0, *hit);
    std::size_t lineEnd = old.find('\n', *hit);
    if (lineEnd != std::string_view::npos) tail = old.substr(lineEnd + 1);
  }

  std::string line = key;
  for (int number : {static_cast<int>(first), static_cast<int>(second), static_cast<int>(kind)}) {
    line += std::to_string(number);
    line += '/';
  }
  // Without a path the stored one stays as it is, even one too long to have
  // been offered.
  if (path) {
    line += *path;
  } else if (stored) {
    line += *stored;
  } else {
    line += SavedOutputPath;
  }
  line += '\n';

  // A last line cut short of its LF gets one, so the new line stays its own.
  std::string_view kept = tail.empty() ? head : tail;
  std::string_view lineBreak = !kept.empty() && kept.back() != '\n' ? "\n" : "";
  // A file that would keep its bytes is left alone: no write, no sync.
  if (read && head.size() + tail.size() + lineBreak.size() + line.size() == old.size() &&
      old.starts_with(head) && old.substr(head.size()).starts_with(tail) &&
      old.substr(head.size() + tail.size()).starts_with(lineBreak) && old.ends_with(line)) {
    return true;
  }
  const std::string temporary = file + "." + std::to_string(env_.GetCurrentProcessId()) + ".tmp";
  return WriteReplacing(env_, file, temporary, {head, tail, lineBreak, line});
}

}  // namespace pv14
