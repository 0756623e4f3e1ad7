#include "resources/Templates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/ConditionDialog.h"
#include "platform/Encoding.h"
#include "resources/Text.h"

namespace pv14 {
namespace {

std::vector<int> Ids(const DialogTemplate& dialog) {
  std::vector<int> ids;
  for (const ControlTemplate& c : dialog.controls) ids.push_back(c.id);
  return ids;
}

TEST(TemplatesTest, ConditionDialogControlsAreInTabOrder) {
  const DialogTemplate& t = ConditionDialogTemplate();
  EXPECT_EQ(t.id, 130);
  EXPECT_EQ(t.caption, SJ("所得税 - 集計条件"));
  EXPECT_EQ(Ids(t), (std::vector<int>{1000, 1002, 1004, 1001, 1003, 1005, 1006, 1007, 1008, 1009,
                                      1010, 1012, 1011, 1015, 1016, 1017, 1013, 1014}));
}

// The logic's ids: no two controls share one, and the framework's OK and
// cancel ids are absent, so Enter with a modifier has no command to end the
// dialog without its checks.
TEST(TemplatesTest, ConditionDialogIdsAreUniqueAndNoneIsOkOrCancel) {
  std::vector<int> ids = Ids(ConditionDialogTemplate());
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());
  for (int id : {kIdOk, kIdCancel}) EXPECT_FALSE(std::binary_search(ids.begin(), ids.end(), id));
  for (int id : {ConditionDialog::kBusinessRadioId, ConditionDialog::kOtherRadioId,
                 ConditionDialog::kRealEstateRadioId, ConditionDialog::kOutputPathEditId,
                 ConditionDialog::kBrowseButtonId, ConditionDialog::kExecuteButtonId,
                 ConditionDialog::kCancelButtonId, ConditionDialog::kOutputGroupId}) {
    EXPECT_TRUE(std::binary_search(ids.begin(), ids.end(), id)) << id;
  }
}

// Each console command acts on the control the dialog's logic gives that
// meaning, whatever the control's caption says.
struct CommandCase {
  const char* name;
  std::string_view command;
  int id;
  ControlKind kind;
};

class ConditionDialogCommandTest : public ::testing::TestWithParam<CommandCase> {};

TEST_P(ConditionDialogCommandTest, ActsOnTheLogicsControl) {
  const CommandCase& c = GetParam();
  const DialogTemplate& t = ConditionDialogTemplate();
  EXPECT_EQ(t.CommandTarget(c.command), c.id);
  ASSERT_NE(t.Find(c.id), nullptr);
  EXPECT_EQ(t.Find(c.id)->kind, c.kind);
}

using D = ConditionDialog;
INSTANTIATE_TEST_SUITE_P(
    Cases, ConditionDialogCommandTest,
    ::testing::Values(CommandCase{"OneIsBusiness", command::kChoose1, D::kBusinessRadioId,
                                  ControlKind::kRadioButton},
                      CommandCase{"TwoIsOther", command::kChoose2, D::kOtherRadioId,
                                  ControlKind::kRadioButton},
                      CommandCase{"ThreeIsRealEstate", command::kChoose3, D::kRealEstateRadioId,
                                  ControlKind::kRadioButton},
                      CommandCase{"PathIsTheOutputEdit", command::kPath, D::kOutputPathEditId,
                                  ControlKind::kEdit},
                      CommandCase{"BrowseIsTheBrowseButton", command::kBrowse, D::kBrowseButtonId,
                                  ControlKind::kPushButton},
                      CommandCase{"ExecuteIsTheExecuteButton", command::kExecute,
                                  D::kExecuteButtonId, ControlKind::kPushButton},
                      CommandCase{"CancelIsTheCancelButton", command::kCancel, D::kCancelButtonId,
                                  ControlKind::kPushButton}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TemplatesTest, ProgressDialogIsHiddenTopmostWithTwoBars) {
  const DialogTemplate& t = ProgressDialogTemplate();
  EXPECT_EQ(t.id, 131);
  EXPECT_EQ(t.caption, SJ("集計中"));
  EXPECT_EQ(Ids(t), (std::vector<int>{1018, 1019}));
  EXPECT_EQ(t.controls[0].style, style::kBorder | style::kSmooth);
  EXPECT_EQ(t.controls[1].style, style::kBorder);
  EXPECT_EQ(t.style, style::kPopup | style::kCaption | style::kModalFrame | style::kSystemModal);
  EXPECT_TRUE(t.commands.empty());
}

TEST(TemplatesTest, ControlsLieInsideTheirDialog) {
  for (const DialogTemplate* t : {&ConditionDialogTemplate(), &ProgressDialogTemplate()}) {
    EXPECT_EQ(Cp932ToUtf8(t->font), std::string("ＭＳ Ｐゴシック"));
    for (const ControlTemplate& c : t->controls) {
      EXPECT_TRUE(c.x >= 0 && c.y >= 0 && c.x + c.width <= t->width && c.y + c.height <= t->height)
          << c.id;
    }
  }
}

}  // namespace
}  // namespace pv14
