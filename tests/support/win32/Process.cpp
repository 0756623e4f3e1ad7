// RunProcess on Windows: CreateProcessW with three pipes, a thread for each
// of them, and an environment block of its own.
#include "tests/support/Process.h"

#include <algorithm>
#include <cwctype>
#include <thread>
#include <vector>

#include "platform/win32/WideText.h"
#include "platform/win32/WindowsApi.h"

namespace pv14::testing {
namespace {

std::wstring Wide(const std::string& utf8) { return win32::Utf8ToWide(utf8).value_or(L""); }

// One argument as the runtime library splits a command line again: quoted
// only when it must be, backslashes doubled only before a quote.
std::wstring Quoted(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) {
    return argument;
  }
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

// Names compare without regard to case, as Windows compares them.
struct NoCase {
  bool operator()(const std::wstring& a, const std::wstring& b) const {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(),
        [](wchar_t x, wchar_t y) { return std::towupper(x) < std::towupper(y); });
  }
};

std::wstring EnvironmentBlock(const ProcessOptions& options) {
  std::map<std::wstring, std::wstring, NoCase> merged;
  if (wchar_t* strings = ::GetEnvironmentStringsW()) {
    for (const wchar_t* entry = strings; *entry != L'\0'; entry += wcslen(entry) + 1) {
      const std::wstring text = entry;
      // "=C:=C:\dir" entries keep the name that starts with '='.
      const std::size_t equals = text.find(L'=', 1);
      if (equals != std::wstring::npos) merged[text.substr(0, equals)] = text.substr(equals + 1);
    }
    ::FreeEnvironmentStringsW(strings);
  }
  for (const auto& name : options.unsetEnv) merged.erase(Wide(name));
  for (const auto& [name, value] : options.env) merged[Wide(name)] = Wide(value);
  std::wstring block;
  for (const auto& [name, value] : merged) {
    block += name + L"=" + value;
    block += L'\0';
  }
  block += L'\0';
  return block;
}

struct Pipe {
  HANDLE read = nullptr;
  HANDLE write = nullptr;

  // The child's end is inheritable, ours is not.
  bool Open(bool childReads) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    if (!::CreatePipe(&read, &write, &inherit, 0)) return false;
    return ::SetHandleInformation(childReads ? write : read, HANDLE_FLAG_INHERIT, 0);
  }
  static void Close(HANDLE& handle) {
    if (handle != nullptr) ::CloseHandle(handle);
    handle = nullptr;
  }
  ~Pipe() {
    Close(read);
    Close(write);
  }
};

void ReadAll(HANDLE from, std::string* into) {
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(from, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    into->append(buffer, got);
  }
}

void WriteAll(HANDLE to, const std::string& bytes) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    DWORD n = 0;
    const auto part = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 65536));
    if (!::WriteFile(to, bytes.data() + written, part, &n, nullptr) || n == 0) break;
    written += n;
  }
}

// Types text into the console's input as key presses; '\n' is Enter.
bool TypeIntoConsole(HANDLE input, const std::string& text) {
  std::vector<INPUT_RECORD> keys;
  for (wchar_t c : Wide(text)) {
    INPUT_RECORD key{};
    key.EventType = KEY_EVENT;
    key.Event.KeyEvent.bKeyDown = TRUE;
    key.Event.KeyEvent.wRepeatCount = 1;
    key.Event.KeyEvent.wVirtualKeyCode = c == L'\n' ? VK_RETURN : 0;
    key.Event.KeyEvent.uChar.UnicodeChar = c == L'\n' ? L'\r' : c;
    keys.push_back(key);
  }
  DWORD written = 0;
  return keys.empty() ||
         (::WriteConsoleInputW(input, keys.data(), static_cast<DWORD>(keys.size()), &written) &&
          written == keys.size());
}

HANDLE OpenConsole(const wchar_t* name) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  return ::CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       &inherit, OPEN_EXISTING, 0, nullptr);
}

}  // namespace

ProcessResult RunProcess(const std::string& program, const ProcessOptions& options) {
  std::string path = program;
  std::replace(path.begin(), path.end(), '/', '\\');
  std::wstring commandLine = Quoted(Wide(path));
  for (const auto& argument : options.args) commandLine += L" " + Quoted(Wide(argument));
  std::wstring environment = EnvironmentBlock(options);
  const std::wstring folder = Wide(options.workingDirectory);

  Pipe in, out, err;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  if (options.onConsole) {
    // Held by in and out, so closed as the pipes are.
    in.read = OpenConsole(L"CONIN$");
    out.write = OpenConsole(L"CONOUT$");
    if (in.read == INVALID_HANDLE_VALUE || out.write == INVALID_HANDLE_VALUE ||
        !TypeIntoConsole(in.read, options.input)) {
      return {};
    }
    startup.hStdInput = in.read;
    startup.hStdOutput = startup.hStdError = out.write;
  } else {
    if (!in.Open(true) || !out.Open(false) || !err.Open(false)) return {};
    startup.hStdInput = in.read;
    startup.hStdOutput = out.write;
    startup.hStdError = err.write;
  }
  PROCESS_INFORMATION process{};
  // Under a loaded emulator a start can fail now and then: try again.
  bool started = false;
  DWORD error = 0;
  for (int attempt = 0; attempt < 3 && !started; ++attempt) {
    if (attempt > 0) ::Sleep(200);
    started = ::CreateProcessW(
        nullptr, commandLine.data(), nullptr, nullptr, TRUE,
        CREATE_UNICODE_ENVIRONMENT | (options.onConsole ? 0 : CREATE_NO_WINDOW), environment.data(),
        folder.empty() ? nullptr : folder.c_str(), &startup, &process);
    if (!started) error = ::GetLastError();
  }
  if (!started) {
    ProcessResult failed;
    failed.err = "cannot start " + path + ": error " + std::to_string(error);
    return failed;
  }
  // Only the child holds its ends now, so the reads end when it does.
  Pipe::Close(in.read);
  Pipe::Close(out.write);
  Pipe::Close(err.write);

  ProcessResult result;
  std::thread writer([&] {
    if (in.write != nullptr) WriteAll(in.write, options.input);
    Pipe::Close(in.write);
  });
  std::thread outReader([&] {
    if (out.read != nullptr) ReadAll(out.read, &result.out);
  });
  std::thread errReader([&] {
    if (err.read != nullptr) ReadAll(err.read, &result.err);
  });
  const DWORD timeout = static_cast<DWORD>(options.timeoutSeconds) * 1000;
  const bool exited = ::WaitForSingleObject(process.hProcess, timeout) == WAIT_OBJECT_0;
  if (!exited) ::TerminateProcess(process.hProcess, 1);
  ::WaitForSingleObject(process.hProcess, INFINITE);
  writer.join();
  outReader.join();
  errReader.join();
  DWORD status = 0;
  if (exited && ::GetExitCodeProcess(process.hProcess, &status)) {
    result.exitStatus = static_cast<int>(status);
  } else if (!exited) {
    result.err += "\n(killed after " + std::to_string(options.timeoutSeconds) + " s)";
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return result;
}

}  // namespace pv14::testing
