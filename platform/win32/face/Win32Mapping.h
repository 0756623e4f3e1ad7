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
// The length of ProgramText(wide), in bytes.
std::size_t ProgramBytes(std::wstring_view wide);

// MessageBoxW's flags for a style of the program: its buttons, icon and
// default button; brought to the foreground (the program has no main window)
// and modal to the whole thread when it has no owner.
UINT MessageBoxFlags(std::uint32_t style, bool owned);
// The program's answer for what MessageBoxW returned (0: it could not show
// the box): No for an unanswered question, else OK.
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

// An edit held to a limit in program bytes, while it counts UTF-16 units:
// given the text before and after a change by the user, the text the edit
// keeps (the inserted part cut to the last whole character that fits, as an
// edit of a Shift_JIS program takes only what fits) and the caret after the
// kept insertion. nullopt when the change fits as it is; deleting always
// fits.
struct FittedEdit {
  std::wstring text;
  std::size_t caret;
};
std::optional<FittedEdit> FitEditChange(std::wstring_view before, std::wstring_view after,
                                        std::size_t byteLimit);

}  // namespace pv14::win32
