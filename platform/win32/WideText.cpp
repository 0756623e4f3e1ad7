#include "platform/win32/WideText.h"

#include <cstdlib>
#include <limits>

#include "platform/win32/WindowsApi.h"

namespace pv14::win32 {
namespace {

constexpr UINT kShiftJis = 932;

bool FitsInt(std::size_t size) {
  return size <= static_cast<std::size_t>(std::numeric_limits<int>::max());
}

// MB_ERR_INVALID_CHARS makes an invalid sequence fail, as iconv does.
std::optional<std::wstring> ToWide(UINT codePage, std::string_view text) {
  if (text.empty()) return std::wstring();
  if (!FitsInt(text.size())) return std::nullopt;
  const int length = static_cast<int>(text.size());
  const int needed =
      ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
  if (needed <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  if (::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), length, wide.data(),
                            needed) != needed) {
    return std::nullopt;
  }
  return wide;
}

// For code page 932 no best fit and no default character may stand in for
// a character; UTF-8 refuses unpaired surrogates.
std::optional<std::string> FromWide(UINT codePage, std::wstring_view wide) {
  if (wide.empty()) return std::string();
  if (!FitsInt(wide.size())) return std::nullopt;
  const int length = static_cast<int>(wide.size());
  const bool utf8 = codePage == CP_UTF8;
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;
  const int needed = ::WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0,
                                           nullptr, usedDefaultOut);
  if (needed <= 0 || usedDefault) return std::nullopt;
  std::string text(static_cast<std::size_t>(needed), '\0');
  if (::WideCharToMultiByte(codePage, flags, wide.data(), length, text.data(), needed, nullptr,
                            usedDefaultOut) != needed ||
      usedDefault) {
    return std::nullopt;
  }
  return text;
}

}  // namespace

std::optional<std::wstring> Cp932ToWide(std::string_view cp932) { return ToWide(kShiftJis, cp932); }

std::optional<std::string> WideToCp932(std::wstring_view wide) { return FromWide(kShiftJis, wide); }

std::optional<std::wstring> Utf8ToWide(std::string_view utf8) { return ToWide(CP_UTF8, utf8); }

std::optional<std::string> WideToUtf8(std::wstring_view wide) { return FromWide(CP_UTF8, wide); }

std::optional<std::wstring> WideEnvironment(const wchar_t* name) {
  const wchar_t* value = ::_wgetenv(name);
  if (value == nullptr) return std::nullopt;
  return std::wstring(value);
}

}  // namespace pv14::win32
