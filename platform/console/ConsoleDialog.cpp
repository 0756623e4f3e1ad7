#include "platform/console/ConsoleDialog.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <string_view>

#include "platform/ChosenFile.h"
#include "platform/Encoding.h"
#include "platform/ShiftJis.h"
#include "platform/TypedText.h"
#include "platform/Types.h"

namespace pv14 {
namespace {

constexpr std::string_view kHelp =
    "commands: 1 | 2 | 3 (choose), path TEXT, browse [TEXT], execute (or an empty line), "
    "f12, cancel, esc";

std::string Lowered(std::string_view word) {
  std::string lowered(word);
  std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lowered;
}

bool IsBlankLine(std::string_view line) {
  return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

}  // namespace

ConsoleDialog::ConsoleDialog(ConsoleIo& io, const DialogTemplate& dialog, WindowHandle handle,
                             std::optional<std::string>& pendingFile, const DriveTable& drives,
                             bool prompt)
    : io_(io),
      dialog_(dialog),
      handle_(handle),
      pendingFile_(pendingFile),
      drives_(drives),
      prompt_(prompt) {
  for (const auto& control : dialog.controls) controls_.push_back({&control, control.text});
}

int ConsoleDialog::Run(DialogLogic& logic) {
  if (logic.OnInitDialog(*this)) FocusFirstTabStop();
  if (ended_) return result_;
  Render();
  io_.WriteLine(kHelp);
  while (!ended_) {
    if (prompt_) io_.WritePrompt("> ");
    auto line = io_.ReadLine();
    if (!line) {
      EndOfInput(logic);
      break;
    }
    unsigned changesBefore = changes_;
    Execute(*line, logic);
    if (!ended_ && changes_ != changesBefore) Render();
  }
  return result_;
}

void ConsoleDialog::Execute(const std::string& line, DialogLogic& logic) {
  if (IsBlankLine(line)) {
    ClickButton(command::kExecute, logic);
    return;
  }
  std::string_view rest = line;
  while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
  std::size_t blank = rest.find(' ');
  std::string word = Lowered(rest.substr(0, blank));
  // The text is everything after the one blank behind the command word, so
  // that blanks can be typed.
  std::optional<std::string> text;
  if (blank != std::string_view::npos) text = std::string(rest.substr(blank + 1));

  const bool choice =
      word == command::kChoose1 || word == command::kChoose2 || word == command::kChoose3;
  if (choice && !text) {
    ClickRadio(word);
  } else if (word == command::kPath) {
    TypePath(text.value_or(""));
  } else if (word == command::kBrowse) {
    Browse(text, logic);
  } else if (word == command::kExecute && !text) {
    ClickButton(command::kExecute, logic);
  } else if (word == "f12" && !text) {
    logic.PreTranslateKey(*this, kVkF12, focus_);
  } else if (word == command::kCancel && !text) {
    ClickButton(command::kCancel, logic);
  } else if (word == "esc" && !text) {
    logic.OnCancel(*this);
  } else {
    Note("unknown command; " + std::string(kHelp));
  }
}

void ConsoleDialog::ClickRadio(std::string_view word) {
  Control* radio = Bound(word, ControlKind::kRadioButton);
  if (radio == nullptr) {
    Note("there is no choice " + std::string(word));
    return;
  }
  if (!radio->enabled) {
    Note("choice " + std::string(word) + " is disabled");
    return;
  }
  // An automatic radio button unchecks the others of its group.
  const int clicked = radio->source->id;
  for (int id : dialog_.RadioGroup(clicked)) Find(id)->checked = id == clicked;
  ++changes_;
  focus_ = radio->source->id;
}

void ConsoleDialog::TypePath(const std::string& utf8) {
  Control* edit = Bound(command::kPath, ControlKind::kEdit);
  if (edit == nullptr || !edit->enabled) {
    Note("the path cannot be edited");
    return;
  }
  // Whatever was typed replaces the edit's text, so a later execute never
  // goes on with the path shown before.
  std::optional<std::string> text = Typed(utf8, edit->limit, true);
  focus_ = edit->source->id;
  SetText(edit->source->id, text.value_or(""));
}

void ConsoleDialog::Browse(const std::optional<std::string>& utf8, DialogLogic& logic) {
  // A file name the file dialog would refuse ends it as a cancel does.
  std::optional<std::string> answer;
  if (utf8) answer = Typed(*utf8, std::numeric_limits<std::size_t>::max(), false);
  pendingFile_ = answer;
  const bool clicked = ClickButton(command::kBrowse, logic);
  pendingFile_.reset();  // an answer the logic did not ask for is dropped
  if (clicked && !answer)
    Note("no file chosen: the file dialog was cancelled, the path is as it was");
}

std::optional<std::string> ConsoleDialog::Typed(const std::string& utf8, std::size_t limit,
                                                bool refusedAsTyped) {
  std::optional<std::string> text;
  if (!utf8.empty() && utf8.front() == '/') {
    const ChosenFile chosen = ChosenFileInWindowsForm(drives_, utf8);
    if (chosen.refusal.empty()) {
      text = chosen.windowsPath;
      Note(ConsoleIo::Escaped(utf8) + " is " + ConsoleIo::ToDisplay(*text) + " under PV14_DRIVES");
    } else {
      NoteShown(chosen.refusal);
      if (!refusedAsTyped) return std::nullopt;
      Note("the text is typed as it stands");
    }
  }
  if (!text && !refusedAsTyped && !Utf8ToCp932(utf8)) {
    // The file dialog refuses a name the program could never open, as
    // every face does.
    NoteShown(UnwritableNameRefusal(utf8));
    return std::nullopt;
  }
  if (!text) {
    text = TypeIntoEdit(utf8, std::numeric_limits<std::size_t>::max());
    if (!Utf8ToCp932(utf8)) Note("a character Shift_JIS cannot hold was typed as ?");
  }
  if (text->size() > limit) {
    text->resize(sjis::FitLength(*text, limit));
    Note("the path edit holds " + std::to_string(limit) + " bytes: typing stopped there");
  }
  return text;
}

void ConsoleDialog::NoteShown(const std::string& sjis) const {
  const std::string text = ConsoleIo::ToDisplay(sjis, true);
  std::string shown;
  for (std::size_t i = 0; i < text.size(); ++i) {
    shown += text[i];
    // Lines after the first are indented under the note's text; blank ones
    // stay blank.
    if (text[i] == '\n' && i + 1 < text.size() && text[i + 1] != '\n') shown += "    ";
  }
  Note(shown);
}

bool ConsoleDialog::ClickButton(std::string_view word, DialogLogic& logic) {
  Control* button = Bound(word, ControlKind::kPushButton);
  if (button == nullptr) {
    Note("there is no button for " + std::string(word));
    return false;
  }
  if (!button->enabled) {
    Note(ConsoleIo::ToDisplay(button->text) + " is disabled");
    return false;
  }
  focus_ = button->source->id;
  logic.OnCommand(*this, button->source->id);
  return true;
}

void ConsoleDialog::EndOfInput(DialogLogic& logic) {
  CancelForNoMoreInput(dialog_, *this, logic);
  // Nothing more can be read: a dialog that stays open would wait forever.
  if (!ended_) EndDialog(kIdCancel);
}

void ConsoleDialog::FocusFirstTabStop() {
  const int first = dialog_.NextTabStop(0, [this](int id) { return IsEnabled(id); });
  if (first != 0) focus_ = first;
}

ConsoleDialog::Control* ConsoleDialog::Find(int id) {
  for (auto& control : controls_) {
    if (control.source->id == id) return &control;
  }
  return nullptr;
}

const ConsoleDialog::Control* ConsoleDialog::Find(int id) const {
  return const_cast<ConsoleDialog*>(this)->Find(id);
}

ConsoleDialog::Control* ConsoleDialog::Bound(std::string_view word, ControlKind kind) {
  std::optional<int> id = dialog_.CommandTarget(word);
  Control* control = id ? Find(*id) : nullptr;
  return control != nullptr && control->source->kind == kind ? control : nullptr;
}

bool ConsoleDialog::IsChecked(int id) const {
  const Control* control = Find(id);
  return control != nullptr && control->checked;
}

void ConsoleDialog::SetCheck(int id, bool checked) {
  if (Control* control = Find(id); control != nullptr && control->checked != checked) {
    control->checked = checked;
    ++changes_;
  }
}

bool ConsoleDialog::IsEnabled(int id) const {
  const Control* control = Find(id);
  return control != nullptr && control->enabled;
}

void ConsoleDialog::Enable(int id, bool enabled) {
  if (Control* control = Find(id); control != nullptr && control->enabled != enabled) {
    control->enabled = enabled;
    ++changes_;
  }
}

std::string ConsoleDialog::GetText(int id) const {
  const Control* control = Find(id);
  return control != nullptr ? control->text : std::string();
}

void ConsoleDialog::SetText(int id, const std::string& text) {
  if (Control* control = Find(id); control != nullptr && control->text != text) {
    control->text = text;
    ++changes_;
  }
}

void ConsoleDialog::LimitText(int id, std::size_t bytes) {
  if (Control* control = Find(id)) control->limit = bytes;
}

void ConsoleDialog::SetFocus(int id) {
  if (Find(id) != nullptr) focus_ = id;
}

void ConsoleDialog::EndDialog(int result) {
  ended_ = true;
  result_ = result;
}

}  // namespace pv14
