// The user-interface services the program needs: message boxes, modal
// dialogs built from a template and driven by logic that knows controls only
// by id, the file dialog, the modeless progress window, key state and the
// wait cursor. Front ends (console, Qt) implement it; tests fake it.
//
// Every text crossing this interface is Shift_JIS; front ends convert for
// display.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/DialogTemplate.h"
#include "platform/Types.h"

namespace pv14 {

// The controls of a running dialog, addressed by their template ids.
class DialogControls {
 public:
  virtual ~DialogControls() = default;
  virtual WindowHandle Handle() const = 0;
  virtual bool IsChecked(int id) const = 0;
  virtual void SetCheck(int id, bool checked) = 0;
  virtual bool IsEnabled(int id) const = 0;
  virtual void Enable(int id, bool enabled) = 0;
  virtual std::string GetText(int id) const = 0;
  virtual void SetText(int id, const std::string& text) = 0;
  // Maximum number of bytes the user may type into an edit.
  virtual void LimitText(int id, std::size_t bytes) = 0;
  virtual void SetFocus(int id) = 0;
  virtual int GetFocus() const = 0;  // id of the focused control, 0 for none
  // Selects the whole text of an edit and scrolls the caret into view.
  virtual void SelectAll(int id) = 0;
  // Ends the modal loop once the current event has been handled.
  virtual void EndDialog(int result) = 0;
};

// What a dialog does: the front end calls these as events arrive.
class DialogLogic {
 public:
  virtual ~DialogLogic() = default;
  // After the controls exist; true lets the front end focus the first
  // enabled control in tab order.
  virtual bool OnInitDialog(DialogControls& controls) = 0;
  // A push button was clicked (radio buttons change their check themselves).
  virtual void OnCommand(DialogControls& controls, int id) = 0;
  // The dialog manager's cancel command: Esc, the close box.
  virtual void OnCancel(DialogControls& controls) = 0;
  // A key went down while the control focusId had the focus. True consumes
  // it; false lets the front end's default handling run.
  virtual bool PreTranslateKey(DialogControls& controls, int virtualKey, int focusId) = 0;
};

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

// The two-bar progress window built from template 131.
class ProgressWindow {
 public:
  virtual ~ProgressWindow() = default;
  virtual WindowHandle Handle() const = 0;
  virtual void SetParent(WindowHandle parent) = 0;
  virtual void Show() = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  // bar is the control id (1018 main, 1019 activity).
  virtual void SetRange(int bar, int low, int high) = 0;
  virtual void SetStep(int bar, int step) = 0;
  virtual void SetPos(int bar, int pos) = 0;
  virtual void DeltaPos(int bar, int delta) = 0;
  virtual int GetPos(int bar) const = 0;
  virtual void BringToTop() = 0;
  virtual void SetForeground() = 0;
  virtual void Update() = 0;  // repaint now
  virtual void Close(int result) = 0;
};

class Ui {
 public:
  Ui() = default;
  Ui(const Ui&) = delete;
  Ui& operator=(const Ui&) = delete;
  virtual ~Ui() = default;

  // The front end chosen by PV14_UI (console when unset and no desktop).
  static Ui& Default();

  // Shows a modal message box; returns kIdOk, kIdYes or kIdNo.
  virtual int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                         std::uint32_t style) = 0;
  // Runs a modal dialog of the template with the logic; returns the result
  // given to EndDialog.
  virtual int RunModal(const DialogTemplate& dialog, WindowHandle parent, DialogLogic& logic) = 0;
  // The file dialog; the chosen full path, or nullopt when cancelled.
  virtual std::optional<std::string> ShowFileDialog(const FileDialogRequest& request) = 0;
  // A modeless progress window, not yet visible.
  virtual std::unique_ptr<ProgressWindow> CreateProgressWindow(const DialogTemplate& dialog) = 0;
  // True when the key is held down (GetKeyState negative).
  virtual bool IsKeyDown(int virtualKey) = 0;
  virtual void BeginWaitCursor() = 0;
  virtual void EndWaitCursor() = 0;
};

}  // namespace pv14
