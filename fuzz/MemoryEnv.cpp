#include "fuzz/MemoryEnv.h"

#include <algorithm>

#include "platform/ShiftJis.h"
#include "platform/ShiftJisSearch.h"
#include "platform/WindowsPath.h"
#include "platform/posix/FullWidth.h"
#include "platform/posix/ProfileString.h"

namespace pv14::fuzzing {

constexpr char kCurrentFolder[] = "C:\\PROGRAM";

class MemoryFile : public File {
 public:
  explicit MemoryFile(MemoryEnv& env) : env_(env) {}

  bool Open(const std::string& path, unsigned flags) override {
    Close();
    const std::string key = env_.Key(path);
    if (key.empty()) return false;
    auto found = env_.nodes_.find(key);
    if (found == env_.nodes_.end()) {
      const MemoryEnv::Node* parent = env_.Find(env_.ParentKey(key));
      if (!(flags & kCreate) || parent == nullptr || !parent->isDirectory) return false;
      found = env_.nodes_.emplace(key, MemoryEnv::Node{}).first;
    }
    if (found->second.isDirectory) return false;
    if (flags & kCreate) found->second.content.clear();
    key_ = key;
    position_ = 0;
    return true;
  }
  bool Write(const void* data, std::size_t size) override {
    MemoryEnv::Node* node = Node();
    if (node == nullptr || ++env_.writes == env_.failWriteAt) return false;
    node->content.replace(position_, size, static_cast<const char*>(data), size);
    position_ += size;
    return true;
  }
  bool Read(void* buffer, std::size_t size, std::size_t* got) override {
    *got = 0;
    MemoryEnv::Node* node = Node();
    if (node == nullptr) return false;
    *got = node->content.copy(static_cast<char*>(buffer), size,
                              std::min(position_, node->content.size()));
    position_ += *got;
    return true;
  }
  void Close() override { key_.clear(); }
  bool IsOpen() const override { return !key_.empty(); }

 private:
  MemoryEnv::Node* Node() {
    auto found = env_.nodes_.find(key_);
    return key_.empty() || found == env_.nodes_.end() ? nullptr : &found->second;
  }

  MemoryEnv& env_;
  std::string key_;
  std::size_t position_ = 0;
};

namespace {

class MemoryLock : public FileLock {
 public:
  explicit MemoryLock(bool& held) : held_(held) { held_ = true; }
  ~MemoryLock() override { held_ = false; }

 private:
  bool& held_;
};

}  // namespace

MemoryEnv::MemoryEnv() {
  std::fill(std::begin(drives_), std::end(drives_), DriveType::kNoRootDir);
  SetDrive('C', DriveType::kFixed);
  AddFolder("C:\\PROGRAM");
  AddFolder("C:\\TEMP");
}

void MemoryEnv::SetDrive(char letter, DriveType type) {
  if (!winpath::IsDriveLetter(letter)) return;
  const char upper = static_cast<char>(letter & ~0x20);
  drives_[upper - 'A'] = type;
  const std::string root = sjis::FoldCase(std::string{upper, ':'});
  if (type == DriveType::kNoRootDir) {
    nodes_.erase(root);
  } else {
    nodes_[root] = Node{true, {}};
  }
}

void MemoryEnv::AddFolder(const std::string& path) {
  const std::string key = Key(path);
  if (key.empty() || Find(key.substr(0, 2)) == nullptr) return;
  for (std::size_t i = 0; i <= key.size(); i += i < key.size() ? sjis::CharLength(key, i) : 1) {
    if (i == key.size() || (key[i] == '\\' && sjis::CharLength(key, i) == 1)) {
      Node& node = nodes_[key.substr(0, i)];
      if (!node.isDirectory && !node.content.empty()) return;
      node.isDirectory = true;
    }
  }
}

void MemoryEnv::AddFile(const std::string& path, std::string content) {
  const std::string key = Key(path);
  const Node* parent = Find(ParentKey(key));
  if (key.empty() || parent == nullptr || !parent->isDirectory) return;
  Node& node = nodes_[key];
  if (!node.isDirectory) node.content = std::move(content);
}

std::string MemoryEnv::Key(const std::string& path) const {
  std::string absolute;
  if (winpath::HasDrive(path)) {
    absolute = path.substr(0, 2) + "\\" + path.substr(2);
  } else if (winpath::IsUnc(path)) {
    return {};  // no share is mounted here
  } else if (!path.empty() && path[0] == '\\') {
    absolute = "C:" + path;
  } else {
    absolute = kCurrentFolder + ("\\" + path);
  }
  // One backslash between names, none at the end.
  std::string key;
  for (std::size_t i = 0; i < absolute.size(); i += sjis::CharLength(absolute, i)) {
    const std::size_t n = sjis::CharLength(absolute, i);
    if (n == 1 && absolute[i] == '\\' && sjis::EndsWithSingleByte(key, '\\')) continue;
    key.append(absolute, i, n);
  }
  if (sjis::EndsWithSingleByte(key, '\\')) key.pop_back();
  return sjis::FoldCase(key);
}

std::string MemoryEnv::ParentKey(const std::string& key) const {
  const std::size_t slash = sjis::FindLastSingleByte(key, '\\');
  return slash == std::string::npos ? std::string() : key.substr(0, slash);
}

const MemoryEnv::Node* MemoryEnv::Find(const std::string& path) const {
  if (path.empty()) return nullptr;  // the parent of a root
  auto found = nodes_.find(path.size() == 2 && path[1] == ':' ? sjis::FoldCase(path) : Key(path));
  return found == nodes_.end() ? nullptr : &found->second;
}

MemoryEnv::Node* MemoryEnv::FindNode(const std::string& path) {
  return const_cast<Node*>(Find(path));
}

std::unique_ptr<File> MemoryEnv::NewFile() { return std::make_unique<MemoryFile>(*this); }

std::optional<FileStatus> MemoryEnv::GetFileStatus(const std::string& path) {
  const Node* node = Find(path);
  if (node == nullptr) return std::nullopt;
  return FileStatus{node->isDirectory, node->content.size()};
}

bool MemoryEnv::Access(const std::string& path, int) { return Find(path) != nullptr; }
bool MemoryEnv::PathFileExists(const std::string& path) { return Find(path) != nullptr; }

bool MemoryEnv::PathIsDirectory(const std::string& path) {
  const Node* node = Find(path);
  return node != nullptr && node->isDirectory;
}

bool MemoryEnv::CreateDirectory(const std::string& path) {
  longestChanged = std::max(longestChanged, path.size());
  const std::string key = Key(path);
  const Node* parent = Find(ParentKey(key));
  if (++creates == failCreateAt || key.empty() || parent == nullptr || !parent->isDirectory ||
      nodes_.count(key) != 0) {
    return false;
  }
  nodes_[key] = Node{true, {}};
  return true;
}

bool MemoryEnv::RemoveDirectory(const std::string& path) {
  longestChanged = std::max(longestChanged, path.size());
  const std::string key = Key(path);
  auto found = nodes_.find(key);
  if (++removes == failRemoveAt || found == nodes_.end() || !found->second.isDirectory ||
      key.size() <= 2) {
    return false;
  }
  auto next = std::next(found);
  if (next != nodes_.end() && next->first.compare(0, key.size() + 1, key + "\\") == 0) return false;
  nodes_.erase(found);
  return true;
}

bool MemoryEnv::DeleteFile(const std::string& path) {
  auto found = nodes_.find(Key(path));
  if (found == nodes_.end() || found->second.isDirectory) return false;
  nodes_.erase(found);
  return true;
}

bool MemoryEnv::ReplaceFile(const std::string& source, const std::string& target) {
  auto from = nodes_.find(Key(source));
  const std::string to = Key(target);
  const Node* parent = Find(ParentKey(to));
  if (from == nodes_.end() || from->second.isDirectory || to.empty() || parent == nullptr) {
    return false;
  }
  const Node* old = Find(to);
  if (old != nullptr && old->isDirectory) return false;
  Node moved = std::move(from->second);
  nodes_.erase(from);
  nodes_[to] = std::move(moved);
  return true;
}

DriveType MemoryEnv::GetDriveType(const std::string& root) {
  std::string_view text = root;
  if (sjis::EndsWithSingleByte(text, '\\')) text.remove_suffix(1);
  if (text.size() != 2 || !winpath::HasDrive(text)) return DriveType::kNoRootDir;
  return drives_[(text[0] & ~0x20) - 'A'];
}

std::optional<std::size_t> MemoryEnv::PathSkipRoot(const std::string& path) {
  return winpath::SkipRoot(path);
}

bool MemoryEnv::PathStripToRoot(std::string& path) {
  auto after = winpath::SkipRoot(path);
  if (!after) return false;
  path.resize(*after);
  if (path[0] == '\\' && sjis::EndsWithSingleByte(path, '\\')) path.pop_back();
  return true;
}

std::vector<std::string> MemoryEnv::FindFiles(const std::string& pattern) {
  const std::size_t slash = sjis::FindLastSingleByte(pattern, '\\');
  const std::string folder = Key(slash == std::string::npos ? "." : pattern.substr(0, slash + 1));
  const std::string name = pattern.substr(slash == std::string::npos ? 0 : slash + 1);
  std::vector<std::string> found;
  for (const auto& [key, node] : nodes_) {
    if (node.isDirectory || ParentKey(key) != folder) continue;
    const std::string leaf = key.substr(folder.size() + 1);
    if (winpath::MatchesPattern(leaf, name)) found.push_back(leaf);
  }
  return found;
}

std::unique_ptr<FileLock> MemoryEnv::LockFile(const std::string& path) {
  // One process: a second lock while one is held would wait forever.
  if (locked_ || Key(path).empty()) return nullptr;
  if (Find(path) == nullptr) AddFile(path, "");
  const Node* node = Find(path);
  if (node == nullptr || node->isDirectory) return nullptr;
  return std::make_unique<MemoryLock>(locked_);
}

std::string MemoryEnv::GetPrivateProfileString(const std::string& section, const std::string& key,
                                               const std::string& def, const std::string& path,
                                               std::size_t size) {
  const Node* node = Find(path);
  std::optional<std::string> value;
  if (node != nullptr && !node->isDirectory) value = FindProfileValue(node->content, section, key);
  return ProfileResult(value, def, size);
}

std::string MemoryEnv::MapFullWidth(const std::string& text) { return MapToFullWidth(text); }

}  // namespace pv14::fuzzing
