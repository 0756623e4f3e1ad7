// Templates 130 and 131 as the faces build them: controls in tab order,
// places in dialog units, styles beyond child + visible, and the controls the
// console's commands act on.
#include "resources/Templates.h"

#include "resources/Text.h"

namespace pv14 {
namespace {

using namespace style;

constexpr std::uint32_t kLabel = kGroup | kCenterImage;

DialogTemplate BuildConditionDialog() {
  return DialogTemplate{
      130,
      SJ("所得税 - 集計条件"),
      263,
      234,
      SJ("ＭＳ Ｐゴシック"),
      9,
      kPopup | kVisible | kCaption | kSysMenu | kModalFrame,
      kExAppWindow,
      {
          {1000, ControlKind::kStatic, SJ("事業所名"), 7, 7, 28, 12, kLabel},
          {1002, ControlKind::kStatic, SJ("："), 46, 7, 8, 12, kLabel},
          {1004, ControlKind::kStatic, SJ("事業所名"), 59, 7, 197, 12, kLabel},
          {1001, ControlKind::kStatic, SJ("会計期間"), 7, 26, 28, 12, kLabel},
          {1003, ControlKind::kStatic, SJ("："), 46, 26, 8, 12, kLabel},
          {1005, ControlKind::kStatic, SJ("xxxx/xx/xx～xxxx/xx/xx"), 59, 26, 197, 12, kLabel},
          {1006, ControlKind::kStatic, SJ("製造原価"), 7, 45, 28, 12, kLabel},
          {1007, ControlKind::kStatic, SJ("："), 46, 45, 8, 12, kLabel},
          {1008, ControlKind::kStatic, SJ("あり"), 59, 45, 197, 12, kLabel},
          {1009, ControlKind::kGroupBox, SJ("事業区分"), 7, 64, 249, 83, 0},
          {1010, ControlKind::kRadioButton, SJ("営業所得用（一般用）(&1)"), 18, 83, 92, 12,
           kTabStop},
          {1012, ControlKind::kRadioButton, SJ("その他所得用（一般用）(&2)"), 18, 102, 92, 12,
           kTabStop},
          {1011, ControlKind::kRadioButton, SJ("不動産所得用(&3)"), 18, 121, 92, 12, kTabStop},
          {1015, ControlKind::kGroupBox, SJ("出力先(&F)"), 7, 159, 249, 45, 0},
          {1016, ControlKind::kEdit, "", 14, 178, 170, 14, kBorder | kTabStop | kAutoHScroll},
          {1017, ControlKind::kPushButton, SJ("参照(&D)..."), 191, 178, 57, 14, kTabStop},
          {1013, ControlKind::kPushButton, SJ("実行(F12)"), 137, 213, 57, 14, kGroup | kTabStop},
          {1014, ControlKind::kPushButton, SJ("キャンセル(Esc)"), 199, 213, 57, 14,
           kGroup | kTabStop},
      },
      {
          {command::kChoose1, 1010},  // IncomeKind 1
          {command::kChoose2, 1012},  // IncomeKind 2
          {command::kChoose3, 1011},  // IncomeKind 3
          {command::kPath, 1016},
          {command::kBrowse, 1017},
          {command::kExecute, 1013},
          {command::kCancel, 1014},
      },
  };
}

DialogTemplate BuildProgressDialog() {
  return DialogTemplate{
      131,
      SJ("集計中"),
      221,
      45,
      SJ("ＭＳ Ｐゴシック"),
      9,
      // Topmost through the system-modal style; shown by the run, not at once.
      kPopup | kCaption | kModalFrame | kSystemModal,
      0,
      {
          {1018, ControlKind::kProgressBar, "Progress1", 5, 6, 211, 22, kBorder | kSmooth},
          {1019, ControlKind::kProgressBar, "Progress2", 5, 29, 211, 10, kBorder},
      },
      {},  // takes no commands
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
