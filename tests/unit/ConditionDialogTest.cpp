#include "dialogs/ConditionDialog.h"

#include <gtest/gtest.h>

#include "dialogs/PathHelpers.h"
#include "platform/EnvWrapper.h"
#include "platform/OwnFiles.h"

#include <set>
#include <string>

#include "resources/Text.h"
#include "tests/fakes/FakeEngine.h"
#include "tests/fakes/FakeUi.h"
#include "tests/fakes/TestEdition.h"
#include "tests/unit/ConditionDialogControls.h"
#include "tests/unit/PathHelpersDisk.h"

namespace pv14 {
namespace {

using testing::FakeEngine;
using testing::RecordingControls;
using D = ConditionDialog;
constexpr int kBiz = D::kBusinessRadioId, kOther = D::kOtherRadioId, kReal = D::kRealEstateRadioId;

std::string M1() { return SJ("データ出力先が指定されていません。\n\n出力先を指定してください。"); }
std::string M2() {
  return SJ("データの出力先に不正な文字が含まれています。\n\n出力先を再入力してください。");
}
std::string M3() {
  return SJ("ドライブ名が有効でありません。\n\n有効なドライブを指定してください。");
}
std::string M4() { return SJ("ファイル名が指定されていません。"); }
std::string Q5() { return SJ("指定されたフォルダは存在しません。\n\n作成してもよろしいですか？"); }
std::string M6() { return SJ("フォルダの作成に失敗しました。\n\n出力先を再入力してください。"); }
std::string Q7() { return SJ("同名のファイルが存在します。\n\n上書きしてもよろしいですか？"); }
std::string M8() {
  return SJ(
      "指定されたファイルはアプリケーションが使用しているため、出力先にできません。\n\n"
      "出力先を再入力してください。");
}

auto NameOf = [](const auto& info) { return std::string(info.param.name); };

class ConditionDialogTest : public testing::DiskTest {
 protected:
  ConditionDialogTest() : dialog(*env, ui, 0x77, testing::TestEdition().settingsFileName) {
    FakeEngine::Get().Reset();
    FakeEngine::Get().appFolders = {"D:\\docs\\", "D:\\cfg\\"};
    std::filesystem::create_directory(tmp.Join("d/out"));
    dialog.CurrentUserId = "ABC";
    dialog.SelectedKeyNo = 1;
    dialog.SelectedDataNo = 5;
    dialog.StatementScope = 3;
    dialog.CompanyText = SJ(" 黒台商店");
    dialog.CostText = SJ("なし");
  }

  void Remember(int kind, const std::string& path) {
    std::filesystem::create_directory(tmp.Join("d/cfg"));
    tmp.WriteFile("d/cfg/" + testing::TestEdition().settingsFileName,
                  "ABC/1/5:0/0/" + std::to_string(kind) + "/" + path + "\n");
  }
  void Init() { ASSERT_TRUE(dialog.OnInitDialog(controls)); }
  std::string Edit() const { return controls.GetText(D::kOutputPathEditId); }
  void Execute(const std::string& path) {
    controls.SetText(D::kOutputPathEditId, path);
    dialog.OnExecute(controls);
  }
  std::vector<std::string> Shown() const {
    std::vector<std::string> texts;
    for (const auto& box : ui.messageBoxes) {
      EXPECT_EQ(box.caption, SJ("所得税"));
      EXPECT_EQ(box.owner, RecordingControls::kHandle);
      texts.push_back(box.text);
    }
    return texts;
  }
  // Still open, the whole path selected for retyping.
  void ExpectBackInTheEdit() const {
    EXPECT_TRUE(controls.results.empty());
    EXPECT_EQ(controls.focus, D::kOutputPathEditId);
    ASSERT_FALSE(controls.selectedAll.empty());
    EXPECT_EQ(controls.selectedAll.back(), D::kOutputPathEditId);
  }

  testing::FakeUi ui;
  ConditionDialog dialog;
  RecordingControls controls;
};

// ---------------------------------------------------------------- opening

struct PreselectCase {
  const char* name;
  std::uint8_t scope;
  int savedKind;  // 0: no line
  std::int16_t kind;
  int checked;
  std::set<int> disabled;
};
class ConditionDialogPreselect : public ConditionDialogTest,
                                 public ::testing::WithParamInterface<PreselectCase> {};
TEST_P(ConditionDialogPreselect, ChecksWhatTheRecordAllows) {
  const PreselectCase& c = GetParam();
  dialog.StatementScope = c.scope;
  if (c.savedKind != 0) Remember(c.savedKind, "D:\\out\\a.xml");
  Init();
  EXPECT_EQ(dialog.IncomeKind, c.kind);
  EXPECT_EQ(controls.Checked(), std::set<int>{c.checked});
  EXPECT_EQ(controls.Disabled(), c.disabled);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, ConditionDialogPreselect,
    ::testing::Values(PreselectCase{"Both", 3, 0, 1, kBiz, {}},
                      PreselectCase{"BothSavedOther", 3, 2, 2, kOther, {}},
                      PreselectCase{"BothSavedRealEstate", 3, 3, 3, kReal, {}},
                      PreselectCase{"BothSavedUnknownKind", 3, 7, 1, kBiz, {}},
                      PreselectCase{"NoRecordLikeBoth", 0, 3, 3, kReal, {}},
                      PreselectCase{"General", 1, 0, 1, kBiz, {kReal}},
                      PreselectCase{"GeneralSavedOther", 1, 2, 2, kOther, {kReal}},
                      PreselectCase{"GeneralSavedDisabled", 1, 3, 1, kBiz, {kReal}},
                      PreselectCase{"RealEstate", 2, 0, 3, kReal, {kBiz, kOther}},
                      PreselectCase{"RealEstateSavedBusiness", 2, 1, 3, kReal, {kBiz, kOther}},
                      PreselectCase{"RealEstateSavedOther", 2, 2, 3, kReal, {kBiz, kOther}}),
    NameOf);

TEST_F(ConditionDialogTest, OpensWithTheTextsAndTheDocumentsPattern) {
  Init();
  EXPECT_EQ(controls.GetText(D::kCompanyTextId), SJ(" 黒台商店"));
  EXPECT_EQ(controls.GetText(D::kCostTextId), SJ("なし"));
  EXPECT_EQ(Edit(), "D:\\docs\\*.xml");
  EXPECT_EQ(controls.controls.at(D::kOutputPathEditId).limit, 255u);
  EXPECT_EQ(dialog.PathFixed, 0);
  EXPECT_TRUE(ui.messageBoxes.empty());
}

TEST_F(ConditionDialogTest, OpensWithTheRememberedPathEvenWhenItIsGone) {
  Remember(2, "D:\\gone\\old.xml");
  Init();
  EXPECT_EQ(Edit(), "D:\\gone\\old.xml");
  EXPECT_EQ(dialog.SavedOutputPath, "D:\\gone\\old.xml");
}

struct TempCase {
  const char* name;
  std::string temp, initial;
};
class ConditionDialogTempFolder : public ConditionDialogTest,
                                  public ::testing::WithParamInterface<TempCase> {};
TEST_P(ConditionDialogTempFolder, StandsInForAnEmptyDocumentsFolder) {
  FakeEngine::Get().appFolders[0] = "";
  env->tempPath = GetParam().temp;
  Init();
  EXPECT_EQ(Edit(), GetParam().initial);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, ConditionDialogTempFolder,
    ::testing::Values(TempCase{"Ended", "C:\\T\\", "C:\\T\\*.xml"},
                      TempCase{"BackslashAdded", "C:\\T", "C:\\T\\*.xml"},
                      TempCase{"TrailByteIsNoBackslash", "C:\\\x95\x5C", "C:\\\x95\x5C\\*.xml"},
                      TempCase{"NoRoomForTheBackslash", std::string(260, 't'),
                               std::string(260, 't') + "*.xml"},
                      TempCase{"TooLongForTheSystemCall", std::string(261, 't'), "*.xml"}),
    NameOf);

TEST_F(ConditionDialogTest, CallersPathIsFixedAndOverwrittenWithoutAQuestion) {
  Remember(3, "D:\\out\\mine.xml");
  tmp.WriteFile("d/out/x.xml", "old");
  dialog.PresetOutputPath = "D:\\out\\x.xml";
  Init();
  EXPECT_EQ(Edit(), "D:\\out\\x.xml");
  EXPECT_EQ(controls.Disabled(), (std::set<int>{D::kOutputPathEditId, D::kBrowseButtonId}));
  EXPECT_EQ(controls.GetText(D::kOutputGroupId), SJ("出力先"));
  EXPECT_EQ(dialog.PathFixed, 1);
  EXPECT_EQ(dialog.SavedOutputPath, "D:\\out\\mine.xml");  // kept for the next save
  dialog.OnExecute(controls);
  EXPECT_TRUE(ui.messageBoxes.empty());
  EXPECT_EQ(controls.results, std::vector<int>{D::kResultExecute});
  EXPECT_EQ(tmp.ReadFile("d/out/x.xml"), "old");
}

TEST_F(ConditionDialogTest, PastDataIsRefusedAndTheRestStillRuns) {
  dialog.IsPastData = 1;
  Init();
  EXPECT_EQ(Shown(),
            std::vector<std::string>{SJ("過去実績データは、連携の対象として使用できません。\n\n"
                                        "アプリケーションを終了します。")});
  EXPECT_EQ(ui.messageBoxes[0].style, kMbOk | kMbIconExclamation);
  EXPECT_EQ(controls.results, std::vector<int>{D::kResultCancel});
  EXPECT_EQ(controls.controls.at(D::kOutputPathEditId).limit, 255u);
  EXPECT_EQ(controls.Checked(), std::set<int>{kBiz});
  EXPECT_EQ(Edit(), "D:\\docs\\*.xml");
}

TEST_F(ConditionDialogTest, DoModalRunsTemplate130UnderTheParent) {
  ui.runModal = [](const DialogTemplate& t, WindowHandle, DialogLogic& logic) {
    RecordingControls c(t);
    logic.OnInitDialog(c);
    logic.OnCancel(c);
    return c.results.front();
  };
  EXPECT_EQ(dialog.DoModal(), D::kResultCancel);
  EXPECT_EQ(ui.modalTemplates, std::vector<int>{130});
  EXPECT_EQ(ui.modalParents, std::vector<WindowHandle>{0x77});
}

// Esc and the close box (OnCancel), the button, and Enter on the button,
// which the front end turns into its click.
TEST_F(ConditionDialogTest, EveryCancelShowsTheSameMessageAndEnds) {
  Init();
  dialog.OnCancel(controls);
  dialog.OnCommand(controls, D::kCancelButtonId);
  if (!dialog.PreTranslateKey(controls, kVkReturn, D::kCancelButtonId)) {
    dialog.OnCommand(controls, D::kCancelButtonId);
  }
  const std::string text = SJ("｢所得税｣の集計を中止します。");
  EXPECT_EQ(static_cast<unsigned char>(text[0]), 0xA2);
  EXPECT_EQ(Shown(), std::vector<std::string>(3, text));
  for (const auto& box : ui.messageBoxes) EXPECT_EQ(box.style, kMbOk | kMbIconInformation);
  EXPECT_EQ(controls.results, std::vector<int>(3, D::kResultCancel));
}

// ---------------------------------------------------------------- keys

enum Effect { kNothing, kToEdit, kToBrowse, kToExecute, kBrowses, kExecutes };
struct KeyCase {
  const char* name;
  int key, focus;
  std::set<int> held;
  bool callerPath, consumed;
  Effect effect;
};
class ConditionDialogKeys : public ConditionDialogTest,
                            public ::testing::WithParamInterface<KeyCase> {};
TEST_P(ConditionDialogKeys, HandleEnterAndF12) {
  const KeyCase& c = GetParam();
  dialog.PresetOutputPath = c.callerPath ? "D:\\out\\c.xml" : "";
  Init();
  if (!c.callerPath) controls.SetText(D::kOutputPathEditId, "D:\\out\\new.xml");
  ui.heldKeys = c.held;
  controls.focus = c.focus;
  EXPECT_EQ(dialog.PreTranslateKey(controls, c.key, c.focus), c.consumed);
  const int focusAfter[] = {
      c.focus, D::kOutputPathEditId, D::kBrowseButtonId, D::kExecuteButtonId, D::kExecuteButtonId,
      c.focus};
  EXPECT_EQ(controls.focus, focusAfter[c.effect]);
  EXPECT_EQ(controls.selectedAll.size(), c.effect == kToEdit ? 1u : 0u);
  EXPECT_EQ(ui.fileRequests.size(), c.effect == kBrowses ? 1u : 0u);
  EXPECT_EQ(controls.results,
            c.effect == kExecutes ? std::vector<int>{D::kResultExecute} : std::vector<int>{});
}
const std::set<int> kNone;
INSTANTIATE_TEST_SUITE_P(
    Cases, ConditionDialogKeys,
    ::testing::Values(
        KeyCase{"EnterOnBusiness", kVkReturn, kBiz, kNone, false, true, kToEdit},
        KeyCase{"EnterOnOther", kVkReturn, kOther, kNone, false, true, kToEdit},
        KeyCase{"EnterOnRealEstate", kVkReturn, kReal, kNone, false, true, kToEdit},
        KeyCase{"EnterOnRadioWithCallersPath", kVkReturn, kBiz, kNone, true, true, kToExecute},
        KeyCase{"EnterOnEdit", kVkReturn, D::kOutputPathEditId, kNone, false, true, kToBrowse},
        KeyCase{"EnterOnBrowse", kVkReturn, D::kBrowseButtonId, kNone, false, true, kBrowses},
        KeyCase{"EnterOnExecute", kVkReturn, D::kExecuteButtonId, kNone, false, true, kExecutes},
        KeyCase{"EnterOnCancel", kVkReturn, D::kCancelButtonId, kNone, false, false, kNothing},
        KeyCase{"ShiftEnterOnRadio", kVkReturn, kBiz, {kVkShift}, false, false, kNothing},
        KeyCase{"CtrlEnterOnEdit",
                kVkReturn,
                D::kOutputPathEditId,
                {kVkControl},
                false,
                false,
                kNothing},
        KeyCase{"F12", kVkF12, D::kCancelButtonId, kNone, false, true, kExecutes},
        KeyCase{"ShiftF12", kVkF12, kBiz, {kVkShift}, false, false, kNothing},
        KeyCase{"CtrlF12", kVkF12, kBiz, {kVkControl}, false, false, kNothing},
        KeyCase{"AltF12", kVkF12, kBiz, {kVkMenu}, false, false, kNothing},
        KeyCase{"EscLeftToTheFrontEnd", kVkEscape, kBiz, kNone, false, false, kNothing}),
    NameOf);

// ---------------------------------------------------------------- browse

struct BrowseCase {
  const char* name;
  std::string path, folder, fileName;
  std::optional<std::string> answer;
  bool taken;
};
class ConditionDialogBrowse : public ConditionDialogTest,
                              public ::testing::WithParamInterface<BrowseCase> {};
TEST_P(ConditionDialogBrowse, AsksTheFileDialogAndFocusesExecute) {
  const BrowseCase& c = GetParam();
  Init();
  controls.SetText(D::kOutputPathEditId, c.path);
  ui.fileAnswers.push_back(c.answer);
  dialog.OnCommand(controls, D::kBrowseButtonId);
  ASSERT_EQ(ui.fileRequests.size(), 1u);
  const FileDialogRequest& r = ui.fileRequests[0];
  EXPECT_EQ(r.initialFolder, c.folder);
  EXPECT_EQ(r.initialFileName, c.fileName);
  EXPECT_TRUE(r.owner == RecordingControls::kHandle && r.save && r.defaultExtension == "XML");
  EXPECT_EQ(r.filter, "Xml Files (*.xml)|*.xml||");
  EXPECT_EQ(r.flags, 0x180Cu);
  EXPECT_EQ(r.title, SJ("保存ファイルを指定"));
  EXPECT_EQ(Edit(), c.taken ? *c.answer : c.path);
  EXPECT_EQ(controls.focus, D::kExecuteButtonId);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, ConditionDialogBrowse,
    ::testing::Values(
        BrowseCase{"Pattern", "D:\\docs\\*.xml", "D:\\docs\\", "*.xml", "D:\\o\\b.XML", true},
        BrowseCase{"DriveRelative", "D:report.xml", "D:", "report.xml", std::nullopt, false},
        BrowseCase{"NameAlone", "report.xml", "", "report.xml", std::nullopt, false},
        BrowseCase{"FolderEndingIn0x5C", "D:\\\x83\x5C\\a", "D:\\\x83\x5C\\", "a", std::nullopt,
                   false},
        BrowseCase{"LongestTaken", "", "", "", "D:\\" + std::string(256, 'b'), true},
        BrowseCase{"TooLongForTheDialog", "", "", "", "D:\\" + std::string(257, 'b'), false}),
    NameOf);

// ---------------------------------------------------------------- execute

struct RefusalCase {
  const char* name;
  std::string path;
  std::string (*message)();
};
class ConditionDialogRefusal : public ConditionDialogTest,
                               public ::testing::WithParamInterface<RefusalCase> {};
TEST_P(ConditionDialogRefusal, RefusesAndReturnsToTheEdit) {
  Init();
  controls.ClickRadio(kReal);
  Execute(GetParam().path);
  EXPECT_EQ(Shown(), std::vector<std::string>{GetParam().message()});
  EXPECT_EQ(ui.messageBoxes[0].style, kMbOk | kMbIconExclamation);
  ExpectBackInTheEdit();
  EXPECT_EQ(dialog.IncomeKind, 3);
  EXPECT_EQ(env->creates, 0);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, ConditionDialogRefusal,
    ::testing::Values(RefusalCase{"Empty", "", M1}, RefusalCase{"Pattern", "D:\\docs\\*.xml", M2},
                      RefusalCase{"SecondColon", "D:\\out\\a:b.xml", M2},
                      RefusalCase{"StarAfterDriveColon", "D:*", M2},
                      RefusalCase{"DoubledInDrivePath", "D:\\out\\\\a.xml", M2},
                      RefusalCase{"DoubledInUncPath", "\\\\srv\\share\\\\a.xml", M2},
                      RefusalCase{"UncWithoutShareEnd", "\\\\srv\\share", M3},
                      RefusalCase{"InaccessibleShare", "\\\\srv\\gone\\a.xml", M3},
                      RefusalCase{"CdRom", "Q:\\a.xml", M3},
                      RefusalCase{"EndsWithBackslash", "D:\\out\\", M4},
                      RefusalCase{"ExistingFolder", "D:\\out", M4}),
    NameOf);

// The store, the settings file and its lock are never a report's target,
// whatever name reaches them: refused before any question, nothing touched.
struct KeptFileCase {
  const char* name;
  std::string path;
};
class ConditionDialogKeptFile : public ConditionDialogTest,
                                public ::testing::WithParamInterface<KeptFileCase> {};
TEST_P(ConditionDialogKeptFile, IsRefusedBeforeAnyQuestion) {
  const std::string settings = "d/cfg/" + testing::TestEdition().settingsFileName;
  std::filesystem::create_directory(tmp.Join("d/cfg"));
  tmp.WriteFile(settings, "X/1/1:0/0/1/\n");
  tmp.WriteFile(settings + ".lock", "");
  tmp.WriteFile("d/store.sqlite", "store");
  NoteOwnFile(tmp.Join("d/store.sqlite"));
  std::filesystem::create_symlink(tmp.Join(settings), tmp.Join("d/out/settings.xml"));
  std::filesystem::create_symlink(tmp.Join("d/store.sqlite"), tmp.Join("d/out/store.xml"));
  const auto before = Tree();
  Init();
  ui.answers = {kIdYes, kIdYes};
  Execute(GetParam().path);
  EXPECT_EQ(Shown(), std::vector<std::string>{M8()});
  ExpectBackInTheEdit();
  EXPECT_EQ(Tree(), before);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, ConditionDialogKeptFile,
    ::testing::Values(
        KeptFileCase{"Store", "D:\\store.sqlite"},
        KeptFileCase{"StoreThroughALink", "D:\\out\\store.xml"},
        KeptFileCase{"StoreOtherwiseSpelt", "d:\\out\\..\\store.sqlite"},
        KeptFileCase{"Settings", "D:\\cfg\\" + testing::TestEdition().settingsFileName},
        KeptFileCase{"SettingsThroughALink", "D:\\out\\settings.xml"},
        KeptFileCase{"SettingsLock",
                     "D:\\cfg\\" + testing::TestEdition().settingsFileName + ".lock"}),
    NameOf);

// The check does not refuse a file that is merely beside them.
TEST_F(ConditionDialogTest, FileBesideTheKeptOnesIsAsked) {
  tmp.WriteFile("d/store.sqlite", "store");
  NoteOwnFile(tmp.Join("d/store.sqlite"));
  tmp.WriteFile("d/store.xml", "old");
  Init();
  ui.answers = {kIdYes};
  Execute("D:\\store.xml");
  EXPECT_EQ(Shown(), std::vector<std::string>{Q7()});
  EXPECT_EQ(controls.results, std::vector<int>{D::kResultExecute});
}

TEST_F(ConditionDialogTest, ReadsTheKindFromTheRadioButtonsOnEachPress) {
  Init();
  for (auto [radio, kind] : {std::pair{kOther, 2}, std::pair{kReal, 3}, std::pair{0, 1}}) {
    controls.ClickRadio(radio);
    controls.results.clear();
    Execute("D:\\out\\a.xml");
    EXPECT_EQ(dialog.IncomeKind, kind);
    EXPECT_EQ(controls.results, std::vector<int>{D::kResultExecute});
  }
}

TEST_F(ConditionDialogTest, RelativeNameIsAcceptedWithoutAQuestion) {
  Init();
  Execute("notes.xml");  // N: has no volume, which the drive check lets pass
  EXPECT_TRUE(ui.messageBoxes.empty());
  EXPECT_EQ(controls.results, std::vector<int>{D::kResultExecute});
}

struct FolderCase {
  const char* name;
  std::string path;
  std::vector<int> answers;
  std::vector<std::string (*)()> messages;
  bool ends;
  std::size_t created;
};
class ConditionDialogFolder : public ConditionDialogTest,
                              public ::testing::WithParamInterface<FolderCase> {};
TEST_P(ConditionDialogFolder, CreatesAMissingFolderOnlyAfterYes) {
  const FolderCase& c = GetParam();
  env->failCreate = "D:\\\x90\x56\\sub\\";  // 新\sub
  tmp.WriteFile("d/out/a.xml", "kept");
  const auto before = Tree();
  Init();
  ui.answers.assign(c.answers.begin(), c.answers.end());
  Execute(c.path);
  std::vector<std::string> expected;
  for (auto message : c.messages) expected.push_back(message());
  EXPECT_EQ(Shown(), expected);
  EXPECT_EQ(controls.results.size(), c.ends ? 1u : 0u);
  if (!c.ends) ExpectBackInTheEdit();
  EXPECT_EQ(Tree().size(), before.size() + c.created);
  EXPECT_EQ(tmp.ReadFile("d/out/a.xml"), "kept");
}
INSTANTIATE_TEST_SUITE_P(
    Cases, ConditionDialogFolder,
    ::testing::Values(
        FolderCase{"Yes", "D:\\out\\\x95\x5C\\\x83\x5C\\a.xml", {kIdYes}, {Q5}, true, 2},
        FolderCase{"No", "D:\\new\\a.xml", {kIdNo}, {Q5}, false, 0},
        FolderCase{
            "CreationFailsAndIsUndone", "D:\\\x90\x56\\sub\\a.xml", {kIdYes}, {Q5, M6}, false, 0},
        FolderCase{"LetterWithoutVolume", "N:\\out\\a.xml", {kIdYes}, {Q5, M6}, false, 0},
        // A drive's root cannot be created: the creation fails as on Windows.
        FolderCase{"RootOfLetterWithoutVolume", "Y:\\o.xml", {kIdYes}, {Q5, M6}, false, 0},
        FolderCase{"ExistingFileNo", "D:\\out\\a.xml", {kIdNo}, {Q7}, false, 0},
        FolderCase{"ExistingFileYes", "D:\\out\\a.xml", {kIdYes}, {Q7}, true, 0}),
    NameOf);

// ------------------------------------------------------ what is a folder

// Every place that asks whether a folder exists (the dialog's question, the
// folder test of the creation walk, the creation itself) gives one answer:
// only a directory is a folder. A file where a folder should be is a folder
// that does not exist and cannot be created.
struct FolderKindCase {
  const char* name;
  const char* folder;  // under D:, with its trailing backslash
  bool isFolder;       // an existing directory
  bool creatable;      // CreateFolderChain makes it one
};

// An Env whose existence test, like the runtime library's on a lax system,
// ignores the trailing separator: the dialog must not rely on it.
class LaxAccessEnv : public EnvWrapper {
 public:
  using EnvWrapper::EnvWrapper;
  bool Access(const std::string& path, int mode) override {
    std::string bare = path;
    while (bare.size() > 3 && bare.back() == '\\') bare.pop_back();
    return EnvWrapper::Access(bare, mode);
  }
};

class ConditionDialogFolderKind : public ConditionDialogTest,
                                  public ::testing::WithParamInterface<FolderKindCase> {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(tmp.Join("d/dir"));
    tmp.WriteFile("d/file", "a file, not a folder");
    std::filesystem::create_directory_symlink(tmp.Join("d/dir"), tmp.Join("d/dirlink"));
    std::filesystem::create_symlink(tmp.Join("d/file"), tmp.Join("d/filelink"));
    std::filesystem::create_symlink(tmp.Join("d/gone"), tmp.Join("d/dangling"));
  }
};

TEST_P(ConditionDialogFolderKind, OnlyADirectoryIsAFolder) {
  const FolderKindCase& c = GetParam();
  const std::string folder = std::string("D:\\") + c.folder;
  EXPECT_EQ(env->Access(folder, kAccessExists), c.isFolder);
  EXPECT_EQ(env->PathIsDirectory(folder), c.isFolder);
  EXPECT_EQ(IsExistingFolder(*env, folder + "x.xml"), c.isFolder);

  // The dialog asks only for a missing folder, whatever Access says.
  LaxAccessEnv lax(*env);
  ConditionDialog laxDialog(lax, ui, 0x77, testing::TestEdition().settingsFileName);
  ASSERT_TRUE(laxDialog.OnInitDialog(controls));
  ui.answers = {kIdYes};
  const auto before = Tree();
  controls.SetText(D::kOutputPathEditId, folder + "x.xml");
  laxDialog.OnExecute(controls);
  std::vector<std::string> expected;
  if (!c.isFolder) expected.push_back(Q5());
  if (!c.isFolder && !c.creatable) expected.push_back(M6());
  EXPECT_EQ(Shown(), expected);
  EXPECT_EQ(controls.results.size(), c.isFolder || c.creatable ? 1u : 0u);
  if (!c.creatable && !c.isFolder) {
    ExpectBackInTheEdit();
    EXPECT_EQ(Tree(), before);
  }
  EXPECT_EQ(tmp.ReadFile("d/file"), "a file, not a folder");
  EXPECT_EQ(IsExistingFolder(*env, folder + "x.xml"), c.isFolder || c.creatable);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConditionDialogFolderKind,
    ::testing::Values(FolderKindCase{"Directory", "dir\\", true, false},
                      FolderKindCase{"Missing", "new\\", false, true},
                      FolderKindCase{"RegularFile", "file\\", false, false},
                      FolderKindCase{"BelowARegularFile", "file\\sub\\", false, false},
                      FolderKindCase{"LinkToADirectory", "dirlink\\", true, false},
                      FolderKindCase{"LinkToAFile", "filelink\\", false, false},
                      FolderKindCase{"DanglingLink", "dangling\\", false, false}),
    NameOf);

}  // namespace
}  // namespace pv14
