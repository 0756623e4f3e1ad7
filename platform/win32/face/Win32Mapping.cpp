#include "platform/win32/face/Win32Mapping.h"

#include <algorithm>
#include <limits>

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

// One character of UTF-16 at pos: 2 units for a surrogate pair, else 1.
std::size_t UnitsAt(std::wstring_view wide, std::size_t pos) {
  const wchar_t c = wide[pos];
  return c >= 0xD800 && c < 0xDC00 && pos + 1 < wide.size() && wide[pos + 1] >= 0xDC00 &&
                 wide[pos + 1] < 0xE000
             ? 2
             : 1;
}

}  // namespace

std::wstring DisplayText(std::string_view cp932) {
  if (auto exact = Cp932ToWide(cp932)) return *exact;
  return Widen(kShiftJis, cp932);
}

std::string ProgramText(std::wstring_view wide) { return TypeIntoEdit(Utf8(wide), kNoLimit); }

std::size_t ProgramBytes(std::wstring_view wide) { return ProgramText(wide).size(); }

UINT MessageBoxFlags(std::uint32_t style, bool owned) {
  UINT flags = (style & (MB_TYPEMASK | MB_ICONMASK | MB_DEFMASK)) | MB_SETFOREGROUND;
  if (!owned) flags |= MB_TASKMODAL;
  return flags;
}

int MessageBoxAnswer(int returned, std::uint32_t style) {
  if (returned != 0) return returned;
  return (style & MB_TYPEMASK) == kMbYesNo ? kIdNo : kIdOk;
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

std::optional<FittedEdit> FitEditChange(std::wstring_view before, std::wstring_view after,
                                        std::size_t byteLimit) {
  std::size_t prefix = 0;
  while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) {
    ++prefix;
  }
  std::size_t suffix = 0;
  while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  const std::wstring_view inserted = after.substr(prefix, after.size() - prefix - suffix);
  if (inserted.empty() || ProgramBytes(after) <= byteLimit) return std::nullopt;

  std::wstring kept(after.substr(0, prefix));
  const std::wstring_view rest = after.substr(after.size() - suffix);
  std::size_t used = ProgramBytes(kept) + ProgramBytes(rest);
  std::size_t take = 0;
  while (take < inserted.size()) {
    const std::size_t units = UnitsAt(inserted, take);
    const std::size_t bytes = ProgramBytes(inserted.substr(take, units));
    if (used + bytes > byteLimit) break;
    used += bytes;
    take += units;
  }
  kept.append(inserted.substr(0, take));
  const std::size_t caret = kept.size();
  kept.append(rest);
  return FittedEdit{std::move(kept), caret};
}

}  // namespace pv14::win32
