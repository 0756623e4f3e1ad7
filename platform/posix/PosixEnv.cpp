#include "platform/posix/PosixEnv.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string_view>
#include <utility>

#include "platform/Encoding.h"
#include "platform/OwnFiles.h"
#include "platform/ShiftJisSearch.h"
#include "platform/StopRequest.h"
#include "platform/WindowsPath.h"
#include "platform/posix/CallerWindow.h"
#include "platform/posix/FullWidth.h"
#include "platform/posix/ProfileString.h"

namespace pv14 {
namespace {

class PosixEnv;

extern "C" void RequestStop(int) { NoteStopRequest(); }

// Opens without waiting: a FIFO with no writer (or, for writing, no reader)
// must never hold the program up. The descriptor blocks again afterwards.
// A file never gets descriptor 0, 1 or 2: with a standard stream closed at
// start, a message meant for the console would land in it.
int OpenWithoutWaiting(const std::string& posix, int flags) {
  int fd;
  do {
    fd = ::open(posix.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd >= 0 && fd <= STDERR_FILENO) {
    const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    const int saved = errno;
    ::close(fd);
    errno = saved;
    fd = moved;
  }
  if (fd >= 0) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

// Makes sure what was written to fd is on the disk before a rename makes it
// the file: the old-or-new promise must hold against a power cut too.
bool SyncData(int fd) {
  int result;
  do {
    result = ::fdatasync(fd);
  } while (result != 0 && errno == EINTR);
  return result == 0;
}

// The whole content of a regular file; nullopt for anything else (missing,
// a directory, a FIFO, a device) and on a read error, as the Windows call
// finds no file it can read there.
std::optional<std::string> ReadRegularFile(const std::string& posix) {
  const int fd = OpenWithoutWaiting(posix, O_RDONLY);
  if (fd < 0) return std::nullopt;
  std::optional<std::string> contents;
  struct stat st;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    contents.emplace();
    char buffer[4096];
    for (;;) {
      const ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) contents.reset();
      if (n <= 0) break;
      contents->append(buffer, static_cast<std::size_t>(n));
    }
  }
  ::close(fd);
  return contents;
}

class PosixFile : public File {
 public:
  explicit PosixFile(PosixEnv& env) : env_(env) {}
  ~PosixFile() override { Close(); }

  bool Open(const std::string& path, unsigned flags) override;
  bool Write(const void* data, std::size_t size) override;
  bool Read(void* buffer, std::size_t size, std::size_t* got) override;
  void Close() override {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  bool IsOpen() const override { return fd_ >= 0; }

 private:
  PosixEnv& env_;
  int fd_ = -1;
};

// Closing the descriptor releases the flock.
class PosixFileLock : public FileLock {
 public:
  explicit PosixFileLock(int fd) : fd_(fd) {}
  ~PosixFileLock() override { ::close(fd_); }

 private:
  int fd_;
};

class PosixEnv : public Env {
 public:
  explicit PosixEnv(DriveTable drives) : drives_(std::move(drives)) {
    // A write past the process's file-size limit fails as a write to a full
    // disk does, instead of ending the process.
    ::signal(SIGXFSZ, SIG_IGN);
  }

  // The POSIX path of a Windows path: absolute paths through the drive
  // table, relative ones against the current folder. A path that ends with a
  // separator names a directory, as on Windows: the POSIX form keeps a
  // trailing slash, so a file there is not found.
  // Names lose their trailing blanks and dots, as Windows drops them.
  std::optional<std::string> MapPath(const std::string& windowsPath) {
    const std::string path = winpath::DropTrailingDotsAndBlanks(windowsPath);
    std::optional<std::string> posix = MapPathText(path);
    if (posix && !posix->ends_with('/') &&
        (sjis::EndsWithSingleByte(path, '\\') || sjis::EndsWithSingleByte(path, '/'))) {
      *posix += '/';
    }
    return posix;
  }

  // MapPath without the trailing slash.
  std::optional<std::string> MapPathText(const std::string& path) {
    if (path.empty()) return std::nullopt;
    const bool drive = winpath::HasDrive(path);
    if (winpath::IsUnc(path) || (drive && path.size() >= 3 && winpath::IsSeparator(path[2]))) {
      return drives_.ToPosix(path);
    }
    if (drive) return MapDriveRelative(path);
    if (winpath::IsSeparator(path[0])) {
      std::string root = GetCurrentDirectory();
      if (!PathStripToRoot(root)) return std::nullopt;
      return drives_.ToPosix(root + path);
    }
    std::string relative;
    for (std::size_t i = 0; i < path.size(); i += sjis::CharLength(path, i)) {
      std::size_t n = sjis::CharLength(path, i);
      relative += (n == 1 && path[i] == '\\') ? std::string("/") : path.substr(i, n);
    }
    return Cp932ToUtf8(relative);
  }

  std::unique_ptr<File> NewFile() override { return std::make_unique<PosixFile>(*this); }

  std::optional<FileStatus> GetFileStatus(const std::string& path) override {
    auto st = Stat(path);
    if (!st) return std::nullopt;
    return FileStatus{S_ISDIR(st->st_mode), static_cast<std::uint64_t>(st->st_size)};
  }

  bool Access(const std::string& path, int mode) override {
    auto posix = MapPath(path);
    struct stat st;
    if (!posix || ::stat(posix->c_str(), &st) != 0) return false;
    if (S_ISDIR(st.st_mode)) return true;
    // No write bit at all is the read-only attribute, which even an
    // administrator meets.
    if ((mode & 2) && ((st.st_mode & 0222) == 0 || ::access(posix->c_str(), W_OK) != 0)) {
      return false;
    }
    if ((mode & 4) && ::access(posix->c_str(), R_OK) != 0) return false;
    return true;
  }

  bool PathFileExists(const std::string& path) override { return Stat(path).has_value(); }

  bool PathIsDirectory(const std::string& path) override {
    auto st = Stat(path);
    return st && S_ISDIR(st->st_mode);
  }

  bool CreateDirectory(const std::string& path) override {
    auto posix = MapPath(path);
    return posix && ::mkdir(posix->c_str(), 0777) == 0;
  }

  bool RemoveDirectory(const std::string& path) override {
    auto posix = MapPath(path);
    return posix && ::rmdir(posix->c_str()) == 0;
  }

  bool DeleteFile(const std::string& path) override {
    auto posix = MapPath(path);
    return posix && ::unlink(posix->c_str()) == 0;
  }

  bool ReplaceFile(const std::string& source, const std::string& target) override {
    auto from = MapPath(source);
    auto to = MapPath(target);
    if (!from || !to) return false;
    if (IsStopRequested()) return false;
    struct stat st;
    if (::stat(to->c_str(), &st) == 0) {
      // Only a regular file is replaced: a FIFO or a device there (directly
      // or behind a link) is no file of ours.
      if (!S_ISREG(st.st_mode)) return false;
      // The replaced file's place (behind any link) and its permissions.
      char* real = ::realpath(to->c_str(), nullptr);
      if (real == nullptr) return false;
      *to = real;
      std::free(real);
      if (::chmod(from->c_str(), st.st_mode & 07777) != 0) return false;
      // Only a privileged process can hand the file back to its owner.
      [[maybe_unused]] int ignored = ::chown(from->c_str(), st.st_uid, st.st_gid);
    }
    const int fromFd = OpenWithoutWaiting(*from, O_RDONLY);
    if (fromFd < 0) return false;
    struct stat sourceStatus;
    const bool synced =
        ::fstat(fromFd, &sourceStatus) == 0 && S_ISREG(sourceStatus.st_mode) && SyncData(fromFd);
    ::close(fromFd);
    if (!synced || ::rename(from->c_str(), to->c_str()) != 0) return false;
    // The rename itself lasts once the folder's entry is on the disk; the
    // file is replaced either way, so a folder that cannot be synced does
    // not fail the call.
    const std::string folder = to->substr(0, to->rfind('/') + 1);
    const int dir = OpenWithoutWaiting(folder.empty() ? "." : folder, O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
      ::fsync(dir);
      ::close(dir);
    }
    return true;
  }

  bool IsSameFile(const std::string& a, const std::string& b) override {
    auto first = Stat(a);
    auto second = Stat(b);
    return first && second && SameFile(*first, *second);
  }

  bool IsProgramFile(const std::string& path) override {
    auto target = Stat(path);
    if (!target) return false;
    std::vector<std::string> own = OwnFiles();
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof(buffer));
    if (n > 0 && static_cast<std::size_t>(n) < sizeof(buffer)) {
      const std::string program(buffer, static_cast<std::size_t>(n));
      const std::string folder = program.substr(0, program.rfind('/') + 1);
      own.insert(own.end(), {program, folder + "KurodaiDef.ini", folder + "SUPPORT.INF"});
    }
    for (const std::string& file : own) {
      struct stat st;
      if (::stat(file.c_str(), &st) == 0 && SameFile(st, *target)) return true;
    }
    return false;
  }

  std::vector<std::string> FindFiles(const std::string& pattern) override {
    const std::size_t slash = sjis::FindLastSingleByte(pattern, '\\');
    const std::string folder = slash == std::string::npos ? "" : pattern.substr(0, slash + 1);
    const std::string name = pattern.substr(folder.size());
    auto posix = folder.empty() ? std::optional<std::string>(".") : MapPath(folder);
    std::vector<std::string> found;
    DIR* dir = posix ? ::opendir(posix->c_str()) : nullptr;
    if (dir == nullptr) return found;
    while (const dirent* entry = ::readdir(dir)) {
      std::optional<std::string> entryName = Utf8ToCp932(entry->d_name);
      struct stat st;
      if (!entryName || !winpath::MatchesPattern(*entryName, name) ||
          ::fstatat(::dirfd(dir), entry->d_name, &st, 0) != 0 || S_ISDIR(st.st_mode)) {
        continue;
      }
      found.push_back(*entryName);
    }
    ::closedir(dir);
    return found;
  }

  std::unique_ptr<FileLock> LockFile(const std::string& path) override {
    auto posix = MapPath(path);
    if (!posix) return nullptr;
    int fd = OpenWithoutWaiting(*posix, O_RDWR | O_CREAT);
    // Another user's lock file still takes a lock when it can be read.
    if (fd < 0 && errno == EACCES) fd = OpenWithoutWaiting(*posix, O_RDONLY);
    if (fd < 0) return nullptr;
    struct stat st;
    int locked = -1;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && !IsStopRequested()) {
      // A stop asked for while waiting gives up the wait.
      do {
        locked = ::flock(fd, LOCK_EX);
      } while (locked != 0 && errno == EINTR && !IsStopRequested());
    }
    if (locked != 0) {
      ::close(fd);
      return nullptr;
    }
    return std::make_unique<PosixFileLock>(fd);
  }

  std::uint32_t GetCurrentProcessId() override { return static_cast<std::uint32_t>(::getpid()); }

  bool StopRequested() override { return IsStopRequested(); }

  std::string GetTempPath() override {
    const char* tmp = std::getenv("TMPDIR");
    auto folder = drives_.ToWindows((tmp != nullptr && *tmp == '/') ? tmp : "/tmp");
    if (!folder) return {};
    if (!sjis::EndsWithSingleByte(*folder, '\\')) *folder += '\\';
    return *folder;
  }

  DriveType GetDriveType(const std::string& root) override {
    std::string_view text = root;
    if (sjis::EndsWithSingleByte(text, '\\')) text.remove_suffix(1);
    const DriveTable::Entry* entry = drives_.Find(root);
    // Only a bare root names a drive: "X:" or "\\server\share", with or
    // without its backslash.
    if (entry == nullptr || text.size() != (entry->key.size() == 1 ? 2 : entry->key.size())) {
      return DriveType::kNoRootDir;
    }
    struct stat st;
    if (::stat(entry->posixRoot.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
      return DriveType::kNoRootDir;
    }
    return entry->type;
  }

  std::optional<std::size_t> PathSkipRoot(const std::string& path) override {
    return winpath::SkipRoot(path);
  }

  bool PathStripToRoot(std::string& path) override {
    auto after = winpath::SkipRoot(path);
    if (!after) return false;
    path.resize(*after);
    // A share's root is "\\server\share", without the separator a drive's
    // root "X:\" keeps.
    if (path[0] == '\\' && sjis::EndsWithSingleByte(path, '\\')) path.pop_back();
    return true;
  }

  std::string GetModuleFileName() override {
    char buffer[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof(buffer));
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof(buffer)) return {};
    return drives_.ToWindows(std::string(buffer, static_cast<std::size_t>(n))).value_or("");
  }

  std::string GetCurrentDirectory() override {
    char buffer[PATH_MAX];
    if (::getcwd(buffer, sizeof(buffer)) == nullptr) return {};
    return drives_.ToWindows(buffer).value_or("");
  }

  bool SetCurrentDirectory(const std::string& path) override {
    auto posix = MapPath(path);
    return posix && ::chdir(posix->c_str()) == 0;
  }

  std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                      const std::string& def, const std::string& path,
                                      std::size_t size) override {
    std::optional<std::string> value;
    auto posix = MapPath(path);
    if (auto contents = posix ? ReadRegularFile(*posix) : std::nullopt) {
      value = FindProfileValue(*contents, section, key);
    }
    return ProfileResult(value, def, size);
  }

  std::string MapFullWidth(const std::string& text) override { return MapToFullWidth(text); }

  std::unique_ptr<unsigned char[]> GlobalAlloc(std::size_t size) override {
    return std::unique_ptr<unsigned char[]>(new (std::nothrow) unsigned char[size]());
  }

  bool EnableWindow(WindowHandle window, bool enable) override {
    return SendToWindow(window, enable ? "EnableWindow 1" : "EnableWindow 0");
  }

  bool SetForegroundWindow(WindowHandle window) override {
    return SendToWindow(window, "SetForegroundWindow");
  }

  bool PostMessage(WindowHandle window, std::uint32_t message, std::uint32_t wParam,
                   std::uint32_t lParam) override {
    return SendToWindow(window, "PostMessage " + std::to_string(message) + " " +
                                    std::to_string(wParam) + " " + std::to_string(lParam));
  }

 private:
  // "X:name" is relative to the drive's current folder: the process's own
  // on the current drive, the drive's root on any other.
  std::optional<std::string> MapDriveRelative(const std::string& path) {
    std::string current = GetCurrentDirectory();
    std::string rest = path.substr(2);
    if (!current.empty() && sjis::EqualsNoCase(current.substr(0, 2), path.substr(0, 2))) {
      return drives_.ToPosix(rest.empty() ? current : current + "\\" + rest);
    }
    return drives_.ToPosix(path.substr(0, 2) + "\\" + rest);
  }

  static bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
  }

  std::optional<struct stat> Stat(const std::string& path) {
    auto posix = MapPath(path);
    struct stat st;
    if (!posix || ::stat(posix->c_str(), &st) != 0) return std::nullopt;
    return st;
  }

  DriveTable drives_;
};

bool PosixFile::Open(const std::string& path, unsigned flags) {
  Close();
  auto posix = env_.MapPath(path);
  if (!posix) return false;
  if ((flags & kWrite) && IsStopRequested()) return false;
  int access = (flags & kReadWrite) == kReadWrite ? O_RDWR : (flags & kWrite) ? O_WRONLY : O_RDONLY;
  // Emptied only once this process has the file to itself.
  int create = (flags & kCreate) ? O_CREAT : 0;
  const int fd = OpenWithoutWaiting(*posix, access | create);
  if (fd < 0) return false;
  // What is read must be a regular file: a FIFO or a device is no file the
  // program can read (a read there could wait for ever).
  struct stat st;
  bool usable = ::fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode) &&
                ((flags & kRead) == 0 || S_ISREG(st.st_mode));
  // A file created for writing is this object's alone, as Windows opens it
  // without write sharing: a second export to it fails instead of mixing
  // two reports.
  if (usable && (flags & kCreate) && (flags & kWrite) && S_ISREG(st.st_mode)) {
    usable = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::ftruncate(fd, 0) == 0;
  }
  if (!usable) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

bool PosixFile::Write(const void* data, std::size_t size) {
  // A stop asked for ends the file at the last whole call.
  if (fd_ < 0 || IsStopRequested()) return false;
  const char* bytes = static_cast<const char*>(data);
  std::size_t left = size;
  while (left > 0) {
    ssize_t n = ::write(fd_, bytes, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      // A write that fails part-way (a full disk, the file-size limit) is
      // cut back to where the call began, so no torn piece stays in the
      // file. The start is found only here: a report makes one call a line.
      const off_t now = ::lseek(fd_, 0, SEEK_CUR);
      const off_t start = now - static_cast<off_t>(size - left);
      if (left < size && now >= 0 && start >= 0 && ::ftruncate(fd_, start) == 0) {
        ::lseek(fd_, start, SEEK_SET);
      }
      return false;
    }
    bytes += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

bool PosixFile::Read(void* buffer, std::size_t size, std::size_t* got) {
  *got = 0;
  if (fd_ < 0) return false;
  ssize_t n;
  do {
    n = ::read(fd_, buffer, size);
  } while (n < 0 && errno == EINTR);
  if (n < 0) return false;
  *got = static_cast<std::size_t>(n);
  return true;
}

}  // namespace

std::unique_ptr<Env> NewPosixEnv(DriveTable drives) {
  return std::make_unique<PosixEnv>(std::move(drives));
}

namespace {

// Says once that the program's own folder cannot be named in Windows form,
// so the working directory stays where it was: the installed files beside
// the program will not be found.
void NoteProgramFolderOutsideDrives(const DriveTable& drives) {
  char buffer[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof(buffer));
  if (n <= 0 || static_cast<std::size_t>(n) >= sizeof(buffer)) return;
  const std::string program(buffer, static_cast<std::size_t>(n));
  if (drives.ToWindows(program)) return;
  const std::string folder = program.substr(0, program.rfind('/') + 1);
  const char* setting = std::getenv("PV14_DRIVES");
  const std::string table = setting != nullptr && *setting != '\0'
                                ? std::string("PV14_DRIVES=\"") + setting + "\""
                                : std::string("PV14_DRIVES (unset: Z=/)");
  std::fprintf(stderr,
               "the program's folder %s has no Windows form under %s; KurodaiDef.ini and "
               "SUPPORT.INF are looked for in the working directory instead\n",
               folder.c_str(), table.c_str());
}

// A standard stream closed at start gets /dev/null, so no file the program
// opens takes its place.
void FillClosedStandardStreams() {
  for (int stream = STDIN_FILENO; stream <= STDERR_FILENO; ++stream) {
    if (::fcntl(stream, F_GETFD) != -1 || errno != EBADF) continue;
    const int fd = ::open("/dev/null", stream == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    if (fd >= 0 && fd != stream) {
      ::dup2(fd, stream);
      ::close(fd);
    }
  }
}

// An interrupt, a hang-up or a termination request fails the run instead of
// ending the process: writes stop at the next whole line and the exit step
// still gives the caller its window back. Without SA_RESTART, a wait the
// program is in (a lock, the console's input) returns to look at the flag.
void HandleStopSignals() {
  struct sigaction action {};
  action.sa_handler = RequestStop;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

PosixEnv& StartPosixPlatform() {
  FillClosedStandardStreams();
  HandleStopSignals();
  // A console that cannot be written to (a closed pipe) must not end the
  // export: writes to it fail instead.
  std::signal(SIGPIPE, SIG_IGN);
  static PosixEnv env(DriveTable::FromEnvironment());
  NoteProgramFolderOutsideDrives(DriveTable::FromEnvironment());
  return env;
}

}  // namespace

Env& Env::Default() {
  static PosixEnv& env = StartPosixPlatform();
  return env;
}

}  // namespace pv14
