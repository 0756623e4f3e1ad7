#include "dialogs/ConditionDialog.h"

#include <utility>

#include "dialogs/PathHelpers.h"
#include "engine/FieldText.h"
#include "engine/LedgerEngine.h"
#include "resources/Strings.h"
#include "resources/Templates.h"
#include "resources/Text.h"

namespace pv14 {
namespace {

// The file dialog's flags: hide read-only, keep the working directory, path
// and file must exist.
constexpr std::uint32_t kBrowseFlags = file_dialog::kHideReadOnly | file_dialog::kNoChangeDir |
                                       file_dialog::kPathMustExist | file_dialog::kFileMustExist;

constexpr std::uint32_t kRefusalStyle = kMbOk | kMbIconExclamation;
constexpr std::uint32_t kQuestionStyle = kMbYesNo | kMbIconQuestion;  // Yes is the default

bool IsRadioButton(int id) {
  return id == ConditionDialog::kBusinessRadioId || id == ConditionDialog::kOtherRadioId ||
         id == ConditionDialog::kRealEstateRadioId;
}

}  // namespace

ConditionDialog::ConditionDialog(Env& env, Ui& ui, WindowHandle parent,
                                 std::string settingsFileName)
    : env_(env), ui_(ui), parent_(parent), settingsFileName_(std::move(settingsFileName)) {}

int ConditionDialog::DoModal() { return ui_.RunModal(ConditionDialogTemplate(), parent_, *this); }

// ---------------------------------------------------------------- events

bool ConditionDialog::OnInitDialog(DialogControls& controls) {
  MembersToControls(controls);
  if (IsPastData != 0) {
    ui_.MessageBox(controls.Handle(),
                   SJ("過去実績データは、連携の対象として使用できません。\n\n"
                      "アプリケーションを終了します。"),
                   MessageCaption(), kRefusalStyle);
    // The dialog closes once initialisation returns; the rest still runs.
    controls.EndDialog(kResultCancel);
  }
  controls.LimitText(kOutputPathEditId, kPathEditLimit);
  PreselectIncomeKind(controls);

  SavedOutputPath.clear();
  std::int16_t savedKind = 0;
  std::string savedPath;
  if (!LoadSettings(savedKind, savedPath)) {
    savedKind = 0;
    savedPath.clear();
  }
  ApplySavedIncomeKind(controls, savedKind);

  std::string initialPath;
  if (!savedPath.empty()) {
    SavedOutputPath = savedPath;
    initialPath = savedPath;
  } else {
    initialPath = DefaultOutputPath();
  }

  if (!PresetOutputPath.empty()) {
    OutputPath = PresetOutputPath;
    controls.Enable(kBrowseButtonId, false);
    controls.Enable(kOutputPathEditId, false);
    controls.SetText(kOutputGroupId, SJ("出力先"));
    PathFixed = 1;
  } else {
    OutputPath = initialPath;
    PathFixed = 0;
  }
  MembersToControls(controls);
  return true;
}

void ConditionDialog::OnCommand(DialogControls& controls, int id) {
  switch (id) {
    case kBrowseButtonId:
      OnBrowse(controls);
      break;
    case kExecuteButtonId:
      OnExecute(controls);
      break;
    case kCancelButtonId:
      OnCancelButton(controls);
      break;
    default:
      break;
  }
}

void ConditionDialog::OnCancelButton(DialogControls& controls) { OnCancel(controls); }

void ConditionDialog::OnCancel(DialogControls& controls) {
  std::string text = SJ("｢%s｣の集計を中止します。");
  text.replace(text.find("%s"), 2, MessageCaption());
  ui_.MessageBox(controls.Handle(), text, MessageCaption(), kMbOk | kMbIconInformation);
  controls.EndDialog(kResultCancel);
}

bool ConditionDialog::PreTranslateKey(DialogControls& controls, int virtualKey, int focusId) {
  if (virtualKey != kVkReturn && virtualKey != kVkF12) return false;
  // With a modifier held the key is left to the front end; the dialog has no
  // command of its own that would end it without the checks.
  if (ui_.IsKeyDown(kVkShift) || ui_.IsKeyDown(kVkControl) || ui_.IsKeyDown(kVkMenu)) {
    return false;
  }
  if (virtualKey == kVkF12) {
    OnExecute(controls);
    return true;
  }
  int nextButton = controls.IsEnabled(kBrowseButtonId) ? kBrowseButtonId : kExecuteButtonId;
  if (IsRadioButton(focusId)) {
    if (controls.IsEnabled(kOutputPathEditId)) {
      FocusPathEdit(controls);
    } else {
      controls.SetFocus(nextButton);
    }
    return true;
  }
  switch (focusId) {
    case kOutputPathEditId:
      controls.SetFocus(nextButton);
      return true;
    case kBrowseButtonId:
      OnBrowse(controls);
      return true;
    case kExecuteButtonId:
      OnExecute(controls);
      return true;
    default:  // キャンセル: the front end clicks the focused button
      return false;
  }
}

// ---------------------------------------------------------------- actions

void ConditionDialog::OnBrowse(DialogControls& controls) {
  ControlsToMembers(controls);
  std::string folder = SplitFolder(OutputPath);
  std::string fileName = SplitFileName(OutputPath);
  if (folder.empty()) {
    folder = SplitDrive(OutputPath);
    fileName = SplitAfterDrive(OutputPath);
  }

  FileDialogRequest request;
  request.owner = controls.Handle();
  request.save = true;
  request.defaultExtension = "XML";
  request.initialFileName = fileName;
  request.filter = "Xml Files (*.xml)|*.xml||";
  request.flags = kBrowseFlags;
  request.initialFolder = folder;
  request.title = SJ("保存ファイルを指定");

  std::optional<std::string> chosen = ui_.ShowFileDialog(request);
  // A name too long for the file dialog's buffer ends it as a cancel does.
  if (chosen && !chosen->empty() && chosen->size() <= kBrowsedPathLimit) {
    OutputPath = *chosen;
    MembersToControls(controls);
  }
  controls.SetFocus(kExecuteButtonId);
}

void ConditionDialog::OnExecute(DialogControls& controls) {
  ControlsToMembers(controls);
  ReadIncomeKind(controls);
  if (!CheckOutputPath(controls)) {
    FocusPathEdit(controls);
    return;
  }
  controls.EndDialog(kResultExecute);
}

void ConditionDialog::FocusPathEdit(DialogControls& controls) {
  controls.SetFocus(kOutputPathEditId);
  controls.SelectAll(kOutputPathEditId);
}

// ---------------------------------------------------------------- helpers

std::string ConditionDialog::AppFolderPath(std::int32_t type) {
  ClFileMgr* files = ClFileMgr::Inst();
  if (files == nullptr) return {};
  char folder[kPathBufferSize] = {};
  if (files->GetAppFolderPath(type, folder, sizeof folder) != kEngineOk) return {};
  return std::string(FieldText(folder));
}

void ConditionDialog::MembersToControls(DialogControls& controls) {
  controls.SetText(kCompanyTextId, CompanyText);
  controls.SetText(kPeriodTextId, PeriodText);
  controls.SetText(kCostTextId, CostText);
  controls.SetText(kOutputPathEditId, OutputPath);
}

void ConditionDialog::ControlsToMembers(DialogControls& controls) {
  CompanyText = controls.GetText(kCompanyTextId);
  PeriodText = controls.GetText(kPeriodTextId);
  CostText = controls.GetText(kCostTextId);
  OutputPath = controls.GetText(kOutputPathEditId);
}

void ConditionDialog::PreselectIncomeKind(DialogControls& controls) {
  switch (StatementScope) {
    case 1:  // general statements only
      controls.Enable(kRealEstateRadioId, false);
      controls.SetCheck(kBusinessRadioId, true);
      IncomeKind = 1;
      break;
    case 2:  // real estate only
      controls.Enable(kBusinessRadioId, false);
      controls.Enable(kOtherRadioId, false);
      controls.SetCheck(kRealEstateRadioId, true);
      IncomeKind = 3;
      break;
    default:  // both, or no record found
      controls.SetCheck(kBusinessRadioId, true);
      IncomeKind = 1;
      break;
  }
}

void ConditionDialog::ApplySavedIncomeKind(DialogControls& controls, std::int16_t savedKind) {
  if (savedKind == IncomeKind) return;
  int radio = 0;
  switch (savedKind) {
    case 1:
      radio = kBusinessRadioId;
      break;
    case 2:
      radio = kOtherRadioId;
      break;
    case 3:
      radio = kRealEstateRadioId;
      break;
    default:
      return;
  }
  if (!controls.IsEnabled(radio)) return;
  controls.SetCheck(kBusinessRadioId, radio == kBusinessRadioId);
  controls.SetCheck(kOtherRadioId, radio == kOtherRadioId);
  controls.SetCheck(kRealEstateRadioId, radio == kRealEstateRadioId);
  IncomeKind = savedKind;
}

std::string ConditionDialog::DefaultOutputPath() {
  std::string folder = AppFolderPath(0);
  if (folder.empty()) {
    folder = env_.GetTempPath();
    // The system call fills nothing into a buffer too small for the folder.
    if (folder.size() > kMaxPathBytes) folder.clear();
    AddTrailingBackslash(folder, kPathBufferSize);
  }
  return folder + "*.xml";
}

void ConditionDialog::ReadIncomeKind(DialogControls& controls) {
  IncomeKind = 1;
  if (controls.IsChecked(kBusinessRadioId)) IncomeKind = 1;
  if (controls.IsChecked(kOtherRadioId)) IncomeKind = 2;
  if (controls.IsChecked(kRealEstateRadioId)) IncomeKind = 3;
}

bool ConditionDialog::CheckOutputPath(DialogControls& controls) {
  if (OutputPath.empty()) {
    Refuse(controls, SJ("データ出力先が指定されていません。\n\n出力先を指定してください。"));
    return false;
  }
  if (!IsValidPathText(OutputPath)) {
    Refuse(controls,
           SJ("データの出力先に不正な文字が含まれています。\n\n出力先を再入力してください。"));
    return false;
  }
  if (!IsValidDrive(env_, OutputPath)) {
    Refuse(controls, SJ("ドライブ名が有効でありません。\n\n有効なドライブを指定してください。"));
    return false;
  }
  if (SplitFileName(OutputPath).empty()) {
    Refuse(controls, SJ("ファイル名が指定されていません。"));
    return false;
  }
  if (IsKeptFile(OutputPath)) {
    Refuse(controls,
           SJ("指定されたファイルはアプリケーションが使用しているため、出力先にできません。\n\n"
              "出力先を再入力してください。"));
    return false;
  }
  if (!EnsureFolder(controls)) return false;
  // A caller's file is overwritten without asking.
  return PathFixed != 0 || ConfirmOverwrite(controls);
}

bool ConditionDialog::IsKeptFile(const std::string& path) {
  // The store, the program's files and the settings file (with its lock)
  // would be lost under a report, whatever name reaches them.
  if (env_.IsProgramFile(path)) return true;
  const std::string folder = AppFolderPath(1);
  if (folder.empty()) return false;
  const std::string settings = SettingsFilePath(folder);
  return env_.IsSameFile(path, settings) || env_.IsSameFile(path, settings + ".lock");
}

bool ConditionDialog::EnsureFolder(DialogControls& controls) {
  std::string folder = SplitFolder(OutputPath);
  // Asked as the folder creation asks it: only a directory is a folder, so a
  // file in its place leads to the question and then to the refusal.
  if (folder.empty() || IsExistingFolder(env_, folder)) return true;
  if (!AskYes(controls, SJ("指定されたフォルダは存在しません。\n\n作成してもよろしいですか？"))) {
    return false;
  }
  if (!CreateFolderChain(env_, folder)) {
    Refuse(controls, SJ("フォルダの作成に失敗しました。\n\n出力先を再入力してください。"));
    return false;
  }
  return true;
}

bool ConditionDialog::ConfirmOverwrite(DialogControls& controls) {
  std::optional<FileStatus> status = env_.GetFileStatus(OutputPath);
  if (!status) return true;
  if (status->isDirectory) {
    Refuse(controls, SJ("ファイル名が指定されていません。"));
    return false;
  }
  return AskYes(controls, SJ("同名のファイルが存在します。\n\n上書きしてもよろしいですか？"));
}

void ConditionDialog::Refuse(DialogControls& controls, const std::string& text) {
  ui_.MessageBox(controls.Handle(), text, MessageCaption(), kRefusalStyle);
}

bool ConditionDialog::AskYes(DialogControls& controls, const std::string& text) {
  return ui_.MessageBox(controls.Handle(), text, MessageCaption(), kQuestionStyle) == kIdYes;
}

}  // namespace pv14
