// What the Win32 face hands the Windows API for a request of the program,
// and what it hands back: the parts that need no window, kept apart so they
// can be checked on their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Ui.h"
#include "platform/win32/WindowsApi.h"
// After <windows.h>, which it needs.
#include <commdlg.h>

namespace pv14::win32 {

// A Shift_JIS text for display; bytes that are no code page 932 character
// show as the system's replacement character instead of losing the text.
std::wstring DisplayText(std::string_view cp932);
// What the program reads from a control: every character code page 932
// cannot hold becomes '?', as in an edit of a Shift_JIS program.
std::string ProgramText(std::wstring_view wide);

// MessageBoxW's flags for a style of the program: its buttons, icon and
// default button; brought to the foreground (the program has no main window)
// and modal to the whole thread when it has no owner.
UINT MessageBoxFlags(std::uint32_t style, bool owned);
// The program's answer for what MessageBoxW returned (0: it could not show
// the box, which counts as unanswered).
int MessageBoxAnswer(int returned, std::uint32_t style);

// The common file dialog's side of a request, owned here so the pointers in
// an OPENFILENAMEW stay valid while it runs.
struct FileDialogSetup {
  std::wstring filter;  // "name\0patterns\0...\0\0"; empty for none
  std::wstring title;
  std::wstring defaultExtension;
  std::wstring initialFolder;  // empty: the dialog's own choice
  std::wstring file;           // the initial name, in a MAX_PATH buffer
  DWORD flags;
};
FileDialogSetup SetUpFileDialog(const FileDialogRequest& request);

}  // namespace pv14::win32
