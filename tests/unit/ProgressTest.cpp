// The progress dialog over the recording window: how far the main bar moves,
// when the caption changes, and that the activity bar always ends full; and
// the milestones the collector and the writer pass through the interface.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "collect/CollectedData.h"
#include "collect/Progress.h"
#include "collect/ReportCollector.h"
#include "dialogs/ProgressDialog.h"
#include "resources/Text.h"
#include "tests/fakes/FakeEngine.h"
#include "tests/fakes/FakeUi.h"
#include "tests/unit/ReportFixture.h"

namespace pv14 {
namespace {

using testing::BarRecord;
using testing::FakeEngine;
using testing::SumRow;

std::string Percent(int value) { return SJ("集計中 ") + std::to_string(value) + SJ("％"); }

class ProgressTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeEngine::Get().Reset();
    ASSERT_TRUE(progress.Create());
    progress.Start();
  }

  BarRecord Main() { return ui.progress().Bar(ProgressDialog::kMainBar); }
  BarRecord Activity() { return ui.progress().Bar(ProgressDialog::kActivityBar); }

  // What the report writer asks for after a collection, from base 500.
  void WriterAdvances() {
    progress.Advance(500, 600);
    progress.Advance(600, 700);
    progress.Advance(700, 1000);
  }

  testing::FakeUi ui;
  ProgressDialog progress{ui};
};

struct AdvanceCase {
  const char* name;
  std::int16_t from;
  std::int16_t to;
  int steps;
  std::vector<int> captions;  // percentages shown, in order
};

class ProgressAdvanceTest : public ProgressTest,
                            public ::testing::WithParamInterface<AdvanceCase> {};

TEST_P(ProgressAdvanceTest, StepsOncePerValueBothEndsIncluded) {
  const AdvanceCase& c = GetParam();
  progress.Advance(c.from, c.to);
  EXPECT_EQ(Main().deltaPosCalls, c.steps);
  EXPECT_EQ(Main().pos, std::min(c.steps, 1000));
  std::vector<std::string> expected;
  for (int percent : c.captions) expected.push_back(Percent(percent));
  EXPECT_EQ(ui.progress().captions, expected);
  // One pump per step, and nothing at all for an empty range.
  EXPECT_EQ(ui.progress().bringToTopCalls, 6 * c.steps);
  EXPECT_EQ(Activity().setRangeCalls, c.steps);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, ProgressAdvanceTest,
    ::testing::Values(AdvanceCase{"OneValueOnATen", 300, 300, 1, {30}},
                      AdvanceCase{"NineValuesWithoutATen", 701, 709, 9, {}},
                      AdvanceCase{"FromAboveTo", 710, 700, 0, {}},
                      AdvanceCase{"CollectionStart", 100, 300, 201, {10, 11, 12, 13, 14, 15, 16,
                                                                     17, 18, 19, 20, 21, 22, 23,
                                                                     24, 25, 26, 27, 28, 29, 30}},
                      AdvanceCase{"FromZero", 0, 25, 26, {0, 1, 2}},
                      AdvanceCase{"NegativeValues", -12, -9, 4, {-1}},
                      AdvanceCase{"UpToTheLargestValue", 32760, 32767, 8, {3276}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProgressTest, EveryPumpLeavesTheActivityBarFull) {
  for (int i = 0; i < 3; ++i) {
    progress.Pump();
    const BarRecord activity = Activity();
    EXPECT_EQ(activity.low, 0);
    EXPECT_EQ(activity.high, 5);
    EXPECT_EQ(activity.step, 1);
    EXPECT_EQ(activity.pos, 5);
    EXPECT_EQ(activity.heldAtEnd, i + 1);  // the sixth step of each pump
  }
  EXPECT_EQ(ui.progress().setForegroundCalls, 18);
  EXPECT_EQ(Main().deltaPosCalls, 0);
}

TEST_F(ProgressTest, StartPutsTheMainBarBackAtZero) {
  progress.Advance(1, 40);
  progress.Start();
  const BarRecord main = Main();
  EXPECT_EQ(main.low, 0);
  EXPECT_EQ(main.high, 1000);
  EXPECT_EQ(main.step, 1);
  EXPECT_EQ(main.pos, 0);
}

TEST_F(ProgressTest, WindowComesFromTemplate131AndClosesWithOne) {
  ProgressDialog dialog(ui);
  EXPECT_EQ(dialog.Handle(), kNoWindow);
  ASSERT_TRUE(dialog.Create());
  testing::ProgressRecord& window = ui.progress();
  EXPECT_EQ(window.templateId, 131);
  EXPECT_EQ(window.caption, SJ("集計中"));
  EXPECT_EQ(dialog.Handle(), window.handle);
  EXPECT_FALSE(window.visible);
  dialog.SetParent(1234);
  dialog.Show();
  EXPECT_EQ(window.parent, 1234u);
  EXPECT_TRUE(window.visible);
  dialog.Close();
  EXPECT_EQ(window.closedWith, 1);
}

TEST_F(ProgressTest, WithoutAWindowEveryCallIsHarmless) {
  testing::FakeUi refusing;
  refusing.failProgressWindow = true;
  for (bool create : {false, true}) {
    ProgressDialog dialog(refusing);
    if (create) {
      EXPECT_FALSE(dialog.Create());
    }
    dialog.SetParent(5);
    dialog.Show();
    dialog.Start();
    dialog.Advance(0, 1000);
    dialog.Pump();
    dialog.Close();
    EXPECT_EQ(dialog.Handle(), kNoWindow);
  }
  EXPECT_TRUE(refusing.progressWindows.empty());
}

// ------------------------------------------------------- whole runs

struct RunCase {
  const char* name;
  std::uint8_t returnKind;
  std::int16_t incomeKind;
  bool readyFails;
  int finalPos;
};

class ProgressRunTest : public ProgressTest, public ::testing::WithParamInterface<RunCase> {};

TEST_P(ProgressRunTest, CollectionAndWritingMoveTheBarTo) {
  const RunCase& c = GetParam();
  FakeEngine& engine = FakeEngine::Get();
  engine.blue[0].PL.rows = {SumRow(1, 1), SumRow(2, 2)};
  engine.blue[1].PL.rows = {SumRow(1, 1), SumRow(21, 2, "", 5)};
  engine.white[0].rows = {SumRow(1, 1)};
  engine.blueReadyResult = c.readyFails ? 3 : 0;
  engine.whiteReadyResult = c.readyFails ? 3 : 0;
  {
    CollectedData data;
    ReportCollector collector(&progress, &data);
    collector.Collect(testing::DataInfo("D1", 5, c.returnKind, 3), c.incomeKind);
  }
  WriterAdvances();
  EXPECT_EQ(Main().pos, c.finalPos);
  EXPECT_EQ(ui.progress().captions.back(), Percent(100));
  EXPECT_EQ(Activity().pos, 5);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, ProgressRunTest,
    ::testing::Values(RunCase{"BlueGeneral", kBlueReturn, 1, false, 906},
                      RunCase{"BlueRealEstate", kBlueReturn, 3, false, 906},
                      RunCase{"WhiteGeneral", kWhiteReturn, 2, false, 906},
                      RunCase{"BlueStopsAfterItsFirstAdvance", kBlueReturn, 1, true, 704},
                      RunCase{"WhiteStopsAfterItsFirstAdvance", kWhiteReturn, 3, true, 704},
                      RunCase{"NothingCollected", 0, 1, false, 503}),
    [](const auto& info) { return std::string(info.param.name); });

// ------------------------------------------------ through the interface

// A Progress that keeps every advance as "from-to".
class RecordingProgress : public Progress {
 public:
  void Advance(std::int16_t from, std::int16_t to) override {
    advances.push_back(std::to_string(from) + "-" + std::to_string(to));
  }
  void Pump() override { ++pumps; }

  std::vector<std::string> advances;
  int pumps = 0;
};

struct MilestoneCase {
  const char* name;
  std::uint8_t returnKind;
  std::int16_t incomeKind;
  bool readyFails;
  int written;  // the writer's result
  std::vector<std::string> advances;
};

class ProgressMilestoneTest : public ::testing::TestWithParam<MilestoneCase> {};

// The collector and the writer of one run, as the application hands them
// one progress: their advances meet at the milestones, from the start of
// collection to the end of the bar.
TEST_P(ProgressMilestoneTest, CollectorAndWriterAdvanceFromMilestoneToMilestone) {
  const MilestoneCase& c = GetParam();
  FakeEngine& engine = FakeEngine::Get();
  engine.Reset();
  // Enough rows for every section of the report, the deduction's income
  // row among them.
  for (int line = 1; line <= 50; ++line) engine.blue[0].PL.rows.push_back(SumRow(line, line));
  engine.white[1].rows = {SumRow(1, 1)};
  engine.blueReadyResult = c.readyFails ? 3 : 0;
  const StDATAINFO record = testing::DataInfo("D1", 5, c.returnKind, 3);
  RecordingProgress recorder;
  CollectedData data;
  ReportCollector(&recorder, &data).Collect(record, c.incomeKind);
  const int collectionPumps = recorder.pumps;

  testing::ReportTestEnv env;
  testing::MemoryFile report;
  env.report = &report;
  ReportWriter writer(env, &recorder, data, c.incomeKind,
                      testing::TestEdition().defaultProductName);
  writer.SetProgressBase(progress::kWriteBase);
  EXPECT_EQ(writer.WriteReport("Z:\\r.xml", 1, record), c.written);
  EXPECT_EQ(recorder.advances, c.advances);
  EXPECT_GT(recorder.pumps, collectionPumps);
}

const std::vector<std::string> kWholeRun = {"100-300", "300-400", "400-500",
                                            "500-600", "600-700", "700-1000"};

INSTANTIATE_TEST_SUITE_P(
    Runs, ProgressMilestoneTest,
    ::testing::Values(MilestoneCase{"BlueGeneral", kBlueReturn, 1, false, 1, kWholeRun},
                      MilestoneCase{"WhiteRealEstate", kWhiteReturn, 3, false, 1, kWholeRun},
                      // No rows to write the statement from: the DATA block
                      // fails, and its advance to the end with it.
                      MilestoneCase{"CollectionStoppedAtItsEngine",
                                    kBlueReturn,
                                    1,
                                    true,
                                    0,
                                    {"100-300", "500-600", "600-700"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProgressTest, EveryRowCollectedIsPumped) {
  FakeEngine& engine = FakeEngine::Get();
  engine.white[1].rows = {SumRow(1, 1), SumRow(2, 2), SumRow(3, 3)};
  CollectedData data;
  ReportCollector collector(&progress, &data);
  collector.Collect(testing::DataInfo("D1", 5, kWhiteReturn, 2), 3);
  // 403 steps of the main bar, each with its pump, and one pump per row.
  EXPECT_EQ(Main().deltaPosCalls, 403);
  EXPECT_EQ(Activity().setRangeCalls, 403 + 3);
}

}  // namespace
}  // namespace pv14
