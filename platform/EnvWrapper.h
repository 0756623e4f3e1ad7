// An Env that forwards every call to another one. Derive from it and
// override only the calls to fail or observe (a test's faults, a log).
// A call added to Env is added here too, so every wrapper keeps forwarding.
#pragma once

#include "platform/Env.h"

namespace pv14 {

class EnvWrapper : public Env {
 public:
  // target must outlive the wrapper.
  explicit EnvWrapper(Env& target) : target_(target) {}

  Env& target() const { return target_; }

  std::unique_ptr<File> NewFile() override { return target_.NewFile(); }
  std::optional<FileStatus> GetFileStatus(const std::string& path) override {
    return target_.GetFileStatus(path);
  }
  bool Access(const std::string& path, int mode) override { return target_.Access(path, mode); }
  bool PathFileExists(const std::string& path) override { return target_.PathFileExists(path); }
  bool PathIsDirectory(const std::string& path) override { return target_.PathIsDirectory(path); }
  bool CreateDirectory(const std::string& path) override { return target_.CreateDirectory(path); }
  bool RemoveDirectory(const std::string& path) override { return target_.RemoveDirectory(path); }
  bool DeleteFile(const std::string& path) override { return target_.DeleteFile(path); }
  bool ReplaceFile(const std::string& source, const std::string& target) override {
    return target_.ReplaceFile(source, target);
  }
  bool IsSameFile(const std::string& a, const std::string& b) override {
    return target_.IsSameFile(a, b);
  }
  bool IsProgramFile(const std::string& path) override { return target_.IsProgramFile(path); }
  std::string GetTempPath() override { return target_.GetTempPath(); }
  DriveType GetDriveType(const std::string& root) override { return target_.GetDriveType(root); }
  std::optional<std::size_t> PathSkipRoot(const std::string& path) override {
    return target_.PathSkipRoot(path);
  }
  bool PathStripToRoot(std::string& path) override { return target_.PathStripToRoot(path); }
  std::vector<std::string> FindFiles(const std::string& pattern) override {
    return target_.FindFiles(pattern);
  }
  std::unique_ptr<FileLock> LockFile(const std::string& path) override {
    return target_.LockFile(path);
  }
  std::uint32_t GetCurrentProcessId() override { return target_.GetCurrentProcessId(); }
  bool StopRequested() override { return target_.StopRequested(); }
  std::string GetModuleFileName() override { return target_.GetModuleFileName(); }
  std::string GetCurrentDirectory() override { return target_.GetCurrentDirectory(); }
  bool SetCurrentDirectory(const std::string& path) override {
    return target_.SetCurrentDirectory(path);
  }
  std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                      const std::string& def, const std::string& path,
                                      std::size_t size) override {
    return target_.GetPrivateProfileString(section, key, def, path, size);
  }
  std::string MapFullWidth(const std::string& text) override { return target_.MapFullWidth(text); }
  std::unique_ptr<unsigned char[]> GlobalAlloc(std::size_t size) override {
    return target_.GlobalAlloc(size);
  }
  bool EnableWindow(WindowHandle window, bool enable) override {
    return target_.EnableWindow(window, enable);
  }
  bool SetForegroundWindow(WindowHandle window) override {
    return target_.SetForegroundWindow(window);
  }
  bool PostMessage(WindowHandle window, std::uint32_t message, std::uint32_t wParam,
                   std::uint32_t lParam) override {
    return target_.PostMessage(window, message, wParam, lParam);
  }

 private:
  Env& target_;
};

}  // namespace pv14
