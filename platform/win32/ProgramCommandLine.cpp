#include "platform/ProgramCommandLine.h"

#include "platform/win32/CommandLineText.h"
#include "platform/win32/WindowsApi.h"

namespace pv14 {

namespace win32 {

// The runtime library's rule for a GUI program's command line: the
// program's name, quoted or up to the first blank, then the blanks after
// it are skipped. The rest is taken as it stands, so quotes and runs of
// blanks arrive unchanged.
std::string CommandLineArguments(std::wstring_view whole) {
  std::size_t at = 0;
  if (at < whole.size() && whole[at] == L'"') {
    ++at;
    while (at < whole.size() && whole[at] != L'"') ++at;
    if (at < whole.size()) ++at;
  } else {
    while (at < whole.size() && whole[at] > L' ') ++at;
  }
  while (at < whole.size() && whole[at] <= L' ') ++at;
  const std::wstring_view rest = whole.substr(at);
  if (rest.empty()) return {};
  // A character that does not fit must not take the whole line with it:
  // the caller's window and message still arrive, and the path with '?'
  // is refused where the user sees it.
  constexpr UINT kShiftJis = 932;
  const int length = static_cast<int>(rest.size());
  const int needed = ::WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, rest.data(), length,
                                           nullptr, 0, "?", nullptr);
  if (needed <= 0) return {};
  std::string text(static_cast<std::size_t>(needed), '\0');
  if (::WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, rest.data(), length, text.data(),
                            needed, "?", nullptr) != needed) {
    return {};
  }
  return text;
}

}  // namespace win32

std::string ProgramCommandLine(int, char**) {
  const wchar_t* text = ::GetCommandLineW();
  return text == nullptr ? std::string() : win32::CommandLineArguments(text);
}

}  // namespace pv14
