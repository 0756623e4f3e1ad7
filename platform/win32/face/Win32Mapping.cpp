#include "platform/win32/face/Win32Mapping.h"

#include <algorithm>
#include <limits>

#include "platform/MessageBoxStyle.h"
#include "platform/TypedText.h"
#include "platform/win32/WideText.h"

namespace pv14::win32 {
namespace {

constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max();
constexpr UINT kShiftJis = 932;

// Without MB_ERR_INVALID_CHARS / WC_ERR_INVALID_CHARS: for display and for
// text a user typed, nothing may fail.
std::wstring Widen(UINT codePage, std::string_view text) {
  if (text.empty() || text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    return {};
  }
  const int length = static_cast<int>(text.size());
  const int needed = ::MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  ::MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), needed);
  return wide;
}

std::string Utf8(std::wstring_view wide) {
  if (wide.empty() || wide.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    return {};
  }
  const int length = static_cast<int>(wide.size());
  const int needed =
      ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string text(static_cast<std::size_t>(needed), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, text.data(), needed, nullptr, nullptr);
  return text;
}

}  // namespace

std::wstring DisplayText(std::string_view cp932) {
  if (auto exact = Cp932ToWide(cp932)) return *exact;
  return Widen(kShiftJis, cp932);
}

std::string ProgramText(std::wstring_view wide) { return TypeIntoEdit(Utf8(wide), kNoLimit); }

UINT MessageBoxFlags(std::uint32_t style, bool owned) {
  UINT flags = (style & (MB_TYPEMASK | MB_ICONMASK | MB_DEFMASK)) | MB_SETFOREGROUND;
  if (!owned) flags |= MB_TASKMODAL;
  return flags;
}

int MessageBoxAnswer(int returned, std::uint32_t style) {
  return returned != 0 ? returned : UnansweredAnswer(style);
}

FileDialogSetup SetUpFileDialog(const FileDialogRequest& request) {
  FileDialogSetup setup;
  // "Xml Files (*.xml)|*.xml||": each bar ends a string, the last two the list.
  setup.filter = DisplayText(request.filter);
  std::replace(setup.filter.begin(), setup.filter.end(), L'|', L'\0');
  auto listEnded = [&] {
    const std::size_t n = setup.filter.size();
    return n >= 2 && setup.filter[n - 1] == L'\0' && setup.filter[n - 2] == L'\0';
  };
  while (!setup.filter.empty() && !listEnded()) setup.filter.push_back(L'\0');
  setup.title = DisplayText(request.title);
  setup.defaultExtension = DisplayText(request.defaultExtension);
  setup.initialFolder = DisplayText(request.initialFolder);
  // The name in the buffer the dialog returns the path in, cut to fit it.
  setup.file = DisplayText(request.initialFileName);
  if (setup.file.size() >= MAX_PATH) setup.file.resize(MAX_PATH - 1);
  setup.file.resize(MAX_PATH, L'\0');
  setup.flags = request.flags | OFN_EXPLORER;
  return setup;
}

}  // namespace pv14::win32
