// The engine double must deliver exactly what a test scripts, or the tests
// built on it prove nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "collect/CollectedData.h"
#include "platform/TaskMem.h"
#include "tests/fakes/FakeEngine.h"

namespace pv14::testing {
namespace {

// Engine objects that own their state cannot be copied into a double delete.
template <class T>
constexpr bool kCopyable = std::is_copy_constructible_v<T> || std::is_copy_assignable_v<T>;
static_assert(!kCopyable<ClAccConnect> && !kCopyable<ClRuleAo> && !kCopyable<ClRuleSiro> &&
              !kCopyable<ClSaveAoSiro>);

class FakeEngineTest : public ::testing::Test {
 protected:
  void SetUp() override { FakeEngine::Get().Reset(); }
  FakeEngine& engine = FakeEngine::Get();
};

struct DeliveryCase {
  const char* name;
  int rows;
  std::optional<std::int32_t> count;
  std::optional<std::size_t> failAfter;
  std::int32_t failResult;
  std::int32_t expectedCount;
  std::vector<std::int32_t> expectedResults;  // first-row call, then next-row calls
};

class FakeEngineDeliveryTest : public FakeEngineTest,
                               public ::testing::WithParamInterface<DeliveryCase> {};

TEST_P(FakeEngineDeliveryTest, DeliversScriptedRowsThenTheScriptedEnd) {
  const DeliveryCase& c = GetParam();
  FakeList& list = engine.blue[0].PL;
  for (int i = 0; i < c.rows; ++i) list.rows.push_back(SumRow(i, 100 + i));
  list.count = c.count;
  list.failAfter = c.failAfter;
  list.failResult = c.failResult;

  ClRuleAo rule;
  StAOSUMCONDITION condition{};
  ASSERT_EQ(rule.Ready(&condition), 0);
  EXPECT_EQ(rule.GetCount_PL(RuleAoSumGeneral), c.expectedCount);
  std::vector<std::int32_t> results;
  StAOSUMINFO row{};
  results.push_back(rule.MoveFirst_PL(RuleAoSumGeneral, &row));
  for (std::size_t i = 1; i < c.expectedResults.size(); ++i) {
    results.push_back(rule.MoveNext_PL(RuleAoSumGeneral, &row));
  }
  EXPECT_EQ(results, c.expectedResults);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, FakeEngineDeliveryTest,
    ::testing::Values(DeliveryCase{"Empty", 0, {}, {}, 0, 0, {5000, 5000}},
                      DeliveryCase{"ThreeRows", 3, {}, {}, 0, 3, {0, 0, 0, 5000}},
                      DeliveryCase{"CountZeroButARow", 1, 0, {}, 0, 0, {0, 5000}},
                      DeliveryCase{"CountFiveButThreeRows", 3, 5, {}, 0, 5, {0, 0, 0, 5000, 5000}},
                      DeliveryCase{"SevenAfterThreeRows", 5, {}, 3, 7, 5, {0, 0, 0, 7, 7}},
                      DeliveryCase{"EndInjectedEarly", 5, {}, 2, 5000, 5, {0, 0, 5000}},
                      DeliveryCase{"FirstRowFails", 2, {}, 0, 9, 2, {9, 9}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FakeEngineTest, RowsAreRefusedBeforeTheRuleObjectIsReady) {
  engine.blue[0].PL.rows = {SumRow(1, 1)};
  ClRuleAo rule;
  StAOSUMINFO row{};
  EXPECT_EQ(rule.GetCount_PL(RuleAoSumGeneral), 0);
  EXPECT_NE(rule.MoveFirst_PL(RuleAoSumGeneral, &row), 0);
  engine.blueReadyResult = 3;
  StAOSUMCONDITION condition{};
  EXPECT_EQ(rule.Ready(&condition), 3);
  EXPECT_NE(rule.MoveFirst_PL(RuleAoSumGeneral, &row), 0);
}

TEST_F(FakeEngineTest, WhiteRowsCarryEveryField) {
  engine.white[1].rows = {SumRow(19, 42, "rent", 120000, 5)};
  ClRuleSiro rule;
  ASSERT_EQ(rule.Ready(), 0);
  StSIROSUMINFO row{};
  ASSERT_EQ(rule.MoveFirst_PL(RuleSiroSumRealEstate, &row), 0);
  EXPECT_EQ(row.LineNo, 19);
  EXPECT_EQ(row.Code, 42);
  EXPECT_STREQ(row.ItemName, "rent");
  EXPECT_EQ(row.ClosingBalance, 120000);
  EXPECT_EQ(row.OpeningBalance, 5);
  EXPECT_EQ(rule.MoveFirst_PL(RuleSiroSumGeneral, &row), 5000);
}

TEST_F(FakeEngineTest, SavedDetailsAreFreshBlocksAndTheIncomeListEnds) {
  engine.general.Basic->RealEstateIncome = 77;
  engine.general.Rent.reset();
  RealEstateIncomeRow income{};
  income.RowKey = 4;
  engine.realEstate.IncomeRows = {income, income};

  ClSaveAoSiro save;
  CollectedData store;  // owns and frees the blocks
  ASSERT_EQ(save.GetDataIppan(&store.GeneralSaveInfo), 0);
  ASSERT_EQ(save.GetDataFudousan(&store.RealEstateSaveInfo), 0);
  const StAOSIROSAVEINFO_IPPAN& general = store.GeneralSaveInfo;
  const StAOSIROSAVEINFO_FUDOUSAN& realEstate = store.RealEstateSaveInfo;
  ASSERT_NE(general.Basic, nullptr);
  EXPECT_EQ(general.Basic->RealEstateIncome, 77);
  EXPECT_EQ(general.Rent, nullptr);
  EXPECT_NE(general.Special, nullptr);
  EXPECT_NE(realEstate.Property, nullptr);
  ASSERT_EQ(CoTaskMemGetSize(realEstate.IncomeRows), 3 * sizeof(RealEstateIncomeRow));
  EXPECT_EQ(realEstate.IncomeRows[1].RowKey, 4);
  EXPECT_EQ(realEstate.IncomeRows[2].RowKey, kIncomeRowsEnd);
}

TEST_F(FakeEngineTest, AnUnendedIncomeListHoldsOnlyTheScriptedRows) {
  engine.realEstate.IncomeRows.resize(2);
  engine.realEstate.endIncomeRows = false;
  ClSaveAoSiro save;
  CollectedData store;
  ASSERT_EQ(save.GetDataFudousan(&store.RealEstateSaveInfo), 0);
  EXPECT_EQ(CoTaskMemGetSize(store.RealEstateSaveInfo.IncomeRows), 2 * sizeof(RealEstateIncomeRow));
}

TEST_F(FakeEngineTest, AFailedSavedDetailsReadLeavesTheMembersAlone) {
  engine.getDataIppanResult = 12;
  ClSaveAoSiro save;
  StAOSIROSAVEINFO_IPPAN general{};
  EXPECT_EQ(save.GetDataIppan(&general), 12);
  EXPECT_EQ(general.Basic, nullptr);
  EXPECT_EQ(general.SalesPurchases, nullptr);
}

TEST_F(FakeEngineTest, TheWalkDeliversDataSetsInOrderAndCanFailPartWay) {
  engine.dataSets = {DataInfo("A", 1, 3, 1), DataInfo("B", 2, 4, 3), DataInfo("C", 3, 3, 2)};
  engine.walkFailAfter = 2;
  ClSetData* sets = ClDataMgr::Inst()->GetSetObject(5, 1);
  ASSERT_NE(sets, nullptr);
  std::int32_t cursor = 0;
  ASSERT_EQ(sets->GetDatCursor(&cursor), 0);
  ASSERT_EQ(sets->ReadyDat(cursor, 0), 0);
  std::vector<std::int32_t> numbers;
  StDATAINFO record{};
  std::int32_t result;
  while ((result = sets->WalkDat(&record, cursor)) == 0) numbers.push_back(record.DataNo);
  EXPECT_EQ(result, engine.walkFailResult);
  EXPECT_EQ(numbers, (std::vector<std::int32_t>{1, 2}));
  EXPECT_EQ(engine.openCursors, 1);
  sets->ReleaseDatCursor(cursor);
  EXPECT_EQ(engine.openCursors, 0);
  EXPECT_EQ(ClDataMgr::Inst()->GetSetObject(5, 2), nullptr);
}

TEST_F(FakeEngineTest, TextsAreCutToTheCallersRoom) {
  engine.currentUserId = std::string(80, 'u');
  engine.appFolders[1] = "Z:\\a\\long\\folder\\";
  char user[65 + 1];
  std::memset(user, '#', sizeof user);
  ClDataMgr::Inst()->GetSysUserObject()->GetCurUserID(user);
  EXPECT_EQ(std::string(user), std::string(64, 'u'));
  EXPECT_EQ(user[65], '#');

  char folder[8 + 1];
  std::memset(folder, '#', sizeof folder);
  ClFileMgr::Inst()->GetAppFolderPath(1, folder, 8);
  EXPECT_EQ(std::string(folder), "Z:\\a\\lo");
  EXPECT_EQ(folder[8], '#');
}

TEST_F(FakeEngineTest, RecordsCallsAndObjectLifetimes) {
  ClAccConnect::Inst()->SetAppType(3);
  ClAccConnect::Inst()->DispMsg(5, "text", "caption", 0x30);
  {
    auto rule = std::make_unique<ClRuleSiro>();
    EXPECT_EQ(engine.liveRuleSiro, 1);
  }
  ClAccConnect::Inst()->LogOut();
  EXPECT_EQ(engine.calls,
            (std::vector<std::string>{"SetAppType 3", "DispMsg text", "new ClRuleSiro",
                                      "delete ClRuleSiro", "LogOut"}));
  EXPECT_EQ(engine.liveRuleSiro, 0);
  ASSERT_EQ(engine.messages.size(), 1u);
  EXPECT_EQ(engine.messages[0].owner, 5u);
  EXPECT_EQ(engine.messages[0].caption, "caption");
  EXPECT_EQ(engine.messages[0].style, 0x30u);
}

}  // namespace
}  // namespace pv14::testing
