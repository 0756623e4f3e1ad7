// The user-interface services the program needs: message boxes, modal
// dialogs built from a template (platform/DialogTemplate.h) and driven by
// logic that knows controls only by id, the file dialog, the modeless
// progress window, key state and the wait cursor. Faces (console, Qt, Win32)
// implement it, Ui::Default() picks one (platform/FaceChoice.h); tests fake it.
//
// Every text crossing this interface is Shift_JIS; faces convert for
// display. No call throws, and none fails in a way the program must handle:
// where a face cannot do what is asked, the call says what it gives instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/DialogTemplate.h"
#include "platform/Types.h"

namespace pv14 {

// The controls of a running dialog, addressed by their template ids. A call
// with an id the template does not have does nothing, and a query for one
// gives false, an empty text or 0.
class DialogControls {
 public:
  virtual ~DialogControls() = default;
  // The dialog's window, the owner of the message boxes it shows.
  virtual WindowHandle Handle() const = 0;
  virtual bool IsChecked(int id) const = 0;
  // Sets one button's check; the others of its group are left as they are.
  virtual void SetCheck(int id, bool checked) = 0;
  virtual bool IsEnabled(int id) const = 0;
  // A disabled control takes no input and no focus from the user.
  virtual void Enable(int id, bool enabled) = 0;
  virtual std::string GetText(int id) const = 0;
  virtual void SetText(int id, const std::string& text) = 0;
  // Maximum number of bytes the user may type into an edit; text set by
  // SetText is not held to it.
  virtual void LimitText(int id, std::size_t bytes) = 0;
  virtual void SetFocus(int id) = 0;
  virtual int GetFocus() const = 0;  // id of the focused control, 0 for none
  // Selects the whole text of an edit and scrolls the caret into view.
  virtual void SelectAll(int id) = 0;
  // Ends the modal loop once the current event has been handled; the last
  // result given is RunModal's.
  virtual void EndDialog(int result) = 0;
};

// What a dialog does: the face calls these as events arrive, one at a time,
// on the thread that called RunModal.
class DialogLogic {
 public:
  virtual ~DialogLogic() = default;
  // After the controls exist, before the dialog takes input; true lets the
  // face focus the first enabled tab stop. A dialog ended here takes no
  // input at all.
  virtual bool OnInitDialog(DialogControls& controls) = 0;
  // A push button was clicked (radio buttons change their check themselves).
  virtual void OnCommand(DialogControls& controls, int id) = 0;
  // The dialog manager's cancel command: Esc, the close box.
  virtual void OnCancel(DialogControls& controls) = 0;
  // A key went down while the control focusId had the focus. True consumes
  // it; false lets the face's default handling run.
  virtual bool PreTranslateKey(DialogControls& controls, int virtualKey, int focusId) = 0;
};

// The file dialog's flags the faces act on, with their Windows values.
namespace file_dialog {
inline constexpr std::uint32_t kHideReadOnly = 0x0004;
inline constexpr std::uint32_t kNoChangeDir = 0x0008;
inline constexpr std::uint32_t kPathMustExist = 0x0800;
inline constexpr std::uint32_t kFileMustExist = 0x1000;
}  // namespace file_dialog

struct FileDialogRequest {
  WindowHandle owner = kNoWindow;
  bool save = true;
  std::string defaultExtension;  // "XML"
  std::string initialFileName;
  std::string filter;  // "Xml Files (*.xml)|*.xml||"
  std::uint32_t flags = 0;
  std::string initialFolder;
  std::string title;
};

// A modeless progress window with bars addressed by their template ids. Its
// calls never fail; a bar the template does not have is kept but not shown.
class ProgressWindow {
 public:
  virtual ~ProgressWindow() = default;  // destroys the window
  virtual WindowHandle Handle() const = 0;
  // Gives the window an owner; kNoWindow for none.
  virtual void SetParent(WindowHandle parent) = 0;
  virtual void Show() = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  // A bar's range, step and position, as the progress-bar control keeps
  // them: the position always stays within the range, and a new bar runs
  // 0..100 in steps of 10.
  virtual void SetRange(int bar, int low, int high) = 0;
  virtual void SetStep(int bar, int step) = 0;
  virtual void SetPos(int bar, int pos) = 0;
  // Moves the position by delta, held at the ends of the range.
  virtual void DeltaPos(int bar, int delta) = 0;
  virtual int GetPos(int bar) const = 0;
  virtual void BringToTop() = 0;
  virtual void SetForeground() = 0;
  virtual void Update() = 0;  // repaint now, without dispatching messages
  // Hides the window for good; result is the dialog's end result.
  virtual void Close(int result) = 0;
};

// What every face does when no more input can come while a dialog runs
// (the console's end of input, a quit request): the dialog ends as a cancel.
// Clicks the cancel button the template binds when it is enabled, else gives
// the cancel command; the face then ends the dialog with kIdCancel when the
// logic did not.
inline void CancelForNoMoreInput(const DialogTemplate& dialog, DialogControls& controls,
                                 DialogLogic& logic) {
  const std::optional<int> cancel = dialog.CommandTarget(command::kCancel);
  if (cancel && controls.IsEnabled(*cancel)) {
    logic.OnCommand(controls, *cancel);
  } else {
    logic.OnCancel(controls);
  }
}

// The wait cursor's nesting: Begin says when to show it, End when to take it
// away; an End without a Begin does nothing.
class WaitCursorDepth {
 public:
  bool Begin() { return depth_++ == 0; }
  bool End() { return depth_ > 0 && --depth_ == 0; }

 private:
  int depth_ = 0;
};

class Ui {
 public:
  Ui() = default;
  Ui(const Ui&) = delete;
  Ui& operator=(const Ui&) = delete;
  virtual ~Ui() = default;

  // The face chosen by PV14_UI among the faces of this build
  // (platform/FaceChoice.h), opened on the first call and kept for the process.
  static Ui& Default();

  // Shows a modal message box; returns kIdOk for a box with only OK, kIdYes
  // or kIdNo for a question (kIdNo when the face can get no answer).
  virtual int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                         std::uint32_t style) = 0;
  // Runs a modal dialog of the template with the logic; returns the result
  // given to EndDialog. A face that can no longer get input presses the
  // cancel button (else gives the cancel command), and ends the dialog with
  // kIdCancel when the logic does not.
  virtual int RunModal(const DialogTemplate& dialog, WindowHandle parent, DialogLogic& logic) = 0;
  // The file dialog; the chosen full path, or nullopt when cancelled or when
  // the face cannot show one.
  virtual std::optional<std::string> ShowFileDialog(const FileDialogRequest& request) = 0;
  // A modeless progress window, not yet visible; null when the face cannot
  // make one (the program then shows no progress).
  virtual std::unique_ptr<ProgressWindow> CreateProgressWindow(const DialogTemplate& dialog) = 0;
  // True when the key is held down (GetKeyState negative); false when the
  // face cannot tell.
  virtual bool IsKeyDown(int virtualKey) = 0;
  // The wait cursor, shown from Begin to the matching End; calls nest.
  virtual void BeginWaitCursor() = 0;
  virtual void EndWaitCursor() = 0;

  // The run's exit step, which returns the process exit status; empty when
  // no run is in progress. A face whose toolkit would end the process from
  // inside a call (the desktop face when its display goes away) runs it
  // there and ends the process with that status, never returning into the
  // run. Faces whose calls always return (the console's end of input,
  // Win32's quit) have no use for it.
  virtual void SetExitStep(std::function<int()> step) { static_cast<void>(step); }
};

}  // namespace pv14
