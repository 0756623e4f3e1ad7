// The export-conditions dialog (template 130): shows which company data is
// about to be exported, lets the user choose the income kind and the output
// file, checks the output path (creating a missing folder on request) and
// remembers the last income kind and path per user and data record.
//
// Use, in this order:
//   ConditionDialog dialog(env, ui, callerWindow,    // kNoWindow when alone
//                          edition.settingsFileName);
//   dialog.CurrentUserId = FieldText(idFromTheEngine);   // at most 64 bytes
//   dialog.SelectedKeyNo = ...; dialog.SelectedDataNo = ...;
//   dialog.StatementScope = ...; dialog.IsPastData = ...;
//   dialog.CompanyText = ...; dialog.PeriodText = ...; dialog.CostText = ...;
//   dialog.PresetOutputPath = launchedByCaller ? initialOutputPath : "";
//   int result = dialog.DoModal();   // kResultExecute or kResultCancel
//   after kResultExecute: read dialog.IncomeKind (1, 2, 3) and dialog.OutputPath;
//   after a successful export:
//     dialog.SaveSettings(0, 0, dialog.IncomeKind,
//                         launchedByCaller ? std::nullopt : optional(outputPath));
// The user id and the two selection numbers form the settings key: they must
// not change between DoModal and SaveSettings.
//
// The logic knows the controls only by id; every front end renders the same
// template and forwards its events here. All texts are Shift_JIS.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Env.h"
#include "platform/Ui.h"
#include "resources/ControlIds.h"

namespace pv14 {

class ConditionDialog : public DialogLogic {
 public:
  // Control ids of template 130 (resources/ControlIds.h).
  static constexpr int kCompanyTextId = ids::kCompanyText;
  static constexpr int kPeriodTextId = ids::kPeriodText;
  static constexpr int kCostTextId = ids::kCostText;
  static constexpr int kBusinessRadioId = ids::kBusinessRadio;
  static constexpr int kRealEstateRadioId = ids::kRealEstateRadio;
  static constexpr int kOtherRadioId = ids::kOtherRadio;
  static constexpr int kExecuteButtonId = ids::kExecuteButton;
  static constexpr int kCancelButtonId = ids::kCancelButton;
  static constexpr int kOutputGroupId = ids::kOutputGroup;
  static constexpr int kOutputPathEditId = ids::kOutputPathEdit;
  static constexpr int kBrowseButtonId = ids::kBrowseButton;

  // The dialog's only results: the buttons that end it.
  static constexpr int kResultExecute = ids::kExecuteButton;
  static constexpr int kResultCancel = ids::kCancelButton;

  // Bytes the user may type into the path edit.
  static constexpr std::size_t kPathEditLimit = 255;
  // Longest path taken from the file dialog.
  static constexpr std::size_t kBrowsedPathLimit = 259;

  // settingsFileName: the edition's settings file, in the engine's settings
  // folder.
  ConditionDialog(Env& env, Ui& ui, WindowHandle parent, std::string settingsFileName);

  // Runs template 130 modally; returns kResultExecute or kResultCancel.
  int DoModal();

  // ---- set by the application before DoModal
  std::string CurrentUserId;  // the engine's user id (at most 64 bytes there)
  std::int32_t SelectedKeyNo = 0;
  std::int32_t SelectedDataNo = 0;
  std::uint8_t StatementScope = 0;  // 1 general only, 2 real estate only, else both
  std::int32_t IsPastData = 0;      // 1 refuses the record at once
  std::string CompanyText;
  std::string PeriodText;
  std::string CostText;
  std::string PresetOutputPath;  // the caller's path; empty when none

  // ---- results
  std::int16_t IncomeKind = 0;  // 1 business, 2 other, 3 real estate
  std::string OutputPath;       // the validated output file after kResultExecute
  std::int32_t PathFixed = 0;   // 1 when OutputPath is the caller's and not editable
  // The path found in the settings file when the dialog opened; empty when none.
  std::string SavedOutputPath;

  // ---- last-used settings
  // True when the settings file holds a line for the current key; kind and
  // path are written only then.
  bool LoadSettings(std::int16_t& kind, std::string& path);
  // Writes the line of the current key at the end of the settings file,
  // creating the folder when missing. No path keeps the path stored in the
  // key's line (SavedOutputPath when there is no line). Saves of other
  // processes wait for each other. True when the line was written; on false
  // the file is as it was.
  bool SaveSettings(std::int16_t first, std::int16_t second, std::int16_t kind,
                    const std::optional<std::string>& path);
  // "%s/%d/%d:" of the user id and the two selection numbers.
  std::string SettingsKey() const;

  // ---- events (DialogLogic)
  bool OnInitDialog(DialogControls& controls) override;
  void OnCommand(DialogControls& controls, int id) override;
  void OnCancel(DialogControls& controls) override;
  bool PreTranslateKey(DialogControls& controls, int virtualKey, int focusId) override;

  // ---- the user's actions
  void OnBrowse(DialogControls& controls);
  void OnExecute(DialogControls& controls);
  void OnCancelButton(DialogControls& controls);
  // Focus to the path edit with its whole text selected.
  void FocusPathEdit(DialogControls& controls);

 private:
  void MembersToControls(DialogControls& controls);
  void ControlsToMembers(DialogControls& controls);
  void PreselectIncomeKind(DialogControls& controls);
  void ApplySavedIncomeKind(DialogControls& controls, std::int16_t savedKind);
  std::string DefaultOutputPath();
  void ReadIncomeKind(DialogControls& controls);
  // False when a check refused the path or the user answered No.
  bool CheckOutputPath(DialogControls& controls);
  // True when path names a file the program keeps for itself: the store,
  // its own files, the settings file.
  bool IsKeptFile(const std::string& path);
  bool EnsureFolder(DialogControls& controls);
  bool ConfirmOverwrite(DialogControls& controls);
  void Refuse(DialogControls& controls, const std::string& text);
  bool AskYes(DialogControls& controls, const std::string& text);
  std::string SettingsFilePath(const std::string& folder) const;
  // The engine's folder of the type (0 documents, 1 settings), ending with a
  // backslash, or empty.
  static std::string AppFolderPath(std::int32_t type);

  Env& env_;
  Ui& ui_;
  WindowHandle parent_;
  std::string settingsFileName_;
};

}  // namespace pv14
