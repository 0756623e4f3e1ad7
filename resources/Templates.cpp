// Templates 130 and 131 as the faces build them: controls in tab order,
// places in dialog units, styles beyond child + visible, and the controls the
// console's commands act on.
#include "resources/Templates.h"

#include "resources/ControlIds.h"
#include "resources/Text.h"

namespace pv14 {
namespace {

using namespace style;

constexpr std::uint32_t kLabel = kGroup | kCenterImage;
// Statics that show the user's data: an & in it is shown, not a mnemonic,
// and a text too long for its place ends in an ellipsis.
constexpr std::uint32_t kData = kLabel | kNoPrefix | kEndEllipsis;

DialogTemplate BuildConditionDialog() {
  return DialogTemplate{
      ids::kConditionDialog,
      SJ("所得税 - 集計条件"),
      263,
      234,
      SJ("ＭＳ Ｐゴシック"),
      9,
      kPopup | kVisible | kCaption | kSysMenu | kModalFrame,
      kExAppWindow,
      {
          {ids::kCompanyLabel, ControlKind::kStatic, SJ("事業所名"), 7, 7, 28, 12, kLabel},
          {ids::kCompanyColon, ControlKind::kStatic, SJ("："), 46, 7, 8, 12, kLabel},
          {ids::kCompanyText, ControlKind::kStatic, SJ("事業所名"), 59, 7, 197, 12, kData},
          {ids::kPeriodLabel, ControlKind::kStatic, SJ("会計期間"), 7, 26, 28, 12, kLabel},
          {ids::kPeriodColon, ControlKind::kStatic, SJ("："), 46, 26, 8, 12, kLabel},
          {ids::kPeriodText, ControlKind::kStatic, SJ("xxxx/xx/xx～xxxx/xx/xx"), 59, 26, 197, 12,
           kData},
          {ids::kCostLabel, ControlKind::kStatic, SJ("製造原価"), 7, 45, 28, 12, kLabel},
          {ids::kCostColon, ControlKind::kStatic, SJ("："), 46, 45, 8, 12, kLabel},
          {ids::kCostText, ControlKind::kStatic, SJ("あり"), 59, 45, 197, 12, kData},
          {ids::kIncomeKindGroup, ControlKind::kGroupBox, SJ("事業区分"), 7, 64, 249, 83, 0},
          {ids::kBusinessRadio, ControlKind::kRadioButton, SJ("営業所得用（一般用）(&1)"), 18, 83,
           92, 12, kTabStop},
          {ids::kOtherRadio, ControlKind::kRadioButton, SJ("その他所得用（一般用）(&2)"), 18, 102,
           92, 12, kTabStop},
          {ids::kRealEstateRadio, ControlKind::kRadioButton, SJ("不動産所得用(&3)"), 18, 121, 92,
           12, kTabStop},
          {ids::kOutputGroup, ControlKind::kGroupBox, SJ("出力先(&F)"), 7, 159, 249, 45, 0},
          {ids::kOutputPathEdit, ControlKind::kEdit, "", 14, 178, 170, 14,
           kBorder | kTabStop | kAutoHScroll},
          {ids::kBrowseButton, ControlKind::kPushButton, SJ("参照(&D)..."), 191, 178, 57, 14,
           kTabStop},
          {ids::kExecuteButton, ControlKind::kPushButton, SJ("実行(F12)"), 137, 213, 57, 14,
           kGroup | kTabStop},
          {ids::kCancelButton, ControlKind::kPushButton, SJ("キャンセル(Esc)"), 199, 213, 57, 14,
           kGroup | kTabStop},
      },
      {
          {command::kChoose1, ids::kBusinessRadio},
          {command::kChoose2, ids::kOtherRadio},
          {command::kChoose3, ids::kRealEstateRadio},
          {command::kPath, ids::kOutputPathEdit},
          {command::kBrowse, ids::kBrowseButton},
          {command::kExecute, ids::kExecuteButton},
          {command::kCancel, ids::kCancelButton},
      },
  };
}

DialogTemplate BuildProgressDialog() {
  return DialogTemplate{
      ids::kProgressDialog,
      SJ("集計中"),
      221,
      45,
      SJ("ＭＳ Ｐゴシック"),
      9,
      // Topmost through the system-modal style; shown by the run, not at once.
      kPopup | kCaption | kModalFrame | kSystemModal,
      0,
      {
          {ids::kMainBar, ControlKind::kProgressBar, "Progress1", 5, 6, 211, 22, kBorder | kSmooth},
          {ids::kActivityBar, ControlKind::kProgressBar, "Progress2", 5, 29, 211, 10, kBorder},
      },
      // Takes no commands; the console shows the main bar's share.
      {{"percent", ids::kMainBar}},
  };
}

}  // namespace

const DialogTemplate& ConditionDialogTemplate() {
  static const DialogTemplate dialog = BuildConditionDialog();
  return dialog;
}

const DialogTemplate& ProgressDialogTemplate() {
  static const DialogTemplate dialog = BuildProgressDialog();
  return dialog;
}

}  // namespace pv14
