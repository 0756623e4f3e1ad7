// An Env over an in-memory disk, for the fuzz targets: folders and files
// live in a map keyed by their Windows path (letters folded), drives come
// from a table the target builds, and nothing touches the real disk. Every
// path handed to a call that creates or removes something is recorded, and a
// call can be made to fail at its n-th use.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "platform/Env.h"

namespace pv14::fuzzing {

class MemoryEnv : public Env {
 public:
  struct Node {
    bool isDirectory = false;
    std::string content;
    bool operator==(const Node&) const = default;
  };

  MemoryEnv();

  // ---- the disk
  // The drive of a letter; a letter left kNoRootDir has no root folder.
  void SetDrive(char letter, DriveType type);
  // Adds a folder with every missing parent below its drive's root.
  void AddFolder(const std::string& path);
  void AddFile(const std::string& path, std::string content);
  // The node at path, or null.
  const Node* Find(const std::string& path) const;
  const std::map<std::string, Node>& Nodes() const { return nodes_; }

  // ---- faults and records
  int failWriteAt = 0;   // 1-based over every write of every file; 0 never
  int failCreateAt = 0;  // 1-based over CreateDirectory calls
  int failRemoveAt = 0;  // 1-based over RemoveDirectory calls
  int writes = 0, creates = 0, removes = 0;
  std::size_t longestChanged = 0;  // bytes of the longest path created or removed

  // ---- Env
  std::unique_ptr<File> NewFile() override;
  std::optional<FileStatus> GetFileStatus(const std::string& path) override;
  bool Access(const std::string& path, int mode) override;
  bool PathFileExists(const std::string& path) override;
  bool PathIsDirectory(const std::string& path) override;
  bool CreateDirectory(const std::string& path) override;
  bool RemoveDirectory(const std::string& path) override;
  bool DeleteFile(const std::string& path) override;
  bool ReplaceFile(const std::string& source, const std::string& target) override;
  std::string GetTempPath() override { return "C:\\TEMP\\"; }
  DriveType GetDriveType(const std::string& root) override;
  std::optional<std::size_t> PathSkipRoot(const std::string& path) override;
  bool PathStripToRoot(std::string& path) override;
  std::vector<std::string> FindFiles(const std::string& pattern) override;
  std::unique_ptr<FileLock> LockFile(const std::string& path) override;
  std::uint32_t GetCurrentProcessId() override { return 4242; }
  bool StopRequested() override { return false; }
  bool IsSameFile(const std::string&, const std::string&) override { return false; }
  bool IsProgramFile(const std::string&) override { return false; }
  std::string GetModuleFileName() override { return "C:\\PROGRAM\\PROGRAM.EXE"; }
  std::string GetCurrentDirectory() override { return "C:\\PROGRAM"; }  // never changes
  bool SetCurrentDirectory(const std::string& path) override { return PathIsDirectory(path); }
  std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                      const std::string& def, const std::string& path,
                                      std::size_t size) override;
  std::string MapFullWidth(const std::string& text) override;
  std::unique_ptr<unsigned char[]> GlobalAlloc(std::size_t size) override {
    return std::unique_ptr<unsigned char[]>(new (std::nothrow) unsigned char[size]());
  }
  bool EnableWindow(WindowHandle, bool) override { return false; }
  bool SetForegroundWindow(WindowHandle) override { return false; }
  bool PostMessage(WindowHandle, std::uint32_t, std::uint32_t, std::uint32_t) override {
    return false;
  }

 private:
  friend class MemoryFile;
  // The map key of a path: absolute (relative ones under the current
  // folder), letters folded, no trailing backslash; empty when the path has
  // no root.
  std::string Key(const std::string& path) const;
  std::string ParentKey(const std::string& key) const;
  Node* FindNode(const std::string& path);

  DriveType drives_[26] = {};
  std::map<std::string, Node> nodes_;
  bool locked_ = false;
};

}  // namespace pv14::fuzzing
