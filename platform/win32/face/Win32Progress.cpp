#include "platform/win32/face/Win32Progress.h"

// After <windows.h> (through the header above), which it needs.
#include <commctrl.h>

#include "platform/StopRequest.h"
#include "platform/win32/WindowHandle.h"
#include "platform/win32/face/Win32Dialog.h"
#include "platform/win32/face/Win32Mapping.h"

namespace pv14::win32 {
namespace {

// The dialog is centred once made, as the framework does. The session's end
// fails the run: it stops at the next whole line and still tells the caller.
INT_PTR CALLBACK ProgressProcedure(HWND window, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    CentreDialog(window);
    return FALSE;
  }
  if (message == WM_QUERYENDSESSION || (message == WM_ENDSESSION && wParam != FALSE)) {
    NoteStopRequest();
  }
  return FALSE;
}

}  // namespace

HWND Win32ProgressWindow::Create(const DialogTemplate& dialog) {
  return ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(dialog.id), nullptr,
                              &ProgressProcedure, 0);
}

Win32ProgressWindow::Win32ProgressWindow(HWND window) : window_(window) {}

Win32ProgressWindow::~Win32ProgressWindow() { ::DestroyWindow(window_); }

WindowHandle Win32ProgressWindow::Handle() const { return FromHwnd(window_); }

void Win32ProgressWindow::SetParent(WindowHandle parent) {
  // The caller's window becomes the owner, not the parent in the window
  // tree: it stays in front of that window without being drawn inside it.
  ::SetWindowLongPtrW(window_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(LiveWindow(parent)));
}

void Win32ProgressWindow::Show() {
  ::ShowWindow(window_, SW_SHOW);
  Update();
}

void Win32ProgressWindow::SetCaption(const std::string& caption) {
  ::SetWindowTextW(window_, DisplayText(caption).c_str());
}

void Win32ProgressWindow::SetRange(int bar, int low, int high) {
  ::SendMessageW(Bar(bar), PBM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
}

void Win32ProgressWindow::SetStep(int bar, int step) {
  ::SendMessageW(Bar(bar), PBM_SETSTEP, static_cast<WPARAM>(step), 0);
}

void Win32ProgressWindow::SetPos(int bar, int pos) {
  ::SendMessageW(Bar(bar), PBM_SETPOS, static_cast<WPARAM>(pos), 0);
}

void Win32ProgressWindow::DeltaPos(int bar, int delta) {
  ::SendMessageW(Bar(bar), PBM_DELTAPOS, static_cast<WPARAM>(delta), 0);
}

int Win32ProgressWindow::GetPos(int bar) const {
  HWND control = ::GetDlgItem(window_, bar);
  return control != nullptr ? static_cast<int>(::SendMessageW(control, PBM_GETPOS, 0, 0)) : 0;
}

// Both are asked for thousands of times in a run; a window already where
// it is asked to be is left alone, which spares each call a round trip to
// the window system.
void Win32ProgressWindow::BringToTop() {
  if (::GetTopWindow(nullptr) != window_) ::BringWindowToTop(window_);
}

void Win32ProgressWindow::SetForeground() {
  if (::GetForegroundWindow() != window_) ::SetForegroundWindow(window_);
}

void Win32ProgressWindow::Update() {
  // The window and its bars, painted before this returns.
  ::RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void Win32ProgressWindow::Close(int) { ::ShowWindow(window_, SW_HIDE); }

HWND Win32ProgressWindow::Bar(int id) {
  if (HWND control = ::GetDlgItem(window_, id)) return control;
  return ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD, 0, 0, 0, 0, window_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           ::GetModuleHandleW(nullptr), nullptr);
}

}  // namespace pv14::win32
