// The console dialog driven by scripted input and a small recording logic.
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Types.h"
#include "platform/console/ConsoleUi.h"
#include "resources/Templates.h"
#include "tests/platform/Sj.h"

namespace pv14::testing {
namespace {

enum Id {
  kLabel = 1000,
  kCompany = 1004,
  kKinds = 1009,
  kBusiness = 1010,
  kRealEstate = 1011,
  kOther = 1012,
  kExecute = 1013,
  kCancel = 1014,
  kOutput = 1015,
  kPath = 1016,
  kBrowse = 1017,
  kElsewhere = 1020,  // a radio button of another group
};

const DialogTemplate& TestTemplate() {
  using style::kGroup;
  using style::kTabStop;
  static const DialogTemplate dialog{
      130,
      Sj("所得税 - 集計条件"),
      263,
      234,
      Sj("ＭＳ Ｐゴシック"),
      9,
      0,
      0,
      {
          {kLabel, ControlKind::kStatic, Sj("事業所名"), 7, 7, 28, 12, kGroup},
          {kCompany, ControlKind::kStatic, Sj("事業所名"), 59, 7, 197, 12, kGroup},
          {kKinds, ControlKind::kGroupBox, Sj("事業区分"), 7, 64, 249, 83, 0},
          {kBusiness, ControlKind::kRadioButton, Sj("営業所得用（一般用）(&1)"), 18, 83, 92, 12,
           kTabStop},
          {kOther, ControlKind::kRadioButton, Sj("その他所得用（一般用）(&2)"), 18, 102, 92, 12,
           kTabStop},
          {kRealEstate, ControlKind::kRadioButton, Sj("不動産所得用(&3)"), 18, 121, 92, 12,
           kTabStop},
          {kOutput, ControlKind::kGroupBox, Sj("出力先(&F)"), 7, 159, 249, 45, 0},
          {kPath, ControlKind::kEdit, "", 14, 178, 170, 14, kTabStop},
          {kBrowse, ControlKind::kPushButton, Sj("参照(&D)..."), 191, 178, 57, 14, kTabStop},
          {kExecute, ControlKind::kPushButton, Sj("実行(F12)"), 137, 213, 57, 14,
           kGroup | kTabStop},
          {kCancel, ControlKind::kPushButton, Sj("キャンセル(Esc)"), 199, 213, 57, 14,
           kGroup | kTabStop},
          {kElsewhere, ControlKind::kRadioButton, Sj("別(&9)"), 7, 220, 20, 12, kGroup},
      }};
  return dialog;
}

// Records what the front end calls; 実行 and F12 end with 1013, キャンセル and
// Esc with 1014, and 参照 asks the file dialog and takes its answer.
class RecordingLogic : public DialogLogic {
 public:
  explicit RecordingLogic(Ui& ui) : ui_(ui) {}

  bool OnInitDialog(DialogControls& controls) override {
    events.push_back("init");
    controls.SetText(kCompany, Sj(" 株式会社テスト"));
    controls.SetText(kPath, "C:\\a.xml");
    controls.LimitText(kPath, 10);
    controls.SetCheck(kBusiness, true);
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
  ConsoleUi ui(in, out, false);
  RecordingLogic logic(ui);
  logic.setup = c.setup;
  EXPECT_EQ(ui.RunModal(TestTemplate(), kNoWindow, logic), c.result);
  EXPECT_EQ(logic.events, c.events) << out.str();
}

const std::string kF12 = std::to_string(kVkF12);

INSTANTIATE_TEST_SUITE_P(
    Cases, ConsoleDialogTest,
    ::testing::Values(
        DialogCase{"EndOfInputIsCancel", "", kCancel, {"init", "command 1014", "cancel"}},
        DialogCase{"EmptyLineExecutes", "\n", kExecute, {"init", "command 1013"}},
        DialogCase{"ExecuteWord", "execute\n", kExecute, {"init", "command 1013"}},
        DialogCase{"CancelWord", "cancel\n", kCancel, {"init", "command 1014", "cancel"}},
        DialogCase{"EscIsTheCancelCommand", "esc\n", kCancel, {"init", "cancel"}},
        DialogCase{"F12OnTheFirstTabStop", "f12\n", kExecute, {"init", "key " + kF12 + " on 1010"}},
        DialogCase{"F12OnTheEditAfterTyping",
                   "path x\nf12\n",
                   kExecute,
                   {"init", "key " + kF12 + " on 1016"}},
        DialogCase{"FirstEnabledTabStopGetsTheFocus",
                   "f12\n",
                   kExecute,
                   {"init", "key " + kF12 + " on 1012"},
                   Disabling({kBusiness})},
        DialogCase{"LogicKeepsItsFocus",
                   "f12\n",
                   kExecute,
                   {"init", "key " + kF12 + " on 1013"},
                   [](DialogControls& controls) {
                     controls.SetFocus(kExecute);
                     return false;
                   }},
        DialogCase{"BrowseConfirmed",
                   "browse D:\\r.xml\n\n",
                   kExecute,
                   {"init", "command 1017", "file D:\\r.xml", "command 1013"}},
        DialogCase{"BrowseCancelled",
                   "browse\n\n",
                   kExecute,
                   {"init", "command 1017", "file none", "command 1013"}},
        DialogCase{"BrowseRefusedWhenDisabled",
                   "browse D:\\r.xml\n\n",
                   kExecute,
                   {"init", "command 1013"},
                   Disabling({kBrowse})},
        DialogCase{"ExecuteRefusedWhenDisabled",
                   "\n",
                   kCancel,
                   {"init", "command 1014", "cancel"},
                   Disabling({kExecute})},
        DialogCase{
            "EndOfInputWithCancelDisabled", "", kCancel, {"init", "cancel"}, Disabling({kCancel})},
        DialogCase{
            "UnknownCommandIsANote", "bogus\n", kCancel, {"init", "command 1014", "cancel"}}),
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
  ConsoleUi ui(in, out, false);
  Seen seen;
  struct Logic : RecordingLogic {
    using RecordingLogic::RecordingLogic;
    Seen* seen = nullptr;
    bool PreTranslateKey(DialogControls& controls, int key, int focus) override {
      for (int id : {kBusiness, kOther, kRealEstate, kElsewhere}) {
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
        StateCase{"NothingTyped", "", {kBusiness, kElsewhere}, "C:\\a.xml"},
        StateCase{"ChoiceTwoUnchecksItsGroupOnly", "2\n", {kOther, kElsewhere}, "C:\\a.xml"},
        StateCase{"ChoiceThreeThenOne", "3\n1\n", {kBusiness, kElsewhere}, "C:\\a.xml"},
        StateCase{"DisabledChoiceRefused",
                  "3\n",
                  {kBusiness, kElsewhere},
                  "C:\\a.xml",
                  Disabling({kRealEstate})},
        StateCase{"PathTyped", "path D:\\o.xml\n", {kBusiness, kElsewhere}, "D:\\o.xml"},
        StateCase{"PathAtTheLimit", "path C:\\1234567\n", {kBusiness, kElsewhere}, "C:\\1234567"},
        StateCase{
            "PathOverTheLimitRefused", "path C:\\12345678\n", {kBusiness, kElsewhere}, "C:\\a.xml"},
        StateCase{"PathInJapanese", "path C:\\表\n", {kBusiness, kElsewhere}, "C:\\" + Sj("表")},
        StateCase{"PathWithoutShiftJisFormRefused",
                  "path \xF0\x9F\x98\x80\n",
                  {kBusiness, kElsewhere},
                  "C:\\a.xml"},
        StateCase{"PathOfBlanks", "path    \n", {kBusiness, kElsewhere}, "   "},
        StateCase{"PathEmptied", "path\n", {kBusiness, kElsewhere}, ""},
        StateCase{"PathRefusedWhenDisabled",
                  "path D:\\o.xml\n",
                  {kBusiness, kElsewhere},
                  "C:\\a.xml",
                  Disabling({kPath})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConsoleDialogViewTest, ShowsTextsChecksPathAndDisabledControls) {
  std::string output;
  RunAndSee("", Disabling({kRealEstate, kBrowse}), &output);
  for (const std::string& expected :
       {std::string("所得税 - 集計条件"), std::string("株式会社テスト"),
        std::string("[x] 営業所得用（一般用）(&1)"), std::string("[ ] その他所得用（一般用）(&2)"),
        std::string("[ ] 不動産所得用(&3) (disabled)"), std::string("path: C:\\a.xml"),
        std::string("<参照(&D)...> (disabled)"), std::string("<実行(F12)>")}) {
    EXPECT_NE(output.find(expected), std::string::npos) << expected << "\n" << output;
  }
}

TEST(ConsoleDialogViewTest, ShowsItselfAgainOnlyAfterAChange) {
  auto renders = [](const std::string& script) {
    std::string output;
    RunAndSee(script, nullptr, &output);
    std::size_t count = 0;
    for (std::size_t at = output.find("=== "); at != std::string::npos;
         at = output.find("=== ", at + 1)) {
      ++count;
    }
    return count;
  };
  EXPECT_EQ(renders(""), 1u);
  EXPECT_EQ(renders("2\n"), 2u);
  EXPECT_EQ(renders("path C:\\a.xml\n"), 1u);  // the same text again
  EXPECT_EQ(renders("bogus\n3\n"), 2u);
}

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
