// The operating-system services the program needs, behind one interface.
//
// Paths and texts are Shift_JIS byte strings in Windows form (drive letters,
// UNC shares, backslashes). The POSIX implementation maps them through the
// drive table (PV14_DRIVES). The program's core calls nothing of the OS
// directly, so tests wrap the default Env and fail chosen calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/Types.h"

namespace pv14 {

// A file opened through Env, used like the framework's file class: the
// program opens it, writes or reads, closes it.
class File {
 public:
  enum OpenFlags : unsigned {
    kRead = 0x1,
    kWrite = 0x2,
    kReadWrite = kRead | kWrite,
    kCreate = 0x4,  // create, or truncate an existing file
  };

  File() = default;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  virtual ~File() = default;

  // True when the file is open afterwards.
  virtual bool Open(const std::string& path, unsigned flags) = 0;
  // One write call. False is the framework's file exception: nothing is
  // known about how much reached the file.
  virtual bool Write(const void* data, std::size_t size) = 0;
  // Reads up to size bytes; *got receives how many. False on an error.
  virtual bool Read(void* buffer, std::size_t size, std::size_t* got) = 0;
  // Closes when open; a closed file ignores the call.
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
};

enum class DriveType : std::uint32_t {
  kUnknown = 0,
  kNoRootDir = 1,
  kRemovable = 2,
  kFixed = 3,
  kRemote = 4,
  kCdRom = 5,
  kRamDisk = 6,
};

struct FileStatus {
  bool isDirectory = false;
  std::uint64_t size = 0;
};

class Env {
 public:
  Env() = default;
  Env(const Env&) = delete;
  Env& operator=(const Env&) = delete;
  virtual ~Env() = default;

  // The POSIX implementation, configured from the environment.
  static Env& Default();

  // ---- files and folders
  virtual std::unique_ptr<File> NewFile() = 0;
  // The framework's status query: nullopt when nothing exists at path.
  virtual std::optional<FileStatus> GetFileStatus(const std::string& path) = 0;
  // The runtime library's _access: mode 0 existence, 2 write, 4 read, 6 both.
  // A directory passes whatever the mode when it exists.
  virtual bool Access(const std::string& path, int mode) = 0;
  virtual bool PathFileExists(const std::string& path) = 0;
  virtual bool PathIsDirectory(const std::string& path) = 0;
  virtual bool CreateDirectory(const std::string& path) = 0;
  // Removes an empty directory only.
  virtual bool RemoveDirectory(const std::string& path) = 0;
  virtual bool DeleteFile(const std::string& path) = 0;
  // Replaces target by source in one step (a rename over it).
  virtual bool ReplaceFile(const std::string& source, const std::string& target) = 0;
  // The temporary folder, ending with a backslash.
  virtual std::string GetTempPath() = 0;
  // Drive type of a root such as "C:\" or "\\server\share\".
  virtual DriveType GetDriveType(const std::string& root) = 0;

  // ---- shell path functions (lexical, Windows rules)
  // Offset of the text after the root (X:\ or \\server\share\), or nullopt
  // when the path has no root.
  virtual std::optional<std::size_t> PathSkipRoot(const std::string& path) = 0;
  // Cuts path to its root; false when it has none.
  virtual bool PathStripToRoot(std::string& path) = 0;

  // ---- process
  // Full path of the program's own file.
  virtual std::string GetModuleFileName() = 0;
  virtual std::string GetCurrentDirectory() = 0;
  virtual bool SetCurrentDirectory(const std::string& path) = 0;

  // ---- system services
  // GetPrivateProfileString: a missing file, section or key gives def; a
  // present empty value gives an empty text. At most size - 1 bytes.
  virtual std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                              const std::string& def, const std::string& path,
                                              std::size_t size) = 0;
  // LCMapString with LCMAP_FULLWIDTH under a Japanese system locale.
  virtual std::string MapFullWidth(const std::string& text) = 0;

  // ---- the caller's window (another process)
  virtual bool EnableWindow(WindowHandle window, bool enable) = 0;
  virtual bool SetForegroundWindow(WindowHandle window) = 0;
  virtual bool PostMessage(WindowHandle window, std::uint32_t message, std::uint32_t wParam,
                           std::uint32_t lParam) = 0;
};

}  // namespace pv14
