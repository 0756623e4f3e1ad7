#include "resources/Templates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/ConditionDialog.h"
#include "platform/Encoding.h"
#include "resources/ControlIds.h"
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
  EXPECT_EQ(t.id, ids::kConditionDialog);
  EXPECT_EQ(t.caption, SJ("所得税 - 集計条件"));
  using namespace ids;
  EXPECT_EQ(Ids(t), (std::vector<int>{kCompanyLabel, kCompanyColon, kCompanyText, kPeriodLabel,
                                      kPeriodColon, kPeriodText, kCostLabel, kCostColon, kCostText,
                                      kIncomeKindGroup, kBusinessRadio, kOtherRadio,
                                      kRealEstateRadio, kOutputGroup, kOutputPathEdit,
                                      kBrowseButton, kExecuteButton, kCancelButton}));
}

// The statics that show the user's data take an & as it is on every face
// and end in an ellipsis where cut; the captions keep their mnemonics.
TEST(TemplatesTest, OnlyDataStaticsTakeNoPrefixAndEllipsis) {
  const DialogTemplate& t = ConditionDialogTemplate();
  for (const ControlTemplate& c : t.controls) {
    if (c.kind != ControlKind::kStatic) continue;
    const bool data =
        c.id == ids::kCompanyText || c.id == ids::kPeriodText || c.id == ids::kCostText;
    EXPECT_EQ((c.style & style::kNoPrefix) != 0, data) << c.id;
    EXPECT_EQ((c.style & style::kEndEllipsis) != 0, data) << c.id;
  }
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

// What every face takes from the template: which radio buttons exclude each
// other, and where the focus goes first and after a group box's accelerator.
TEST(TemplatesTest, ConditionDialogRadioGroupAndTabStops) {
  using namespace ids;
  const DialogTemplate& t = ConditionDialogTemplate();
  const std::vector<int> kinds{kBusinessRadio, kOtherRadio, kRealEstateRadio};
  for (int id : kinds) EXPECT_EQ(t.RadioGroup(id), kinds) << id;
  EXPECT_TRUE(t.RadioGroup(kExecuteButton).empty());  // a group of its own
  EXPECT_TRUE(t.RadioGroup(4242).empty());

  auto all = [](int) { return true; };
  EXPECT_EQ(t.NextTabStop(0, all), kBusinessRadio);
  EXPECT_EQ(t.NextTabStop(0, [](int id) { return id != kBusinessRadio; }), kOtherRadio);
  EXPECT_EQ(t.NextTabStop(kOutputGroup, all), kOutputPathEdit);
  EXPECT_EQ(t.NextTabStop(kOutputGroup, [](int id) { return id != kOutputPathEdit; }),
            kBrowseButton);
  EXPECT_EQ(t.NextTabStop(0, [](int) { return false; }), 0);
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
  EXPECT_EQ(t.id, ids::kProgressDialog);
  EXPECT_EQ(t.caption, SJ("集計中"));
  EXPECT_EQ(Ids(t), (std::vector<int>{ids::kMainBar, ids::kActivityBar}));
  EXPECT_EQ(t.controls[0].style, style::kBorder | style::kSmooth);
  EXPECT_EQ(t.controls[1].style, style::kBorder);
  EXPECT_EQ(t.style, style::kPopup | style::kCaption | style::kModalFrame | style::kSystemModal);
  // No command; the bar the console shows is the main one.
  ASSERT_EQ(t.commands.size(), 1u);
  EXPECT_EQ(t.CommandTarget("percent"), ids::kMainBar);
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
