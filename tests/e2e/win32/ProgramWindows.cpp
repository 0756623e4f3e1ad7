#include "tests/e2e/win32/ProgramWindows.h"

#include <filesystem>
#include <thread>

namespace pv14::testing {
namespace {

// Other tests (the platform tests' dialogs) may show the same caption on the
// same desktop meanwhile: the process is checked too.
struct DialogSearch {
  const wchar_t* caption;
  std::wstring programName;
  HWND found = nullptr;
};

std::wstring ProcessFileName(HWND window) {
  DWORD id = 0;
  ::GetWindowThreadProcessId(window, &id);
  HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  if (process == nullptr) return {};
  wchar_t image[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  const bool named = ::QueryFullProcessImageNameW(process, 0, image, &size);
  ::CloseHandle(process);
  if (!named) return {};
  const std::wstring path(image, size);
  return path.substr(path.find_last_of(L"\\/") + 1);
}

BOOL CALLBACK MatchDialog(HWND window, LPARAM searchAddress) {
  auto* search = reinterpret_cast<DialogSearch*>(searchAddress);
  wchar_t text[256] = {};
  wchar_t windowClass[64] = {};
  ::GetWindowTextW(window, text, 256);
  ::GetClassNameW(window, windowClass, 64);
  if (std::wstring(windowClass) != L"#32770" || std::wstring(text) != search->caption ||
      !::IsWindowVisible(window) ||
      ::_wcsicmp(ProcessFileName(window).c_str(), search->programName.c_str()) != 0) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

}  // namespace

HWND WaitForDialog(const wchar_t* caption, const std::string& program, std::chrono::seconds limit) {
  DialogSearch search{caption, std::filesystem::path(program).filename().wstring()};
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    ::EnumWindows(&MatchDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return nullptr;
}

std::wstring ItemText(HWND dialog, int id) {
  wchar_t text[512] = {};
  ::GetDlgItemTextW(dialog, id, text, 512);
  return text;
}

}  // namespace pv14::testing
