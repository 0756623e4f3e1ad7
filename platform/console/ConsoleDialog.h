// A modal dialog on the console: the controls of a template held as state,
// shown as text, and driven by commands read line by line.
//
// Commands, each acting on the control the template binds to its word
// (DialogTemplate::commands): "1", "2", "3" click that radio button; "path
// TEXT" types TEXT into the edit; "browse TEXT" confirms the file dialog
// behind the browse button with TEXT, "browse" cancels it; an empty line or
// "execute" clicks the execute button; "cancel" clicks the cancel button.
// "f12" presses F12 on the focused control; "esc" is the dialog's cancel
// command; the end of input is "cancel". A command whose control is missing
// or disabled is refused with a note.
//
// TEXT is taken as typing takes it (TypeIntoEdit): a character Shift_JIS
// cannot hold becomes '?', and "path" stops at the edit's limit. A TEXT in
// POSIX form ("/...") is first named in Windows form through the drive
// table, as a desktop file dialog names the file it picked; when no drive
// covers it, a note says so and the TEXT is typed as it stands.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DialogTemplate.h"
#include "platform/DriveTable.h"
#include "platform/TypedText.h"
#include "platform/Ui.h"
#include "platform/console/ConsoleIo.h"

namespace pv14 {

class ConsoleDialog : public DialogControls {
 public:
  // pendingFile receives the answer the next file dialog gives; drives
  // names POSIX paths in Windows form; prompt: a terminal, where a short
  // prompt asks for each command.
  ConsoleDialog(ConsoleIo& io, const DialogTemplate& dialog, WindowHandle handle,
                std::optional<std::string>& pendingFile, const DriveTable& drives,
                bool prompt = false);

  // Runs the modal loop; the result given to EndDialog.
  int Run(DialogLogic& logic);

  WindowHandle Handle() const override { return handle_; }
  bool IsChecked(int id) const override;
  void SetCheck(int id, bool checked) override;
  bool IsEnabled(int id) const override;
  void Enable(int id, bool enabled) override;
  std::string GetText(int id) const override;
  void SetText(int id, const std::string& text) override;
  void LimitText(int id, std::size_t bytes) override;
  void SetFocus(int id) override;
  int GetFocus() const override { return focus_; }
  void SelectAll(int) override {}
  void EndDialog(int result) override;

 private:
  struct Control {
    const ControlTemplate* source;
    std::string text;  // Shift_JIS
    bool checked = false;
    bool enabled = true;
    std::size_t limit = kEditDefaultLimit;
  };

  Control* Find(int id);
  const Control* Find(int id) const;
  // The control the template binds to the command word, when it is of kind.
  Control* Bound(std::string_view word, ControlKind kind);

  // One command line.
  void Execute(const std::string& line, DialogLogic& logic);
  void ClickRadio(std::string_view word);
  void TypePath(const std::string& utf8);
  void Browse(const std::optional<std::string>& utf8, DialogLogic& logic);
  // The Shift_JIS text a command's TEXT gives, at most limit bytes, with a
  // note for every change typing made to it; nullopt when a POSIX path was
  // refused and refusedAsTyped is false.
  std::optional<std::string> Typed(const std::string& utf8, std::size_t limit, bool refusedAsTyped);
  // Clicks the push button bound to the word; false when refused.
  bool ClickButton(std::string_view word, DialogLogic& logic);
  void EndOfInput(DialogLogic& logic);
  void FocusFirstTabStop();
  // The dialog as rows of text, top to bottom.
  std::vector<std::string> Rows() const;
  // Shows the whole dialog the first time, then only the rows that changed.
  void Render();
  void Note(const std::string& utf8) const { io_.WriteLine("  * " + utf8); }
  // A Shift_JIS text of several lines as one note, its lines indented.
  void NoteShown(const std::string& sjis) const;

  ConsoleIo& io_;
  const DialogTemplate& dialog_;
  WindowHandle handle_;
  std::optional<std::string>& pendingFile_;
  const DriveTable& drives_;
  std::vector<Control> controls_;
  int focus_ = 0;
  bool ended_ = false;
  int result_ = 0;
  unsigned changes_ = 0;  // bumped by every visible change of a control
  bool prompt_;
  std::vector<std::string> shownRows_;  // as last written
};

}  // namespace pv14
