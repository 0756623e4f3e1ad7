// The operating-system services the program needs, behind one interface.
//
// Paths and texts are Shift_JIS byte strings in Windows form (drive letters,
// UNC shares, backslashes); a path ending with a separator names a
// directory. The POSIX implementation maps them through the drive table
// (PV14_DRIVES). The program's core calls nothing of the OS directly, so
// tests wrap the default Env (EnvWrapper, platform/EnvWrapper.h) and fail
// chosen calls.
//
// No call throws. Each says below what it returns when it fails; a failed
// call changes nothing the program can see, unless its comment says so.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

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
  virtual ~File() = default;  // closes the file when open

  // Opens path (closing what was open before). True when the file is open
  // afterwards; false when it cannot be opened with flags (missing without
  // kCreate, a directory, no access, or, for reading, anything but a
  // regular file), and the object is closed then. Never waits for another
  // process (a FIFO). With kCreate an existing file is emptied only when the
  // open succeeds. With kCreate and kWrite the file is this object's alone
  // until it is closed: another such open of it, in any process, fails
  // (others may still read it). Opening for writing fails once
  // Env::StopRequested() is true.
  virtual bool Open(const std::string& path, unsigned flags) = 0;
  // Writes all size bytes in one call. False is the framework's file
  // exception: the file is not open, the system refused (a full disk), or
  // Env::StopRequested() is true.
  // A call that fails part-way cuts the file back to where the call began,
  // so it never ends inside what one call wrote.
  virtual bool Write(const void* data, std::size_t size) = 0;
  // Reads up to size bytes into buffer; *got receives how many (0 at the
  // end of the file). False, with *got 0, when the file is not open or the
  // system refused.
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

// An advisory lock held through Env::LockFile; destroying the object
// releases it.
class FileLock {
 public:
  FileLock() = default;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  virtual ~FileLock() = default;
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

  // The system's own Env, configured from the environment; it lives as long
  // as the process.
  static Env& Default();

  // ---- files and folders
  // A new, closed file object; never null from Default(). A wrapper that
  // cannot make one returns null, which callers treat as a file that cannot
  // be opened.
  virtual std::unique_ptr<File> NewFile() = 0;
  // The framework's status query: the entry's kind and size; nullopt when
  // nothing exists at path or it cannot be reached.
  virtual std::optional<FileStatus> GetFileStatus(const std::string& path) = 0;
  // The runtime library's _access: mode 0 existence, 2 write, 4 read, 6 both.
  // True when the entry exists and allows the mode; a directory passes
  // whatever the mode when it exists. False otherwise, and for a path that
  // cannot be mapped.
  virtual bool Access(const std::string& path, int mode) = 0;
  // True when a file or a directory exists at path.
  virtual bool PathFileExists(const std::string& path) = 0;
  // True when a directory exists at path.
  virtual bool PathIsDirectory(const std::string& path) = 0;
  // Creates one directory whose parent exists. True when it was created;
  // false when it exists already, its parent is missing, or the system
  // refused.
  virtual bool CreateDirectory(const std::string& path) = 0;
  // Removes an empty directory. True when it is gone; false when it is not
  // empty, missing or not a directory, or the system refused.
  virtual bool RemoveDirectory(const std::string& path) = 0;
  // Removes a file. True when it is gone; false when it is missing, a
  // directory, or the system refused.
  virtual bool DeleteFile(const std::string& path) = 0;
  // Replaces target by source in one step (a rename over it): afterwards
  // target holds what source held and source is gone. An existing target
  // keeps its permissions; a target that is a symbolic link stays one, and
  // the file it points to is replaced. False when it could not be done (also
  // when that file lies on another volume than source), and then both are as
  // they were. Only a regular file is replaced: false when target (or what
  // its link names) is anything else, and once StopRequested() is true.
  // Source's bytes are on the disk before target names them.
  virtual bool ReplaceFile(const std::string& source, const std::string& target) = 0;
  // True when a and b both exist and name the same file or folder, however
  // spelt and through any links.
  virtual bool IsSameFile(const std::string& a, const std::string& b) = 0;
  // True when path names, however spelt and through any links, a file the
  // program keeps for itself: its own program file, the KurodaiDef.ini and
  // SUPPORT.INF beside it, or a file noted through NoteOwnFile
  // (platform/OwnFiles.h: the engine's store and its journals). False when
  // nothing exists at path.
  virtual bool IsProgramFile(const std::string& path) = 0;
  // The temporary folder, ending with a backslash; empty when there is none
  // that can be named in Windows form.
  virtual std::string GetTempPath() = 0;
  // Drive type of a bare root such as "C:\", "C:" or "\\server\share\";
  // kNoRootDir for anything else and for a root with no volume behind it.
  virtual DriveType GetDriveType(const std::string& root) = 0;

  // ---- shell path functions (lexical, Windows rules; no disk access)
  // Offset of the text after the root (X:\ or \\server\share\), or nullopt
  // when the path has no root.
  virtual std::optional<std::size_t> PathSkipRoot(const std::string& path) = 0;
  // Cuts path to its root ("X:\", "\\server\share"); false, with path
  // unchanged, when it has none.
  virtual bool PathStripToRoot(std::string& path) = 0;

  // Names (last component only) of the files, not folders, in the folder of
  // pattern whose names match pattern's last component: "*" stands for any
  // run of characters, "?" for one character, letters match either case.
  // In no particular order; empty when none match or the folder cannot be
  // read.
  virtual std::vector<std::string> FindFiles(const std::string& pattern) = 0;

  // ---- cooperation between processes
  // An exclusive advisory lock on the whole file at path, created empty when
  // missing: waits until no other holder (in any process) has it, and holds
  // it until the returned object is destroyed or the process ends. It keeps
  // out only other LockFile calls on the same file; reads and writes of the
  // file, also by this process, go on as usual. A process must not ask again
  // for a lock it holds. Null, without waiting, when the file cannot be
  // created or opened, is not a regular file, or the system refuses the lock;
  // null too when StopRequested() is or becomes true before the lock is had.
  virtual std::unique_ptr<FileLock> LockFile(const std::string& path) = 0;

  // ---- process
  // The system's id of this process; the same for every call.
  virtual std::uint32_t GetCurrentProcessId() = 0;
  // True once the user or the system has asked the process to stop (Ctrl+C,
  // a hang-up, a termination request; on Windows the console's close,
  // log-off and shut-down events and the session's end). The process is not
  // ended: the run fails at its next whole step and leaves through its exit
  // step. Never becomes false again.
  virtual bool StopRequested() = 0;
  // Full path of the program's own file; empty when it cannot be named.
  virtual std::string GetModuleFileName() = 0;
  // The working directory; empty when it cannot be named in Windows form.
  virtual std::string GetCurrentDirectory() = 0;
  // True when path is the working directory afterwards; false, with the
  // working directory unchanged, when it is missing or cannot be entered.
  virtual bool SetCurrentDirectory(const std::string& path) = 0;

  // ---- system services
  // GetPrivateProfileString: the value of key in section of the file at
  // path. A missing file, section or key gives def (without trailing
  // blanks); so does anything at path that is not a regular file, which is
  // never waited for. A present empty value gives an empty text. At most
  // size - 1 bytes, never half a double-byte character; empty when size is 0.
  virtual std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                              const std::string& def, const std::string& path,
                                              std::size_t size) = 0;
  // LCMapString with LCMAP_FULLWIDTH under a Japanese system locale; bytes
  // with no full-width form are kept. Cannot fail.
  virtual std::string MapFullWidth(const std::string& text) = 0;
  // Movable global memory (GlobalAlloc with GMEM_ZEROINIT): size zeroed
  // bytes; null when the system cannot give them.
  virtual std::unique_ptr<unsigned char[]> GlobalAlloc(std::size_t size) = 0;

  // ---- the caller's window (another process)
  // Each returns true when the window took the request; false, quietly, for
  // kNoWindow or a window that is gone, as a call to a dead window does.
  virtual bool EnableWindow(WindowHandle window, bool enable) = 0;
  virtual bool SetForegroundWindow(WindowHandle window) = 0;
  virtual bool PostMessage(WindowHandle window, std::uint32_t message, std::uint32_t wParam,
                           std::uint32_t lParam) = 0;
};

}  // namespace pv14
