#include "platform/StopRequest.h"
#include "platform/win32/face/Win32Dialog.h"

#include "platform/TypedText.h"
#include "platform/win32/WindowHandle.h"
#include "platform/win32/face/Win32Mapping.h"

namespace pv14::win32 {
namespace {

bool IsPushButton(const DialogTemplate& dialog, int id) {
  const ControlTemplate* control = dialog.Find(id);
  return control != nullptr && control->kind == ControlKind::kPushButton;
}

std::wstring WindowText(HWND window) {
  if (window == nullptr) return {};
  const int length = ::GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = ::GetWindowTextW(window, text.data(), length + 1);
  text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return text;
}

}  // namespace

void CentreDialog(HWND window) {
  RECT dialog{};
  if (!::GetWindowRect(window, &dialog)) return;
  RECT area{};
  HWND owner = ::GetWindow(window, GW_OWNER);
  if (owner == nullptr || !::IsWindowVisible(owner) || ::IsIconic(owner) ||
      !::GetWindowRect(owner, &area)) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor)) return;
    area = monitor.rcWork;
  }
  const LONG width = dialog.right - dialog.left;
  const LONG height = dialog.bottom - dialog.top;
  LONG left = (area.left + area.right - width) / 2;
  LONG top = (area.top + area.bottom - height) / 2;
  // Never with its caption above or left of the screen.
  left = left < 0 ? 0 : left;
  top = top < 0 ? 0 : top;
  ::SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Win32Dialog::Win32Dialog(const DialogTemplate& dialog, DialogLogic& logic)
    : template_(dialog), logic_(logic) {}

Win32Dialog::~Win32Dialog() {
  if (window_ != nullptr) ::DestroyWindow(window_);
}

int Win32Dialog::Run(HWND owner) {
  HWND made = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(template_.id),
                                   owner, &Procedure, reinterpret_cast<LPARAM>(this));
  if (made == nullptr) return kIdCancel;
  if (!ended_) {
    // Modal: the owner takes no input meanwhile, unless it was disabled
    // already (the caller's window during a run), when it is left so.
    const bool disableOwner = owner != nullptr && ::IsWindowEnabled(owner);
    if (disableOwner) ::EnableWindow(owner, FALSE);
    // The focus and the accelerators show from the start, not only after
    // the first key: the dialog is worked by keyboard.
    ::SendMessageW(window_, WM_CHANGEUISTATE,
                   MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    RunModalLoop();
    // Enabled before the dialog goes, so the activation returns to it.
    if (disableOwner) ::EnableWindow(owner, TRUE);
  }
  ::DestroyWindow(window_);
  window_ = nullptr;
  return result_;
}

INT_PTR CALLBACK Win32Dialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<Win32Dialog*>(lParam);
    ::SetWindowLongPtrW(window, DWLP_USER, lParam);
    self->window_ = window;
    return self->OnInitDialog();
  }
  auto* self = reinterpret_cast<Win32Dialog*>(::GetWindowLongPtrW(window, DWLP_USER));
  if (self == nullptr) return FALSE;
  if (message == WM_COMMAND) {
    self->OnCommand(LOWORD(wParam), HIWORD(wParam));
    return TRUE;
  }
  // The session's end fails the run once the dialog is gone; the default
  // answer lets the session end.
  if (message == WM_QUERYENDSESSION || (message == WM_ENDSESSION && wParam != FALSE)) {
    NoteStopRequest();
  }
  return FALSE;
}

BOOL Win32Dialog::OnInitDialog() {
  const bool focusFirst = logic_.OnInitDialog(*this);
  if (!ended_) CentreDialog(window_);
  return focusFirst ? TRUE : FALSE;
}

void Win32Dialog::OnCommand(int id, int code) {
  if (template_.Find(id) == nullptr) {
    // The dialog manager's commands: IDCANCEL for Esc and the close box;
    // IDOK (Enter with a modifier held) has no handler and is ignored, so
    // the dialog ends only through the logic.
    if (id == IDCANCEL) logic_.OnCancel(*this);
    return;
  }
  if (code == BN_CLICKED && IsPushButton(template_, id)) {
    logic_.OnCommand(*this, id);
  } else if (code == EN_CHANGE && !settingText_) {
    KeepWithinLimit(id);
  }
}

void Win32Dialog::RunModalLoop() {
  MSG message;
  while (!ended_) {
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      NoMoreInput();
      // The quit request is for the program's own loop, which has none.
      if (got == 0) ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (PreTranslate(message)) continue;
    if (!::IsDialogMessageW(window_, &message)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }
}

bool Win32Dialog::PreTranslate(const MSG& message) {
  if (message.message != WM_KEYDOWN) return false;
  if (message.hwnd != window_ && !::IsChild(window_, message.hwnd)) return false;
  return logic_.PreTranslateKey(*this, static_cast<int>(message.wParam), ControlIdOf(message.hwnd));
}

void Win32Dialog::NoMoreInput() {
  CancelForNoMoreInput(template_, *this, logic_);
  if (!ended_) EndDialog(kIdCancel);
}

void Win32Dialog::KeepWithinLimit(int id) {
  auto it = limited_.find(id);
  if (it == limited_.end()) return;
  HWND edit = Item(id);
  const std::wstring text = WindowText(edit);
  const auto utf16 = [](std::wstring_view wide) {
    return std::u16string(wide.begin(), wide.end());
  };
  const TypedChange fitted =
      FitTypedChange(utf16(it->second.accepted), utf16(text), it->second.bytes);
  it->second.accepted.assign(fitted.text.begin(), fitted.text.end());
  if (it->second.accepted != text) {
    settingText_ = true;
    ::SetWindowTextW(edit, it->second.accepted.c_str());
    settingText_ = false;
    ::SendMessageW(edit, EM_SETSEL, fitted.caret, fitted.caret);
  }
}

HWND Win32Dialog::Item(int id) const {
  return window_ != nullptr ? ::GetDlgItem(window_, id) : nullptr;
}

int Win32Dialog::ControlIdOf(HWND window) const {
  while (window != nullptr && window != window_) {
    HWND parent = ::GetParent(window);
    if (parent == window_) return ::GetDlgCtrlID(window);
    window = parent;
  }
  return 0;
}

WindowHandle Win32Dialog::Handle() const { return FromHwnd(window_); }

bool Win32Dialog::IsChecked(int id) const {
  HWND item = Item(id);
  return item != nullptr && ::SendMessageW(item, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Dialog::SetCheck(int id, bool checked) {
  if (HWND item = Item(id)) {
    ::SendMessageW(item, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

bool Win32Dialog::IsEnabled(int id) const {
  HWND item = Item(id);
  return item != nullptr && ::IsWindowEnabled(item);
}

void Win32Dialog::Enable(int id, bool enabled) {
  if (HWND item = Item(id)) ::EnableWindow(item, enabled ? TRUE : FALSE);
}

std::string Win32Dialog::GetText(int id) const { return ProgramText(WindowText(Item(id))); }

void Win32Dialog::SetText(int id, const std::string& text) {
  HWND item = Item(id);
  if (item == nullptr) return;
  const std::wstring wide = DisplayText(text);
  settingText_ = true;
  ::SetWindowTextW(item, wide.c_str());
  settingText_ = false;
  // The program's own text is not held to the limit; typing after it is.
  auto it = limited_.find(id);
  if (it != limited_.end()) it->second.accepted = wide;
}

void Win32Dialog::LimitText(int id, std::size_t bytes) {
  HWND item = Item(id);
  if (item == nullptr) return;
  // The edit counts UTF-16 units, never more than the bytes they make; the
  // byte limit itself is kept on every change.
  ::SendMessageW(item, EM_LIMITTEXT, bytes, 0);
  limited_[id] = LimitedEdit{bytes, WindowText(item)};
}

void Win32Dialog::SetFocus(int id) {
  if (HWND item = Item(id)) ::SetFocus(item);
}

int Win32Dialog::GetFocus() const { return ControlIdOf(::GetFocus()); }

void Win32Dialog::SelectAll(int id) {
  if (HWND item = Item(id)) {
    ::SendMessageW(item, EM_SETSEL, 0, -1);
    ::SendMessageW(item, EM_SCROLLCARET, 0, 0);
  }
}

void Win32Dialog::EndDialog(int result) {
  ended_ = true;
  result_ = result;
  // Wakes the modal loop when the end came inside a message sent from
  // another thread, which GetMessage handles without returning.
  if (window_ != nullptr) ::PostMessageW(window_, WM_NULL, 0, 0);
}

}  // namespace pv14::win32
