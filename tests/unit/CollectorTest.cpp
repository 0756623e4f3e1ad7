// The collector against the engine double: which lists land in the store,
// in which order, re-coded how, and what a failure part-way leaves behind.
#include <gtest/gtest.h>

#include <cstring>
#include <memory_resource>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "collect/CollectedData.h"
#include "collect/ReportCollector.h"
#include "dialogs/ProgressDialog.h"
#include "tests/fakes/FakeEngine.h"
#include "tests/fakes/FakeUi.h"

namespace pv14 {
namespace {

using testing::FakeEngine;
using testing::FakeList;
using testing::SumRow;

// Each list gets four rows whose LineNo values are the ones some list
// re-codes (1, 24, 37, 19) and whose codes tell the list apart.
void FillList(FakeList& list, std::int32_t base) {
  list.rows = {SumRow(1, base + 11), SumRow(24, base + 12), SumRow(37, base + 13),
               SumRow(19, base + 14)};
}

void ScriptEveryList() {
  FakeEngine& engine = FakeEngine::Get();
  FillList(engine.blue[0].PL, 1000);
  FillList(engine.blue[0].BS_Shisan, 2000);
  FillList(engine.blue[0].BS_FusaiShihon, 3000);
  FillList(engine.blue[0].SeizoGenka, 4000);
  FillList(engine.blue[1].PL, 5000);
  FillList(engine.blue[1].BS_Shisan, 6000);
  FillList(engine.blue[1].BS_FusaiShihon, 7000);
  FillList(engine.white[0], 8000);
  FillList(engine.white[1], 9000);
}

std::vector<std::int32_t> StoredCodes(const CollectedData& data) {
  std::vector<std::int32_t> codes;
  for (const SumRecord& row : data.SumRows) codes.push_back(row.Code);
  return codes;
}

bool AllZero(const void* bytes, std::size_t size) {
  const auto* p = static_cast<const unsigned char*>(bytes);
  for (std::size_t i = 0; i < size; ++i) {
    if (p[i] != 0) return false;
  }
  return true;
}

class CollectorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine.Reset();
    engine.selectedInfo = testing::DataInfo("D1", 5, kBlueReturn, 3);
    progress.Create();
    progress.Start();
  }

  int Collect(std::uint8_t returnKind, std::int16_t incomeKind, std::uint8_t scope = 1) {
    return collector.Collect(testing::DataInfo("D1", 5, returnKind, scope), incomeKind);
  }

  FakeEngine& engine = FakeEngine::Get();
  testing::FakeUi ui;
  ProgressDialog progress{ui};
  CollectedData data;
  ReportCollector collector{&progress, &data};
};

// ------------------------------------------------------- what is collected

struct DispatchCase {
  const char* name;
  std::uint8_t returnKind;
  std::int16_t incomeKind;
  int result;
  std::vector<std::int32_t> codes;  // SumRows in order
};

class CollectorDispatchTest : public CollectorTest,
                              public ::testing::WithParamInterface<DispatchCase> {};

TEST_P(CollectorDispatchTest, StoresTheListsOfTheFormInOrderAndReCoded) {
  const DispatchCase& c = GetParam();
  ScriptEveryList();
  EXPECT_EQ(Collect(c.returnKind, c.incomeKind), c.result);
  EXPECT_EQ(StoredCodes(data), c.codes);
  EXPECT_NE(data.GeneralSaveInfo.Basic, nullptr);  // read whatever the form
  EXPECT_NE(data.RealEstateSaveInfo.Property, nullptr);
}

const std::vector<std::int32_t> kBlueGeneral = {
    101,  1012, 1013, 1014,  // profit and loss: LineNo 1 becomes 101
    2011, 2012, 2013, 2014,  // assets
    3011, 999,  3013, 3014,  // liabilities and capital: LineNo 24 becomes 999
    4011, 4012, 4013, 4014,  // cost of manufacture
};
const std::vector<std::int32_t> kBlueRealEstate = {
    5011, 5012, 5013, 5014,  // profit and loss, no re-coding
    6011, 6012, 6013, 6014,  // assets
    7011, 999,  7013, 7014,  // liabilities and capital
};

INSTANTIATE_TEST_SUITE_P(
    Forms, CollectorDispatchTest,
    ::testing::Values(DispatchCase{"BlueBusiness", kBlueReturn, 1, 1, kBlueGeneral},
                      DispatchCase{"BlueOther", kBlueReturn, 2, 1, kBlueGeneral},
                      DispatchCase{"BlueRealEstate", kBlueReturn, 3, 1, kBlueRealEstate},
                      DispatchCase{"WhiteBusiness", kWhiteReturn, 1, 1, {8011, 8012, 998, 8014}},
                      DispatchCase{"WhiteOther", kWhiteReturn, 2, 1, {8011, 8012, 998, 8014}},
                      DispatchCase{"WhiteRealEstate", kWhiteReturn, 3, 1, {9011, 9012, 9013, 998}},
                      DispatchCase{"BlueUnknownIncomeKind", kBlueReturn, 0, 1, {}},
                      DispatchCase{"WhiteUnknownIncomeKind", kWhiteReturn, 4, 1, {}},
                      DispatchCase{"NoReturnKind", 0, 1, 0, {}},
                      DispatchCase{"UnknownReturnKind", 5, 3, 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CollectorTest, MonthlyTotalsComeOnlyWithBlueGeneralData) {
  engine.monthlyTotals.Sales[0] = 10;
  engine.monthlyTotals.Purchases[11] = 20;
  struct Case {
    std::uint8_t returnKind;
    std::int16_t incomeKind;
    bool filled;
  };
  for (const Case& c : {Case{kBlueReturn, 1, true}, Case{kBlueReturn, 3, false},
                        Case{kWhiteReturn, 1, false}, Case{kWhiteReturn, 3, false}}) {
    CollectedData store;
    ReportCollector fresh(nullptr, &store);
    fresh.Collect(testing::DataInfo("D1", 5, c.returnKind, 1), c.incomeKind);
    SCOPED_TRACE(std::to_string(c.returnKind) + "/" + std::to_string(c.incomeKind));
    if (c.filled) {
      EXPECT_EQ(store.MonthlyTotals.Sales[0], 10);
      EXPECT_EQ(store.MonthlyTotals.Purchases[11], 20);
    } else {
      EXPECT_TRUE(AllZero(&store.MonthlyTotals, sizeof store.MonthlyTotals));
    }
  }
}

TEST_F(CollectorTest, EngineObjectsWorkOnTheSelectedDataSet) {
  Collect(kBlueReturn, 1);
  EXPECT_EQ(engine.CountOf("ClSaveAoSiro::SetCurDataID D1"), 1);
  EXPECT_EQ(engine.CountOf("ClSaveAoSiro::AttachSetMgr"), 1);
  EXPECT_EQ(engine.CountOf("ClRuleAo::SetCurDataID D1"), 1);
  EXPECT_EQ(engine.CountOf("ClRuleAo::AttachSetMgr"), 1);
  EXPECT_EQ(engine.CountOf("ClRuleAo::AttachOptLink"), 1);
  EXPECT_TRUE(engine.CallsStartingWith("ClRuleAo::AttachSetMgr (").empty());

  ASSERT_TRUE(engine.lastCondition.has_value());
  EXPECT_EQ(engine.lastCondition->Bytes[0], 0xFF);
  EXPECT_TRUE(AllZero(engine.lastCondition->Bytes + 1, sizeof engine.lastCondition->Bytes - 1));
}

TEST_F(CollectorTest, WithoutASelectedRecordTheDataIdIsEmpty) {
  for (bool missingSets : {false, true}) {
    engine.Reset();
    engine.setObjectMissing = missingSets;
    CollectedData store;
    ReportCollector fresh(nullptr, &store);
    EXPECT_EQ(fresh.Collect(testing::DataInfo("X", 1, kWhiteReturn, 1), 1), 1);
    EXPECT_EQ(engine.CountOf("ClSaveAoSiro::SetCurDataID "), 1) << missingSets;
    EXPECT_EQ(engine.CountOf("ClRuleSiro::SetCurDataID "), 1) << missingSets;
  }
}

TEST_F(CollectorTest, ListsAreCountedBeforeAnyIsCopied) {
  Collect(kBlueReturn, 1);
  const int lastCount = engine.IndexOf("ClRuleAo::GetCount_SeizoGenka");
  ASSERT_GE(lastCount, 0);
  EXPECT_LT(engine.IndexOf("ClRuleAo::Ready"), engine.IndexOf("ClRuleAo::GetCount_PL 0"));
  EXPECT_LT(lastCount, engine.IndexOf("ClRuleAo::MoveFirst_PL 0"));
  EXPECT_LT(engine.IndexOf("ClSaveAoSiro::GetDataFudousan"), engine.IndexOf("new ClRuleAo"));
}

// ------------------------------------------------------- copying one list

struct CopyCase {
  const char* name;
  int rows;
  std::optional<std::int32_t> count;
  std::optional<std::size_t> failAfter;
  std::int32_t failResult;
  int stored;           // rows of the list that reach the store
  bool listsAfterward;  // the next list is still copied
};

class CollectorCopyTest : public CollectorTest, public ::testing::WithParamInterface<CopyCase> {};

TEST_P(CollectorCopyTest, StoresAtMostCountRowsAndKeepsThemOnFailure) {
  const CopyCase& c = GetParam();
  FakeList& profit = engine.blue[0].PL;
  for (int i = 0; i < c.rows; ++i) profit.rows.push_back(SumRow(50, 1000 + i));
  profit.count = c.count;
  profit.failAfter = c.failAfter;
  profit.failResult = c.failResult;
  engine.blue[0].BS_Shisan.rows = {SumRow(50, 2000)};

  EXPECT_EQ(Collect(kBlueReturn, 1), 1);
  std::vector<std::int32_t> expected;
  for (int i = 0; i < c.stored; ++i) expected.push_back(1000 + i);
  if (c.listsAfterward) expected.push_back(2000);
  EXPECT_EQ(StoredCodes(data), expected);
  // The monthly totals follow only a complete sequence.
  EXPECT_EQ(engine.CountOf("ClRuleAo::GetTsukibetsuUriageShiire"), c.listsAfterward ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CollectorCopyTest,
    ::testing::Values(CopyCase{"AllRows", 4, {}, {}, 0, 4, true},
                      CopyCase{"CountZeroButAFirstRow", 1, 0, {}, 0, 0, true},
                      CopyCase{"NegativeCount", 2, -1, {}, 0, 0, true},
                      CopyCase{"AtMostCountRows", 5, 3, {}, 0, 3, true},
                      CopyCase{"CountBeyondTheRows", 3, 5, {}, 0, 3, true},
                      CopyCase{"FailureAfterThreeKeepsThem", 5, {}, 3, 7, 3, false},
                      CopyCase{"EndInjectedAfterThree", 5, {}, 3, 5000, 3, true},
                      CopyCase{"FailureFetchingPastTheCount", 3, 3, 3, 7, 3, false},
                      CopyCase{"FirstRowFails", 2, {}, 0, 7, 0, false},
                      CopyCase{"NoFirstRowDespiteACount", 0, 2, {}, 0, 0, true}),
    [](const auto& info) { return std::string(info.param.name); });

// ------------------------------------------------------ out of memory

// Row memory that refuses its n-th allocation (from 1), as a full memory
// would; every other allocation is an ordinary one.
class RefusingMemory : public std::pmr::memory_resource {
 public:
  explicit RefusingMemory(int refuseAt) : refuseAt_(refuseAt) {}

 private:
  void* do_allocate(std::size_t bytes, std::size_t alignment) override {
    if (++allocations_ == refuseAt_) throw std::bad_alloc();
    return std::pmr::new_delete_resource()->allocate(bytes, alignment);
  }
  void do_deallocate(void* p, std::size_t bytes, std::size_t alignment) override {
    std::pmr::new_delete_resource()->deallocate(p, bytes, alignment);
  }
  bool do_is_equal(const memory_resource& other) const noexcept override { return this == &other; }

  int refuseAt_;
  int allocations_ = 0;
};

struct AllocationCase {
  const char* name;
  std::uint8_t returnKind;
  std::int16_t incomeKind;
  int refuseRowAt;                   // 0: every row copy is allocated
  std::vector<std::string> failNew;  // engine objects that cannot be made
  int result;
  std::vector<std::int32_t> codes;  // what stays in the store
};

class CollectorAllocationTest : public ::testing::TestWithParam<AllocationCase> {};

// Each allocation on the collector's way fails in turn: the collection ends
// cleanly with what was stored before, the engine objects made are deleted,
// and (under AddressSanitizer) nothing leaks.
TEST_P(CollectorAllocationTest, EndsCleanlyWithWhatWasStored) {
  const AllocationCase& c = GetParam();
  FakeEngine& engine = FakeEngine::Get();
  engine.Reset();
  engine.selectedInfo = testing::DataInfo("D1", 5, c.returnKind, 3);
  ScriptEveryList();
  engine.failNew = c.failNew;
  RefusingMemory memory(c.refuseRowAt);
  {
    CollectedData data(&memory);
    {
      ReportCollector collector(nullptr, &data);
      EXPECT_EQ(collector.Collect(testing::DataInfo("D1", 5, c.returnKind, 3), c.incomeKind),
                c.result);
      EXPECT_EQ(StoredCodes(data), c.codes);
    }
    EXPECT_EQ(engine.liveRuleAo + engine.liveRuleSiro + engine.liveSaveAoSiro, 0);
    // The monthly totals come only after a whole blue general sequence.
    const bool whole = c.codes.size() == 16;
    EXPECT_EQ(engine.CountOf("ClRuleAo::GetTsukibetsuUriageShiire"), whole ? 1 : 0);
  }
}

const std::vector<std::int32_t> kProfitRows = {101, 1012, 1013, 1014};

std::vector<std::int32_t> FirstOf(const std::vector<std::int32_t>& codes, std::size_t n) {
  return {codes.begin(), codes.begin() + n};
}

INSTANTIATE_TEST_SUITE_P(
    Paths, CollectorAllocationTest,
    ::testing::Values(
        AllocationCase{"NothingRefused", kBlueReturn, 1, 0, {}, 1, kBlueGeneral},
        AllocationCase{"FirstProfitRow", kBlueReturn, 1, 1, {}, 1, {}},
        AllocationCase{"ThirdProfitRow", kBlueReturn, 1, 3, {}, 1, FirstOf(kBlueGeneral, 2)},
        AllocationCase{"FirstAssetRow", kBlueReturn, 1, 5, {}, 1, FirstOf(kBlueGeneral, 4)},
        AllocationCase{"LiabilityRow", kBlueReturn, 1, 10, {}, 1, FirstOf(kBlueGeneral, 9)},
        AllocationCase{"LastCostRow", kBlueReturn, 1, 16, {}, 1, FirstOf(kBlueGeneral, 15)},
        AllocationCase{"RealEstateRow", kBlueReturn, 3, 6, {}, 1, FirstOf(kBlueRealEstate, 5)},
        AllocationCase{"WhiteRow", kWhiteReturn, 2, 2, {}, 1, {8011}},
        AllocationCase{"BlueRuleObject", kBlueReturn, 1, 0, {"ClRuleAo"}, 1, {}},
        AllocationCase{"WhiteRuleObject", kWhiteReturn, 3, 0, {"ClRuleSiro"}, 1, {}},
        AllocationCase{"SaveObject", kBlueReturn, 1, 0, {"ClSaveAoSiro"}, 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CollectorTest, AFailedReadyLeavesTheListEmpty) {
  ScriptEveryList();
  struct Case {
    std::uint8_t returnKind;
    std::int16_t incomeKind;
  };
  for (const Case& c :
       {Case{kBlueReturn, 1}, Case{kBlueReturn, 3}, Case{kWhiteReturn, 1}, Case{kWhiteReturn, 3}}) {
    engine.blueReadyResult = 3;
    engine.whiteReadyResult = 3;
    CollectedData store;
    ReportCollector fresh(nullptr, &store);
    EXPECT_EQ(fresh.Collect(testing::DataInfo("D1", 5, c.returnKind, 3), c.incomeKind), 1);
    EXPECT_TRUE(store.SumRows.empty());
    EXPECT_NE(store.GeneralSaveInfo.Basic, nullptr);
  }
  EXPECT_EQ(engine.CountOf("ClRuleAo::GetTsukibetsuUriageShiire"), 0);
}

// ------------------------------------------------------- saved details

TEST_F(CollectorTest, AFailedGeneralDetailsReadStopsBeforeTheRest) {
  ScriptEveryList();
  engine.getDataIppanResult = 4;
  EXPECT_EQ(Collect(kBlueReturn, 1), 0);
  EXPECT_EQ(engine.CountOf("ClSaveAoSiro::GetDataFudousan"), 0);
  EXPECT_TRUE(data.SumRows.empty());
  EXPECT_EQ(data.GeneralSaveInfo.Basic, nullptr);
  EXPECT_EQ(engine.liveRuleAo, 0);
}

TEST_F(CollectorTest, AFailedRealEstateDetailsReadKeepsTheGeneralBlocks) {
  ScriptEveryList();
  engine.getDataFudousanResult = 4;
  EXPECT_EQ(Collect(kWhiteReturn, 1), 0);
  EXPECT_TRUE(data.SumRows.empty());
  EXPECT_NE(data.GeneralSaveInfo.Basic, nullptr);
  EXPECT_EQ(data.RealEstateSaveInfo.Basic, nullptr);
  EXPECT_EQ(engine.liveRuleSiro, 0);
}

TEST_F(CollectorTest, WithoutAStoreNothingIsAsked) {
  ReportCollector orphan(&progress, nullptr);
  EXPECT_EQ(orphan.Collect(testing::DataInfo("D1", 5, kBlueReturn, 3), 1), 0);
  EXPECT_TRUE(engine.calls.empty());
}

TEST_F(CollectorTest, CollectingAgainReplacesTheBlocksWithoutLosingThem) {
  engine.general.Basic->RealEstateIncome = 1;
  Collect(kWhiteReturn, 1);
  engine.general.Basic->RealEstateIncome = 2;
  Collect(kWhiteReturn, 1);
  ASSERT_NE(data.GeneralSaveInfo.Basic, nullptr);
  EXPECT_EQ(data.GeneralSaveInfo.Basic->RealEstateIncome, 2);
  // The first blocks were freed on the way: the sanitizer build says so.
}

TEST_F(CollectorTest, ReleaseEmptiesTheStore) {
  ScriptEveryList();
  engine.realEstate.IncomeRows.resize(3);
  Collect(kBlueReturn, 1, 3);
  ASSERT_FALSE(data.SumRows.empty());
  data.Release();
  EXPECT_TRUE(data.SumRows.empty());
  EXPECT_TRUE(AllZero(&data.GeneralSaveInfo, sizeof data.GeneralSaveInfo));
  EXPECT_TRUE(AllZero(&data.RealEstateSaveInfo, sizeof data.RealEstateSaveInfo));
}

// ------------------------------------------------------- real-estate income

struct TransferCase {
  const char* name;
  std::uint8_t scope;
  std::vector<StAOSUMINFO> rows;  // real-estate profit and loss
  std::optional<std::int32_t> count;
  std::int32_t monthlyResult;
  std::int64_t income;  // RealEstateIncome afterwards; the engine gave 55
};

class CollectorTransferTest : public CollectorTest,
                              public ::testing::WithParamInterface<TransferCase> {};

TEST_P(CollectorTransferTest, TakesTheIncomeLineAfterTheFirstRow) {
  const TransferCase& c = GetParam();
  engine.general.Basic->RealEstateIncome = 55;
  engine.blue[1].PL.rows = c.rows;
  engine.blue[1].PL.count = c.count;
  engine.monthlyTotalsResult = c.monthlyResult;
  FillList(engine.blue[0].PL, 1000);

  EXPECT_EQ(Collect(kBlueReturn, 1, c.scope), 1);
  ASSERT_NE(data.GeneralSaveInfo.Basic, nullptr);
  EXPECT_EQ(data.GeneralSaveInfo.Basic->RealEstateIncome, c.income);
  EXPECT_EQ(data.SumRows.size(), 4u);  // the walk stores nothing
}

const std::vector<StAOSUMINFO> kIncomeRows = {SumRow(21, 1, "", 111), SumRow(5, 2, "", 999),
                                              SumRow(21, 3, "", 222), SumRow(21, 4, "", 333)};

INSTANTIATE_TEST_SUITE_P(
    Cases, CollectorTransferTest,
    ::testing::Values(TransferCase{"BothStatements", 3, kIncomeRows, {}, 0, 222},
                      TransferCase{"GeneralOnly", 1, kIncomeRows, {}, 0, 55},
                      TransferCase{"RealEstateOnly", 2, kIncomeRows, {}, 0, 55},
                      TransferCase{"CountStopsTheWalk", 3, kIncomeRows, 1, 0, 55},
                      TransferCase{"CountReachesTheLine", 3, kIncomeRows, 2, 0, 222},
                      TransferCase{"OnlyTheFirstRowHasIt", 3, {SumRow(21, 1, "", 111)}, {}, 0, 55},
                      TransferCase{"NoRows", 3, {}, {}, 0, 55},
                      TransferCase{"MonthlyTotalsFailed", 3, kIncomeRows, {}, 4, 55}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CollectorTest, TransferWithoutABasicBlockWritesNothing) {
  engine.general.Basic.reset();
  engine.blue[1].PL.rows = kIncomeRows;
  EXPECT_EQ(Collect(kBlueReturn, 1, 3), 1);
  EXPECT_EQ(data.GeneralSaveInfo.Basic, nullptr);
  EXPECT_GE(engine.CountOf("ClRuleAo::MoveNext_PL 1"), 2);
}

TEST_F(CollectorTest, AFailedBlueSequenceSkipsTotalsAndTransfer) {
  engine.general.Basic->RealEstateIncome = 55;
  engine.blue[1].PL.rows = kIncomeRows;
  engine.blue[0].SeizoGenka.rows = {SumRow(1, 1)};
  engine.blue[0].SeizoGenka.failAfter = 1;
  EXPECT_EQ(Collect(kBlueReturn, 1, 3), 1);
  EXPECT_EQ(engine.CountOf("ClRuleAo::GetTsukibetsuUriageShiire"), 0);
  EXPECT_EQ(engine.CountOf("ClRuleAo::GetCount_PL 1"), 0);
  EXPECT_EQ(data.GeneralSaveInfo.Basic->RealEstateIncome, 55);
  EXPECT_EQ(data.SumRows.size(), 1u);  // the cost row fetched before the failure
}

// ------------------------------------------------------- finding rows

struct FindCase {
  const char* name;
  std::int32_t key;
  std::int16_t mode;
  int found;
  std::int32_t code;  // of the copied row; 0x5A5A5A5A when untouched
};

class CollectorFindRowTest : public CollectorTest,
                             public ::testing::WithParamInterface<FindCase> {};

TEST_P(CollectorFindRowTest, FindsByCodeOrPosition) {
  const FindCase& c = GetParam();
  // Code 77 in profit and loss (second row) and in both balance-sheet lists.
  engine.blue[0].PL.rows = {SumRow(1, 5, "sales"), SumRow(2, 77, "profit")};
  engine.blue[0].BS_Shisan.rows = {SumRow(3, 77, "assets")};
  engine.blue[0].BS_FusaiShihon.rows = {SumRow(24, 77, "capital"), SumRow(25, 77, "debts")};
  Collect(kBlueReturn, 1);
  ASSERT_EQ(data.SumRows.size(), 5u);

  SumRecord record;
  std::memset(&record, 0x5A, sizeof record);
  EXPECT_EQ(data.FindRow(c.key, c.mode, &record), c.found);
  EXPECT_EQ(record.Code, c.code);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CollectorFindRowTest,
    ::testing::Values(FindCase{"SharedCodeGivesTheFirstStored", 77, 0, 1, 77},
                      FindCase{"LineOneIsFoundByItsNewCode", 101, 0, 1, 101},
                      FindCase{"LiabilityLineIsFoundByItsNewCode", 999, 0, 1, 999},
                      FindCase{"EngineCodeOfARecodedRowIsGone", 5, 0, 0, 0x5A5A5A5A},
                      FindCase{"PositionOneIsTheFirstProfitRow", 1, 1, 1, 101},
                      FindCase{"LastPosition", 5, 1, 1, 77},
                      FindCase{"BeyondTheCount", 6, 1, 0, 0x5A5A5A5A},
                      FindCase{"PositionZero", 0, 1, 0, 0x5A5A5A5A},
                      FindCase{"UnknownMode", 1, 2, 0, 0x5A5A5A5A}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CollectorTest, FindRowDistinguishesRowsSharingACode) {
  engine.blue[0].PL.rows = {SumRow(2, 77, "profit")};
  engine.blue[0].BS_Shisan.rows = {SumRow(3, 77, "assets")};
  Collect(kBlueReturn, 1);
  SumRecord record{};
  ASSERT_EQ(data.FindRow(77, CollectedData::kByCode, &record), 1);
  EXPECT_STREQ(record.ItemName, "profit");
  ASSERT_EQ(data.FindRow(2, CollectedData::kByPosition, &record), 1);
  EXPECT_STREQ(record.ItemName, "assets");
  EXPECT_EQ(data.FindRow(77, CollectedData::kByCode, nullptr), 0);
}

// ------------------------------------------------------- engine objects

TEST_F(CollectorTest, DestructionDeletesSaveThenWhiteThenBlue) {
  {
    CollectedData store;
    ReportCollector both(nullptr, &store);
    both.Collect(testing::DataInfo("D1", 5, kBlueReturn, 1), 3);
    both.Collect(testing::DataInfo("D1", 5, kWhiteReturn, 1), 3);
    EXPECT_EQ(engine.liveRuleAo, 1);
    EXPECT_EQ(engine.liveRuleSiro, 1);
    EXPECT_EQ(engine.liveSaveAoSiro, 1);
    engine.lifecycle.clear();
  }
  EXPECT_EQ(engine.lifecycle, (std::vector<std::string>{"delete ClSaveAoSiro", "delete ClRuleSiro",
                                                        "delete ClRuleAo"}));
}

TEST_F(CollectorTest, EngineObjectsAreMadeOnceAndOnlyWhenNeeded) {
  Collect(kWhiteReturn, 1);
  Collect(kWhiteReturn, 3);
  EXPECT_EQ(engine.CountOf("new ClSaveAoSiro"), 1);
  EXPECT_EQ(engine.CountOf("new ClRuleSiro"), 1);
  EXPECT_EQ(engine.CountOf("new ClRuleAo"), 0);
}

}  // namespace
}  // namespace pv14
