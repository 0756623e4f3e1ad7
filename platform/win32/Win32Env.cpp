// The Env on the Windows API. Every text the program hands over is code
// page 932; it is converted to UTF-16 and given to the W function, so the
// program behaves alike under every system locale. A text that is not valid
// code page 932 names nothing that exists: such a call fails.
#include "platform/win32/WindowsApi.h"
// The Windows API first: its renaming macros are undone before Env.h.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <optional>
#include <utility>
#include <vector>

#include "platform/Env.h"
#include "platform/OwnFiles.h"
#include "platform/ShiftJis.h"
#include "platform/StopRequest.h"
#include "platform/WindowsPath.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WindowHandle.h"

namespace pv14 {
namespace {

using win32::Cp932ToWide;
using win32::ToHwnd;
using win32::WideToCp932;

// The Japanese locale, whatever the system's.
constexpr LCID kJapanese = 0x0411;
// Large enough for any value of an initialisation file line.
constexpr DWORD kProfileBuffer = 32768;
// One ReadFile / WriteFile call moves at most this much.
constexpr std::size_t kChunk = 1u << 30;

std::string Narrow(std::wstring_view wide) { return WideToCp932(wide).value_or(std::string()); }

DWORD Attributes(const std::string& path) {
  auto wide = Cp932ToWide(path);
  return wide ? ::GetFileAttributesW(wide->c_str()) : INVALID_FILE_ATTRIBUTES;
}

bool IsDirectoryAttribute(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Calls fill(buffer, size) with a growing buffer until the text fits; fill
// returns the length written, or the size it needs when that is larger.
template <typename Fill>
std::wstring GrowingText(Fill fill) {
  std::wstring buffer(MAX_PATH + 1, L'\0');
  for (;;) {
    const DWORD length = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    if (buffer.size() >= 32768) return {};
    buffer.resize(std::max<std::size_t>(length + 1, buffer.size() * 2));
  }
}

// Sharing and lock violations pass: a virus scanner or an indexer holds a
// new file open for a moment. Retried as SQLite's Windows layer does, up to
// about a second and a half in all.
template <typename Call, typename Check = bool (*)()>
bool Retried(
    Call call, Check stillThere = [] { return false; }) {
  constexpr int kRetries = 10;
  constexpr DWORD kDelayMs = 25;
  for (int attempt = 0;; ++attempt) {
    if (call()) return true;
    const DWORD error = ::GetLastError();
    // ReplaceFileW says 1175 when the old file is held, and 1176 with a
    // backup name when the new one is: both files then kept their names.
    const bool passing = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
                         error == ERROR_ACCESS_DENIED || error == ERROR_UNABLE_TO_REMOVE_REPLACED ||
                         (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT && stillThere());
    if (!passing || attempt == kRetries) {
      ::SetLastError(error);
      return false;
    }
    ::Sleep(kDelayMs * (attempt + 1));
  }
}

bool FlushToDisk(const std::wstring& path) {
  HANDLE handle = INVALID_HANDLE_VALUE;
  const bool opened = Retried([&] {
    handle = ::CreateFileW(path.c_str(), GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return handle != INVALID_HANDLE_VALUE;
  });
  if (!opened) return false;
  const bool flushed = ::FlushFileBuffers(handle) != 0;
  ::CloseHandle(handle);
  return flushed;
}

// The volume and index that name a file whatever its spelling; nullopt when
// nothing can be opened at path.
std::optional<std::pair<DWORD, std::uint64_t>> FileIdentity(const std::wstring& path) {
  const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  HANDLE handle = ::CreateFileW(path.c_str(), 0, share, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  const BOOL got = ::GetFileInformationByHandle(handle, &info);
  ::CloseHandle(handle);
  if (!got) return std::nullopt;
  return std::pair{info.dwVolumeSerialNumber,
                   (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

class Win32File : public File {
 public:
  ~Win32File() override { Close(); }

  bool Open(const std::string& path, unsigned flags) override {
    Close();
    auto wide = Cp932ToWide(path);
    if (!wide) return false;
    DWORD access = 0;
    if (flags & kRead) access |= GENERIC_READ;
    if (flags & kWrite) access |= GENERIC_WRITE;
    if (access == 0) access = GENERIC_READ;
    if ((flags & kWrite) && IsStopRequested()) return false;
    // Others may read, and the settings file may be replaced, while it is
    // open. A file created for writing is this handle's alone: a second
    // export to the same report fails instead of mixing the two.
    const DWORD share = (flags & kCreate) && (flags & kWrite)
                            ? FILE_SHARE_READ
                            : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    const DWORD disposition = (flags & kCreate) ? CREATE_ALWAYS : OPEN_EXISTING;
    // Without FILE_FLAG_BACKUP_SEMANTICS a directory does not open.
    handle_ = ::CreateFileW(wide->c_str(), access, share, nullptr, disposition,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    // What is only read must be a file on a disk: a device such as CON is no
    // file the program can read.
    if (IsOpen() && (flags & kWrite) == 0 && ::GetFileType(handle_) != FILE_TYPE_DISK) Close();
    return IsOpen();
  }

  bool Write(const void* data, std::size_t size) override {
    // A stop asked for ends the file at the last whole call.
    if (!IsOpen() || IsStopRequested()) return false;
    const char* bytes = static_cast<const char*>(data);
    std::size_t left = size;
    while (left > 0) {
      DWORD written = 0;
      const auto part = static_cast<DWORD>(std::min(left, kChunk));
      if (!::WriteFile(handle_, bytes, part, &written, nullptr) || written == 0) {
        // Never leave the file ending inside what this call wrote, counting
        // what the failing WriteFile says it wrote; the start is found only
        // here, since a report makes one call a line.
        const std::size_t done = size - left + std::min<std::size_t>(written, part);
        LARGE_INTEGER back{};
        back.QuadPart = -static_cast<LONGLONG>(done);
        if (done > 0 && ::SetFilePointerEx(handle_, back, nullptr, FILE_CURRENT)) {
          ::SetEndOfFile(handle_);
        }
        return false;
      }
      bytes += written;
      left -= written;
    }
    return true;
  }

  bool Read(void* buffer, std::size_t size, std::size_t* got) override {
    *got = 0;
    if (!IsOpen()) return false;
    DWORD read = 0;
    const auto part = static_cast<DWORD>(std::min(size, kChunk));
    if (!::ReadFile(handle_, buffer, part, &read, nullptr)) return false;
    *got = read;
    return true;
  }

  void Close() override {
    if (IsOpen()) ::CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

  bool IsOpen() const override { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// Closing the handle releases the lock.
class Win32FileLock : public FileLock {
 public:
  explicit Win32FileLock(HANDLE handle) : handle_(handle) {}
  ~Win32FileLock() override { ::CloseHandle(handle_); }

 private:
  HANDLE handle_;
};

class Win32Env : public Env {
 public:
  std::unique_ptr<File> NewFile() override { return std::make_unique<Win32File>(); }

  std::optional<FileStatus> GetFileStatus(const std::string& path) override {
    auto wide = Cp932ToWide(path);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!wide || !::GetFileAttributesExW(wide->c_str(), GetFileExInfoStandard, &data)) {
      return std::nullopt;
    }
    return FileStatus{(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                      (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow};
  }

  // The runtime library's _access: a directory passes whenever it exists; a
  // file fails a write test only when it is read-only.
  bool Access(const std::string& path, int mode) override {
    const DWORD attributes = Attributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return true;
    return !((mode & 2) && (attributes & FILE_ATTRIBUTE_READONLY));
  }

  bool PathFileExists(const std::string& path) override {
    auto wide = Cp932ToWide(path);
    return wide && ::PathFileExistsW(wide->c_str());
  }

  bool PathIsDirectory(const std::string& path) override {
    auto wide = Cp932ToWide(path);
    return wide && ::PathIsDirectoryW(wide->c_str());
  }

  bool CreateDirectory(const std::string& path) override {
    auto wide = Cp932ToWide(path);
    return wide && ::CreateDirectoryW(wide->c_str(), nullptr);
  }

  bool RemoveDirectory(const std::string& path) override {
    auto wide = Cp932ToWide(path);
    return wide && ::RemoveDirectoryW(wide->c_str());
  }

  bool DeleteFile(const std::string& path) override {
    auto wide = Cp932ToWide(path);
    return wide && ::DeleteFileW(wide->c_str());
  }

  bool ReplaceFile(const std::string& source, const std::string& target) override {
    auto from = Cp932ToWide(source);
    auto to = Cp932ToWide(target);
    if (!from || !to) return false;
    // On the disk before its name takes the old file's place: old or new
    // then survives a power cut, not only a killed process.
    if (!FlushToDisk(*from)) return false;
    // An existing target keeps its attributes and security through the
    // system's replace; a missing one is simply the renamed source.
    if (::GetFileAttributesW(to->c_str()) == INVALID_FILE_ATTRIBUTES) {
      return Retried([&] { return ::MoveFileExW(from->c_str(), to->c_str(), 0) != 0; });
    }
    // The old file goes to a name of the source's own, so a replace that
    // fails half-way leaves it where it can be put back.
    const std::wstring backup = *from + L".old";
    const auto bothInPlace = [&] {
      return ::GetFileAttributesW(to->c_str()) != INVALID_FILE_ATTRIBUTES &&
             ::GetFileAttributesW(from->c_str()) != INVALID_FILE_ATTRIBUTES;
    };
    const bool replaced = Retried(
        [&] {
          return ::ReplaceFileW(to->c_str(), from->c_str(), backup.c_str(),
                                REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0;
        },
        bothInPlace);
    if (replaced) {
      ::DeleteFileW(backup.c_str());
      return true;
    }
    const DWORD error = ::GetLastError();
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT &&
        ::GetFileAttributesW(to->c_str()) == INVALID_FILE_ATTRIBUTES) {
      // The old file is gone and the new one still has its own name.
      if (::MoveFileExW(from->c_str(), to->c_str(), 0)) {
        ::DeleteFileW(backup.c_str());
        return true;
      }
      ::MoveFileExW(backup.c_str(), to->c_str(), 0);
      return false;
    }
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
      // The old file sits under the backup name, the new one under its own:
      // the old one goes back, and the save has failed.
      ::MoveFileExW(backup.c_str(), to->c_str(), 0);
      ::SetLastError(error);
    }
    return false;
  }

  std::vector<std::string> FindFiles(const std::string& pattern) override {
    std::vector<std::string> names;
    auto wide = Cp932ToWide(pattern);
    if (!wide) return names;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(wide->c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    const std::size_t slash = sjis::FindLastSingleByte(pattern, '\\');
    const std::string_view last =
        std::string_view(pattern).substr(slash == std::string::npos ? 0 : slash + 1);
    do {
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
      // The system also matches short names and old extension rules: only
      // the long name counts. A name code page 932 cannot hold is no name
      // the program could give.
      auto name = WideToCp932(found.cFileName);
      if (name && winpath::MatchesPattern(*name, last)) names.push_back(std::move(*name));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
  }

  std::unique_ptr<FileLock> LockFile(const std::string& path) override {
    auto wide = Cp932ToWide(path);
    if (!wide) return nullptr;
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE handle = ::CreateFileW(wide->c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    // Another user's lock file still takes a lock when it can be read.
    if (handle == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_ACCESS_DENIED) {
      handle = ::CreateFileW(wide->c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    OVERLAPPED whole{};
    if (::GetFileType(handle) != FILE_TYPE_DISK ||
        !::LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole)) {
      ::CloseHandle(handle);
      return nullptr;
    }
    return std::make_unique<Win32FileLock>(handle);
  }

  std::uint32_t GetCurrentProcessId() override { return ::GetCurrentProcessId(); }

  bool StopRequested() override { return IsStopRequested(); }

  std::string GetTempPath() override {
    std::string folder = Narrow(
        GrowingText([](wchar_t* buffer, DWORD size) { return ::GetTempPathW(size, buffer); }));
    if (!folder.empty() && !sjis::EndsWithSingleByte(folder, '\\')) folder += '\\';
    return folder;
  }

  DriveType GetDriveType(const std::string& root) override {
    auto wide = Cp932ToWide(root);
    if (!wide) return DriveType::kNoRootDir;
    return static_cast<DriveType>(::GetDriveTypeW(wide->c_str()));
  }

  std::optional<std::size_t> PathSkipRoot(const std::string& path) override {
    auto wide = Cp932ToWide(path);
    if (!wide || wide->empty()) return std::nullopt;
    const wchar_t* rest = ::PathSkipRootW(wide->c_str());
    if (rest == nullptr) return std::nullopt;
    // Back to a byte offset: the code page 932 length of what was skipped.
    auto skipped = WideToCp932(std::wstring_view(wide->c_str(), rest - wide->c_str()));
    if (!skipped) return std::nullopt;
    return skipped->size();
  }

  bool PathStripToRoot(std::string& path) override {
    auto wide = Cp932ToWide(path);
    if (!wide || wide->empty()) return false;
    wide->push_back(L'\0');
    if (!::PathStripToRootW(wide->data())) return false;
    auto root = WideToCp932(wide->c_str());
    if (!root) return false;
    path = *root;
    return true;
  }

  bool IsSameFile(const std::string& a, const std::string& b) override {
    auto first = Cp932ToWide(a);
    auto second = Cp932ToWide(b);
    if (!first || !second) return false;
    auto one = FileIdentity(*first);
    return one && one == FileIdentity(*second);
  }

  bool IsProgramFile(const std::string& path) override {
    auto wide = Cp932ToWide(path);
    auto target = wide ? FileIdentity(*wide) : std::nullopt;
    if (!target) return false;
    std::vector<std::wstring> own;
    for (const std::string& file : OwnFiles()) {
      if (auto name = win32::Utf8ToWide(file)) own.push_back(*name);
    }
    const std::wstring program = GrowingText([](wchar_t* buffer, DWORD size) {
      const DWORD length = ::GetModuleFileNameW(nullptr, buffer, size);
      return length == size ? size + 1 : length;
    });
    if (!program.empty()) {
      const std::wstring folder = program.substr(0, program.rfind(L'\\') + 1);
      own.insert(own.end(), {program, folder + L"KurodaiDef.ini", folder + L"SUPPORT.INF"});
    }
    for (const std::wstring& file : own) {
      if (FileIdentity(file) == target) return true;
    }
    return false;
  }

  std::string GetModuleFileName() override {
    return Narrow(GrowingText([](wchar_t* buffer, DWORD size) {
      const DWORD length = ::GetModuleFileNameW(nullptr, buffer, size);
      return length == size ? size + 1 : length;  // cut: ask for more
    }));
  }

  std::string GetCurrentDirectory() override {
    return Narrow(GrowingText(
        [](wchar_t* buffer, DWORD size) { return ::GetCurrentDirectoryW(size, buffer); }));
  }

  bool SetCurrentDirectory(const std::string& path) override {
    auto wide = Cp932ToWide(path);
    return wide && ::SetCurrentDirectoryW(wide->c_str());
  }

  std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                      const std::string& def, const std::string& path,
                                      std::size_t size) override {
    if (size == 0) return {};
    auto wideSection = Cp932ToWide(section);
    auto wideKey = Cp932ToWide(key);
    auto wideDefault = Cp932ToWide(def);
    auto widePath = Cp932ToWide(path);
    std::wstring value;
    // A directory is no file to read, whatever the system makes of it.
    if (wideSection && wideKey && wideDefault && widePath &&
        !IsDirectoryAttribute(Attributes(path))) {
      value.resize(kProfileBuffer);
      const DWORD length =
          ::GetPrivateProfileStringW(wideSection->c_str(), wideKey->c_str(), wideDefault->c_str(),
                                     value.data(), kProfileBuffer, widePath->c_str());
      value.resize(length);
    } else if (wideDefault) {
      value = *wideDefault;
      while (!value.empty() && value.back() == L' ') value.pop_back();
    }
    const std::string text = Narrow(value);
    return text.substr(0, sjis::FitLength(text, size - 1));
  }

  // From the process heap, as the program's other memory: the caller only
  // needs zeroed bytes it owns, and null when there are none.
  std::unique_ptr<unsigned char[]> GlobalAlloc(std::size_t size) override {
    return std::unique_ptr<unsigned char[]>(new (std::nothrow) unsigned char[size]());
  }

  // Runs of convertible text are mapped by the system; bytes that are not
  // code page 932 are kept as they are.
  std::string MapFullWidth(const std::string& text) override {
    std::string out;
    std::size_t runStart = 0;
    auto flush = [&](std::size_t end) {
      if (end > runStart) out += MapRun(std::string_view(text).substr(runStart, end - runStart));
      runStart = end;
    };
    for (std::size_t i = 0; i < text.size();) {
      const std::size_t n = sjis::CharLength(text, i);
      if (!Cp932ToWide(std::string_view(text).substr(i, n))) {
        flush(i);
        out.append(text, i, n);
        runStart = i + n;
      }
      i += n;
    }
    flush(text.size());
    return out;
  }

  bool EnableWindow(WindowHandle window, bool enable) override {
    if (window == kNoWindow || !::IsWindow(ToHwnd(window))) return false;
    ::EnableWindow(ToHwnd(window), enable ? TRUE : FALSE);
    return true;
  }

  bool SetForegroundWindow(WindowHandle window) override {
    return window != kNoWindow && ::SetForegroundWindow(ToHwnd(window));
  }

  bool PostMessage(WindowHandle window, std::uint32_t message, std::uint32_t wParam,
                   std::uint32_t lParam) override {
    if (window == kNoWindow) return false;
    // The 32-bit values are signed ones, widened as a 32-bit caller reads them.
    const auto w = static_cast<WPARAM>(static_cast<INT_PTR>(static_cast<std::int32_t>(wParam)));
    const auto l = static_cast<LPARAM>(static_cast<std::int32_t>(lParam));
    return ::PostMessageW(ToHwnd(window), message, w, l);
  }

 private:
  static std::string MapRun(std::string_view run) {
    auto wide = Cp932ToWide(run);
    if (!wide || wide->size() > static_cast<std::size_t>(std::numeric_limits<int>::max() / 2)) {
      return std::string(run);
    }
    const int length = static_cast<int>(wide->size());
    const int needed =
        ::LCMapStringW(kJapanese, LCMAP_FULLWIDTH, wide->c_str(), length, nullptr, 0);
    if (needed <= 0) return std::string(run);
    std::wstring mapped(static_cast<std::size_t>(needed), L'\0');
    if (::LCMapStringW(kJapanese, LCMAP_FULLWIDTH, wide->c_str(), length, mapped.data(), needed) !=
        needed) {
      return std::string(run);
    }
    return WideToCp932(mapped).value_or(std::string(run));
  }
};

}  // namespace

namespace {

// Ctrl+C and Ctrl+Break fail the run instead of ending the process. After
// the console's close, log-off or shut-down the process ends once the
// handler returns: it waits, so the run fails at its next whole line and
// reaches its exit step within the time the system gives.
BOOL WINAPI OnConsoleControl(DWORD event) {
  NoteStopRequest();
  if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) return TRUE;
  ::Sleep(INFINITE);
  return TRUE;
}

}  // namespace

Env& Env::Default() {
  [[maybe_unused]] static const BOOL handled = ::SetConsoleCtrlHandler(&OnConsoleControl, TRUE);
  static Win32Env env;
  return env;
}

}  // namespace pv14
