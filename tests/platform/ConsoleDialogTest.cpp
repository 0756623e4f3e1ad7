// The console dialog driven by scripted input and a small recording logic.
#include <functional>
#include <optional>
#include <set>
#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/DialogTemplate.h"
#include "platform/Types.h"
#include "platform/console/ConsoleUi.h"
#include "tests/platform/Sj.h"

namespace pv14::testing {
namespace {

// A small dialog of its own: ids, captions and places owe nothing to the
// program's templates, and the command words are bound out of tab order.
enum Id {
  kLabel = 11,
  kCompany = 12,
  kKinds = 20,
  kFirst = 21,   // "1"
  kSecond = 22,  // "3"
  kThird = 23,   // "2"
  kOutput = 30,
  kPath = 31,
  kBrowse = 32,
  kExecute = 41,
  kCancel = 42,
  kElsewhere = 51,  // a radio button of another group, bound to no command
};

DialogTemplate MakeTemplate() {
  using style::kGroup;
  using style::kTabStop;
  return DialogTemplate{
      7,
      Sj("試験の窓"),
      200,
      160,
      "",
      9,
      0,
      0,
      {
          {kLabel, ControlKind::kStatic, Sj("名前"), 5, 5, 30, 10, kGroup},
          {kCompany, ControlKind::kStatic, Sj("名前"), 40, 5, 150, 10, kGroup},
          {kKinds, ControlKind::kGroupBox, Sj("種類"), 5, 20, 190, 60, 0},
          {kFirst, ControlKind::kRadioButton, Sj("甲"), 10, 30, 60, 10, kTabStop},
          {kSecond, ControlKind::kRadioButton, Sj("乙"), 10, 45, 60, 10, kTabStop},
          {kThird, ControlKind::kRadioButton, Sj("丙"), 10, 60, 60, 10, kTabStop},
          {kOutput, ControlKind::kGroupBox, Sj("行き先"), 5, 85, 190, 30, 0},
          {kPath, ControlKind::kEdit, "", 10, 95, 120, 12, kTabStop},
          {kBrowse, ControlKind::kPushButton, Sj("選ぶ..."), 140, 95, 50, 12, kTabStop},
          {kExecute, ControlKind::kPushButton, Sj("進む"), 80, 125, 50, 12, kGroup | kTabStop},
          {kCancel, ControlKind::kPushButton, Sj("止める"), 140, 125, 50, 12, kGroup | kTabStop},
          {kElsewhere, ControlKind::kRadioButton, Sj("別"), 5, 145, 20, 10, kGroup},
      },
      {
          {command::kChoose1, kFirst},
          {command::kChoose2, kThird},
          {command::kChoose3, kSecond},
          {command::kPath, kPath},
          {command::kBrowse, kBrowse},
          {command::kExecute, kExecute},
          {command::kCancel, kCancel},
      }};
}

const DialogTemplate& TestTemplate() {
  static const DialogTemplate dialog = MakeTemplate();
  return dialog;
}

// POSIX paths under /data are on D:, any other is on no drive.
const DriveTable& TestDrives() {
  static const DriveTable drives = *DriveTable::Parse("D=/data", nullptr);
  return drives;
}

std::string Command(int id) { return "command " + std::to_string(id); }
std::string F12On(int id) { return "key " + std::to_string(kVkF12) + " on " + std::to_string(id); }

// Records what the front end calls; execute and F12 end with kExecute, cancel
// and Esc with kCancel, and browse asks the file dialog and takes its answer.
class RecordingLogic : public DialogLogic {
 public:
  explicit RecordingLogic(Ui& ui) : ui_(ui) {}

  bool OnInitDialog(DialogControls& controls) override {
    events.push_back("init");
    controls.SetText(kCompany, Sj(" 株式会社テスト"));
    controls.SetText(kPath, "C:\\a.xml");
    controls.LimitText(kPath, 10);
    controls.SetCheck(kFirst, true);
    controls.SetCheck(kElsewhere, true);
    if (setup) return setup(controls);
    return true;
  }
  void OnCommand(DialogControls& controls, int id) override {
    events.push_back("command " + std::to_string(id));
    if (id == kBrowse) {
      auto chosen = ui_.ShowFileDialog(FileDialogRequest{});
      events.push_back(chosen ? "file " + *chosen : "file none");
      if (chosen) controls.SetText(kPath, *chosen);
    } else if (id == kExecute) {
      controls.EndDialog(kExecute);
    } else if (id == kCancel) {
      OnCancel(controls);
    }
  }
  void OnCancel(DialogControls& controls) override {
    events.push_back("cancel");
    if (endOnCancel) controls.EndDialog(kCancel);
  }
  bool PreTranslateKey(DialogControls& controls, int key, int focus) override {
    events.push_back("key " + std::to_string(key) + " on " + std::to_string(focus));
    if (key == kVkF12) controls.EndDialog(kExecute);
    return true;
  }

  std::function<bool(DialogControls&)> setup;  // more initialisation; its result is returned
  bool endOnCancel = true;
  std::vector<std::string> events;

 private:
  Ui& ui_;
};

using Setup = std::function<bool(DialogControls&)>;

Setup Disabling(std::vector<int> ids) {
  return [ids](DialogControls& controls) {
    for (int id : ids) controls.Enable(id, false);
    return true;
  };
}

struct DialogCase {
  const char* name;
  std::string input;
  int result;
  std::vector<std::string> events;
  Setup setup = nullptr;
};

class ConsoleDialogTest : public ::testing::TestWithParam<DialogCase> {};

TEST_P(ConsoleDialogTest, RunsTheScript) {
  const DialogCase& c = GetParam();
  std::istringstream in(c.input);
  std::ostringstream out;
  ConsoleUi ui(in, out, false, TestDrives());
  RecordingLogic logic(ui);
  logic.setup = c.setup;
  EXPECT_EQ(ui.RunModal(TestTemplate(), kNoWindow, logic), c.result);
  EXPECT_EQ(logic.events, c.events) << out.str();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConsoleDialogTest,
    ::testing::Values(
        DialogCase{"EndOfInputIsCancel", "", kCancel, {"init", Command(kCancel), "cancel"}},
        DialogCase{"EmptyLineExecutes", "\n", kExecute, {"init", Command(kExecute)}},
        DialogCase{"ExecuteWord", "execute\n", kExecute, {"init", Command(kExecute)}},
        DialogCase{"CancelWord", "cancel\n", kCancel, {"init", Command(kCancel), "cancel"}},
        DialogCase{"EscIsTheCancelCommand", "esc\n", kCancel, {"init", "cancel"}},
        DialogCase{"F12OnTheFirstTabStop", "f12\n", kExecute, {"init", F12On(kFirst)}},
        DialogCase{"F12OnTheEditAfterTyping", "path x\nf12\n", kExecute, {"init", F12On(kPath)}},
        DialogCase{"F12OnTheChoiceClicked", "2\nf12\n", kExecute, {"init", F12On(kThird)}},
        DialogCase{"FirstEnabledTabStopGetsTheFocus",
                   "f12\n",
                   kExecute,
                   {"init", F12On(kSecond)},
                   Disabling({kFirst})},
        DialogCase{"LogicKeepsItsFocus",
                   "f12\n",
                   kExecute,
                   {"init", F12On(kExecute)},
                   [](DialogControls& controls) {
                     controls.SetFocus(kExecute);
                     return false;
                   }},
        DialogCase{"BrowseConfirmed",
                   "browse D:\\r.xml\n\n",
                   kExecute,
                   {"init", Command(kBrowse), "file D:\\r.xml", Command(kExecute)}},
        DialogCase{"BrowseCancelled",
                   "browse\n\n",
                   kExecute,
                   {"init", Command(kBrowse), "file none", Command(kExecute)}},
        DialogCase{"BrowsePosixPathInWindowsForm",
                   "browse /data/r.xml\n\n",
                   kExecute,
                   {"init", Command(kBrowse), "file D:\\r.xml", Command(kExecute)}},
        DialogCase{"BrowsePosixPathOnNoDriveIsCancelled",
                   "browse /else/r.xml\n\n",
                   kExecute,
                   {"init", Command(kBrowse), "file none", Command(kExecute)}},
        DialogCase{"BrowseNameBeyondShiftJisIsRefused",
                   "browse D:\\\xF0\x9F\x98\x80.xml\n\n",
                   kExecute,
                   {"init", Command(kBrowse), "file none", Command(kExecute)}},
        DialogCase{"BrowseRefusedWhenDisabled",
                   "browse D:\\r.xml\n\n",
                   kExecute,
                   {"init", Command(kExecute)},
                   Disabling({kBrowse})},
        DialogCase{"ExecuteRefusedWhenDisabled",
                   "\n",
                   kCancel,
                   {"init", Command(kCancel), "cancel"},
                   Disabling({kExecute})},
        DialogCase{
            "EndOfInputWithCancelDisabled", "", kCancel, {"init", "cancel"}, Disabling({kCancel})},
        DialogCase{
            "UnknownCommandIsANote", "bogus\n", kCancel, {"init", Command(kCancel), "cancel"}},
        DialogCase{"ChoiceFourIsUnknown", "4\n", kCancel, {"init", Command(kCancel), "cancel"}}),
    [](const auto& info) { return std::string(info.param.name); });

// What a command acts on comes from the template's bindings alone: captions
// that name other buttons change nothing, and a word bound to no control, or
// to a control of another kind, is refused with a note.
using Reshape = std::function<void(DialogTemplate&)>;

void Caption(DialogTemplate& dialog, int id, const std::string& text) {
  for (ControlTemplate& control : dialog.controls) {
    if (control.id == id) control.text = text;
  }
}

void Bind(DialogTemplate& dialog, std::string_view word, std::optional<int> id) {
  std::erase_if(dialog.commands, [&](const CommandBinding& b) { return b.command == word; });
  if (id) dialog.commands.push_back({word, *id});
}

struct BindingCase {
  const char* name;
  Reshape reshape;
  std::string input;
  int result;
  std::vector<std::string> events;
};

class ConsoleDialogBindingTest : public ::testing::TestWithParam<BindingCase> {};

TEST_P(ConsoleDialogBindingTest, CommandsActOnTheBoundControl) {
  const BindingCase& c = GetParam();
  DialogTemplate dialog = MakeTemplate();
  c.reshape(dialog);
  std::istringstream in(c.input);
  std::ostringstream out;
  ConsoleUi ui(in, out, false);
  RecordingLogic logic(ui);
  EXPECT_EQ(ui.RunModal(dialog, kNoWindow, logic), c.result);
  EXPECT_EQ(logic.events, c.events) << out.str();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConsoleDialogBindingTest,
    ::testing::Values(
        BindingCase{"CaptionsNamingOtherButtonsChangeNothing",
                    [](DialogTemplate& d) {
                      Caption(d, kExecute, Sj("キャンセル(Esc)"));
                      Caption(d, kCancel, Sj("実行(F12)"));
                      Caption(d, kBrowse, "");
                    },
                    "browse a.xml\nexecute\n",
                    kExecute,
                    {"init", Command(kBrowse), "file a.xml", Command(kExecute)}},
        BindingCase{"UnboundExecuteIsRefused",
                    [](DialogTemplate& d) { Bind(d, command::kExecute, std::nullopt); },
                    "execute\n\n",
                    kCancel,
                    {"init", Command(kCancel), "cancel"}},
        BindingCase{"ExecuteBoundToAnEditIsRefused",
                    [](DialogTemplate& d) { Bind(d, command::kExecute, kPath); },
                    "\n",
                    kCancel,
                    {"init", Command(kCancel), "cancel"}},
        BindingCase{"ExecuteBoundToAnotherButton",
                    [](DialogTemplate& d) { Bind(d, command::kExecute, kCancel); },
                    "execute\n",
                    kCancel,
                    {"init", Command(kCancel), "cancel"}},
        BindingCase{"UnboundCancelLeavesTheEndOfInputToTheCancelCommand",
                    [](DialogTemplate& d) { Bind(d, command::kCancel, std::nullopt); },
                    "",
                    kCancel,
                    {"init", "cancel"}}),
    [](const auto& info) { return std::string(info.param.name); });

// The controls' state after a script, read back by a logic that ends the
// dialog on F12 and copies what it sees.
struct Seen {
  std::set<int> checked;
  std::string path;
};

Seen RunAndSee(const std::string& script, Setup setup, std::string* output = nullptr) {
  std::istringstream in(script + "f12\n");
  std::ostringstream out;
  ConsoleUi ui(in, out, false, TestDrives());
  Seen seen;
  struct Logic : RecordingLogic {
    using RecordingLogic::RecordingLogic;
    Seen* seen = nullptr;
    bool PreTranslateKey(DialogControls& controls, int key, int focus) override {
      for (int id : {kFirst, kThird, kSecond, kElsewhere}) {
        if (controls.IsChecked(id)) seen->checked.insert(id);
      }
      seen->path = controls.GetText(kPath);
      return RecordingLogic::PreTranslateKey(controls, key, focus);
    }
  } logic(ui);
  logic.seen = &seen;
  logic.setup = std::move(setup);
  ui.RunModal(TestTemplate(), kNoWindow, logic);
  if (output) *output = out.str();
  return seen;
}

struct StateCase {
  const char* name;
  std::string script;
  std::set<int> checked;
  std::string path;
  Setup setup = nullptr;
};

class ConsoleDialogStateTest : public ::testing::TestWithParam<StateCase> {};

TEST_P(ConsoleDialogStateTest, CommandsChangeTheControls) {
  const StateCase& c = GetParam();
  Seen seen = RunAndSee(c.script, c.setup);
  EXPECT_EQ(seen.checked, c.checked);
  EXPECT_EQ(seen.path, c.path);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConsoleDialogStateTest,
    ::testing::Values(
        StateCase{"NothingTyped", "", {kFirst, kElsewhere}, "C:\\a.xml"},
        StateCase{"ChoiceTwoUnchecksItsGroupOnly", "2\n", {kThird, kElsewhere}, "C:\\a.xml"},
        StateCase{"ChoiceThreeThenOne", "3\n1\n", {kFirst, kElsewhere}, "C:\\a.xml"},
        StateCase{"ChoiceThreeIsTheControlBoundToIt", "3\n", {kSecond, kElsewhere}, "C:\\a.xml"},
        StateCase{"DisabledChoiceRefused",
                  "3\n",
                  {kFirst, kElsewhere},
                  "C:\\a.xml",
                  Disabling({kSecond})},
        StateCase{"PathTyped", "path D:\\o.xml\n", {kFirst, kElsewhere}, "D:\\o.xml"},
        StateCase{"PathAtTheLimit", "path C:\\1234567\n", {kFirst, kElsewhere}, "C:\\1234567"},
        StateCase{
            "PathStopsAtTheLimit", "path C:\\12345678\n", {kFirst, kElsewhere}, "C:\\1234567"},
        StateCase{"PathStopsBeforeAHalfCharacter",
                  "path C:\\ab表表表\n",
                  {kFirst, kElsewhere},
                  "C:\\ab" + Sj("表表")},
        StateCase{"PathInJapanese", "path C:\\表\n", {kFirst, kElsewhere}, "C:\\" + Sj("表")},
        StateCase{"PathCharacterBeyondShiftJisIsAQuestionMark",
                  "path \xF0\x9F\x98\x80\n",
                  {kFirst, kElsewhere},
                  "?"},
        StateCase{
            "PathKeepsControlCharacters", "path a\tb\x1b\n", {kFirst, kElsewhere}, "a\tb\x1b"},
        StateCase{
            "PosixPathInWindowsForm", "path /data/o.xml\n", {kFirst, kElsewhere}, "D:\\o.xml"},
        StateCase{"PosixPathInWindowsFormStopsAtTheLimit",
                  "path /data/abcdefgh\n",
                  {kFirst, kElsewhere},
                  "D:\\abcdefg"},
        StateCase{
            "PosixPathOnNoDriveTypedAsItStands", "path /else/o\n", {kFirst, kElsewhere}, "/else/o"},
        StateCase{"PathOfBlanks", "path    \n", {kFirst, kElsewhere}, "   "},
        StateCase{"PathEmptied", "path\n", {kFirst, kElsewhere}, ""},
        StateCase{"PathRefusedWhenDisabled",
                  "path D:\\o.xml\n",
                  {kFirst, kElsewhere},
                  "C:\\a.xml",
                  Disabling({kPath})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConsoleDialogViewTest, ShowsTextsChecksPathAndDisabledControls) {
  std::string output;
  RunAndSee("", Disabling({kSecond, kBrowse}), &output);
  for (const std::string& expected :
       {std::string("試験の窓"), std::string("株式会社テスト"), std::string("[x] 甲"),
        std::string("[ ] 乙 (disabled)"), std::string("[ ] 丙"), std::string("path: C:\\a.xml"),
        std::string("<選ぶ...> (disabled)"), std::string("<進む>")}) {
    EXPECT_NE(output.find(expected), std::string::npos) << expected << "\n" << output;
  }
}

// The whole dialog once; after a command only the rows it changed.
TEST(ConsoleDialogViewTest, ShowsItselfOnceThenWhatChanged) {
  auto after = [](const std::string& script) {
    std::string output;
    RunAndSee(script, nullptr, &output);
    EXPECT_EQ(output.find("=== "), output.rfind("=== ")) << output;
    // What follows the first showing and its help line.
    const std::size_t help = output.find("commands:");
    return output.substr(output.find('\n', help) + 1);
  };
  const std::string chose = after("2\n");
  EXPECT_NE(chose.find("[ ] 甲"), std::string::npos) << chose;
  EXPECT_NE(chose.find("[x] 丙"), std::string::npos) << chose;  // "2" is bound to 丙
  EXPECT_EQ(chose.find("乙"), std::string::npos) << chose;
  EXPECT_EQ(chose.find("path:"), std::string::npos) << chose;
  EXPECT_EQ(after("path C:\\a.xml\n"), "");  // the same text again
  const std::string typed = after("path C:\\b.xml\n");
  EXPECT_NE(typed.find("path: C:\\b.xml"), std::string::npos) << typed;
  EXPECT_EQ(std::count(typed.begin(), typed.end(), '\n'), 1) << typed;
}

// What a command did to the typed text is said; nothing typed reaches the
// terminal as a raw control byte.
struct NoteCase {
  const char* name;
  std::string script;
  std::vector<std::string> notes;
};

class ConsoleDialogNoteTest : public ::testing::TestWithParam<NoteCase> {};

TEST_P(ConsoleDialogNoteTest, SaysWhatTypingDid) {
  std::string output;
  RunAndSee(GetParam().script, nullptr, &output);
  std::size_t at = 0;
  for (const std::string& note : GetParam().notes) {
    at = output.find(note, at);
    ASSERT_NE(at, std::string::npos) << note << "\n" << output;
  }
  for (char shown : output) {
    const auto byte = static_cast<unsigned char>(shown);
    EXPECT_TRUE((byte >= 0x20 && byte != 0x7F) || shown == '\n') << +byte << "\n" << output;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConsoleDialogNoteTest,
    ::testing::Values(
        NoteCase{"ControlCharactersShownAsPictures", "path \x01\t\x1b\r\x7f\n", {"path: ␁␉␛␍␡"}},
        NoteCase{"QuestionMark", "path \xF0\x9F\x98\x80\n", {"typed as ?", "path: ?"}},
        NoteCase{"Limit", "path C:\\12345678\n", {"holds 10 bytes", "path: C:\\1234567"}},
        NoteCase{"PosixPath", "path /data/o.xml\n", {"/data/o.xml is D:\\o.xml under PV14_DRIVES"}},
        NoteCase{"PosixPathOnNoDrive",
                 "path /else/\x1b.xml\n",
                 {"/else/␛.xml", "PV14_DRIVES", "typed as it stands", "path: /else/␛"}},
        NoteCase{"BrowseWithoutAName", "browse\n", {"the file dialog was cancelled"}},
        NoteCase{"BrowseOnNoDrive",
                 "browse /else/r.xml\n",
                 {"PV14_DRIVES", "the file dialog was cancelled"}},
        NoteCase{"BrowseNameWithoutShiftJisForm",
                 "browse D:\\\xF0\x9F\x98\x80.xml\n",
                 {"Shift_JIS で書けない文字", "D:\\?.xml", "the file dialog was cancelled"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConsoleDialogViewTest, UnknownCommandsListTheCommands) {
  std::string output;
  RunAndSee("bogus\n", nullptr, &output);
  EXPECT_NE(output.find("unknown command"), std::string::npos);
  EXPECT_NE(output.find("browse"), std::string::npos);
}

TEST(ConsoleDialogViewTest, ADialogEndedWhileStartingShowsNothingAndReadsNothing) {
  std::istringstream in("execute\n");
  std::ostringstream out;
  ConsoleUi ui(in, out, false);
  RecordingLogic logic(ui);
  logic.setup = [](DialogControls& controls) {
    controls.EndDialog(kCancel);
    return true;
  };
  EXPECT_EQ(ui.RunModal(TestTemplate(), kNoWindow, logic), kCancel);
  EXPECT_EQ(out.str(), "");
  std::string left;
  EXPECT_TRUE(std::getline(in, left));
  EXPECT_EQ(left, "execute");
}

TEST(ConsoleDialogEndTest, EndOfInputEndsADialogWhoseLogicWillNotEnd) {
  std::istringstream in("");
  std::ostringstream out;
  ConsoleUi ui(in, out, false);
  RecordingLogic logic(ui);
  logic.endOnCancel = false;
  EXPECT_EQ(ui.RunModal(TestTemplate(), kNoWindow, logic), kIdCancel);
}

TEST(ConsoleFileDialogTest, AnswerIsGivenOnceAndOnlyAfterBrowse) {
  std::istringstream in("browse C:\\x.xml\nexecute\n");
  std::ostringstream out;
  ConsoleUi ui(in, out, false);
  EXPECT_EQ(ui.ShowFileDialog(FileDialogRequest{}), std::nullopt);
  RecordingLogic logic(ui);
  ui.RunModal(TestTemplate(), kNoWindow, logic);
  // The answer went to the first file dialog; nothing is left for another.
  EXPECT_EQ(ui.ShowFileDialog(FileDialogRequest{}), std::nullopt);
  EXPECT_EQ(logic.events[2], "file C:\\x.xml");
}

struct AnswerCase {
  const char* name;
  std::string answer;
  std::string folder;
  std::string extension;
  std::string expected;
};

class FileDialogAnswerTest : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(FileDialogAnswerTest, CompletesToAFullPath) {
  FileDialogRequest request;
  request.initialFolder = GetParam().folder;
  request.defaultExtension = GetParam().extension;
  EXPECT_EQ(CompleteFileDialogAnswer(GetParam().answer, request), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileDialogAnswerTest,
    ::testing::Values(AnswerCase{"FullPathKept", "C:\\a\\b.xml", "D:\\", "XML", "C:\\a\\b.xml"},
                      AnswerCase{"NameInTheInitialFolder", "b.txt", "C:\\a\\", "XML",
                                 "C:\\a\\b.txt"},
                      AnswerCase{"SeparatorAdded", "b.txt", "C:\\a", "XML", "C:\\a\\b.txt"},
                      AnswerCase{"DefaultExtensionAdded", "b", "C:\\a\\", "XML", "C:\\a\\b.XML"},
                      AnswerCase{"DriveFolder", "b", "D:", "XML", "D:b.XML"},
                      AnswerCase{"NoFolder", "b", "", "XML", "b.XML"},
                      AnswerCase{"DotInAFolderOnly", "C:\\a.b\\c", "", "XML", "C:\\a.b\\c.XML"},
                      AnswerCase{"ShareKept", "\\\\s\\t\\c.xml", "C:\\", "XML", "\\\\s\\t\\c.xml"},
                      AnswerCase{"FolderEndingIn5CSecondByte", "b.xml", "C:\\" + Sj("表"), "XML",
                                 "C:\\" + Sj("表") + "\\b.xml"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pv14::testing
