// The last-used settings: one LF-ended line per user and data record,
// "<user>/<key no>/<data no>:0/0/<income kind>/<path>", in the engine's
// settings folder. A rewrite goes to a file beside the old one and is renamed
// over it, so a failure at any step leaves the old file as it was.
#include <array>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "dialogs/ConditionDialog.h"
#include "dialogs/PathHelpers.h"

namespace pv14 {
namespace {

constexpr std::size_t kReadChunk = 4096;

std::optional<std::string> ReadWholeFile(Env& env, const std::string& path, unsigned flags) {
  std::optional<FileStatus> status = env.GetFileStatus(path);
  if (!status || status->isDirectory) return std::nullopt;
  std::unique_ptr<File> file = env.NewFile();
  if (!file || !file->Open(path, flags)) return std::nullopt;
  std::string content;
  try {
    content.reserve(status->size);
    for (;;) {
      std::size_t old = content.size();
      // The file's size and a byte, so that one read usually reaches its end
      // without a large zeroed chunk; a file that grows meanwhile is read on.
      const std::size_t chunk = old < status->size ? status->size - old + 1 : kReadChunk;
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

// Writes the parts, in order, into a file beside target and renames it over
// target. On failure the temporary file is removed and target is untouched.
bool WriteReplacing(Env& env, const std::string& target,
                    const std::array<std::string_view, 4>& parts) {
  const std::string temporary = target + ".tmp";
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
  std::string folder = AppFolderPath(1);
  if (folder.empty()) return false;
  if (!IsExistingFolder(env_, folder) && !CreateFolderChain(env_, folder)) return false;
  const std::string file = SettingsFilePath(folder);

  std::string line = key;
  for (int number : {static_cast<int>(first), static_cast<int>(second), static_cast<int>(kind)}) {
    line += std::to_string(number);
    line += '/';
  }
  line += path ? *path : SavedOutputPath;
  line += '\n';

  if (!env_.GetFileStatus(file)) return WriteReplacing(env_, file, {"", "", "", line});

  // Opened for reading and writing, as the rewrite needs: a file that cannot
  // be written is left alone.
  std::optional<std::string> content = ReadWholeFile(env_, file, File::kReadWrite);
  if (!content) return false;
  std::string_view old = *content;
  std::string_view head = old;
  std::string_view tail;
  if (std::optional<std::size_t> hit = FindKeyLine(old, key)) {
    // The key's line moves to the end; the lines around it keep their bytes.
    head = old.substr(0, *hit);
    std::size_t lineEnd = old.find('\n', *hit);
    if (lineEnd != std::string_view::npos) tail = old.substr(lineEnd + 1);
  }
  // A last line cut short of its LF gets one, so the new line stays its own.
  std::string_view kept = tail.empty() ? head : tail;
  std::string_view lineBreak = !kept.empty() && kept.back() != '\n' ? "\n" : "";
  return WriteReplacing(env_, file, {head, tail, lineBreak, line});
}

}  // namespace pv14
