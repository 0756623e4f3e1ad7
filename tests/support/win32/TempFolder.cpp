#include "tests/support/TempFolder.h"

#include <random>
#include <stdexcept>

#include "platform/win32/WideText.h"
#include "platform/win32/WindowsApi.h"

namespace pv14::testing {

std::string CreateUniqueTempFolder(std::string_view prefix) {
  wchar_t base[MAX_PATH + 1];
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, base);
  if (length == 0 || length > MAX_PATH) throw std::runtime_error("no temporary folder");
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::wstring folder(base, length);
    folder += L"pv14-";
    for (char c : prefix) folder += static_cast<wchar_t>(c);
    folder += L"-" + std::to_wstring(random() % 1000000000);
    if (::CreateDirectoryW(folder.c_str(), nullptr)) {
      return win32::WideToUtf8(folder).value_or(std::string());
    }
    if (::GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  throw std::runtime_error("cannot create a temporary folder");
}

}  // namespace pv14::testing
