#include "platform/ProgramCommandLine.h"

#include "platform/win32/WideText.h"
#include "platform/win32/WindowsApi.h"

namespace pv14 {

// The runtime library's rule for a GUI program's command line: the
// program's name, quoted or up to the first blank, then the blanks after
// it are skipped. The rest is taken as it stands, so quotes, runs of blanks
// and a path that is not in the system's code page arrive unchanged.
std::string ProgramCommandLine(int, char**) {
  const wchar_t* text = ::GetCommandLineW();
  if (text == nullptr) return {};
  if (*text == L'"') {
    ++text;
    while (*text != L'\0' && *text != L'"') ++text;
    if (*text == L'"') ++text;
  } else {
    while (*text > L' ') ++text;
  }
  while (*text != L'\0' && *text <= L' ') ++text;
  return win32::WideToCp932(text).value_or(std::string());
}

}  // namespace pv14
