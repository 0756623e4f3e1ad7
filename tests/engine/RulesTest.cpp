// ClRuleAo and ClRuleSiro over the sample in each kind of store: every statement list in stored
// order with 5000 after its last row, and the monthly totals.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <tuple>
#include <vector>

#include "engine/FieldText.h"
#include "tests/engine/SampleEngine.h"

namespace pv14::testing {
namespace {

template <class Rules>
std::unique_ptr<Rules> ReadyRules(const char* dataId, std::int32_t* ready) {
  auto rules = std::make_unique<Rules>();
  EXPECT_EQ(rules->AttachSetMgr(ClDataMgr::Inst()->GetSetMgr()), kEngineOk);
  EXPECT_EQ(rules->SetCurDataID(dataId), kEngineOk);
  EXPECT_EQ(rules->AttachOptLink(ClLinkMgr::Inst()->GetOptLink()), kEngineOk);
  if constexpr (std::is_same_v<Rules, ClRuleAo>) {
    StAOSUMCONDITION condition{};
    condition.Bytes[0] = 0xFF;
    *ready = rules->Ready(&condition);
  } else {
    *ready = rules->Ready();
  }
  return rules;
}

// One list reached through the calls the program makes for it.
struct ListCalls {
  std::function<std::int32_t()> count;
  std::function<std::int32_t(StAOSUMINFO*)> first;
  std::function<std::int32_t(StAOSUMINFO*)> next;
};

ListCalls BlueList(ClRuleAo& rules, int type, const std::string& list) {
  const auto t = static_cast<_RuleAoSumType>(type);
  if (list == "PL") {
    return {[&, t] { return rules.GetCount_PL(t); },
            [&, t](StAOSUMINFO* r) { return rules.MoveFirst_PL(t, r); },
            [&, t](StAOSUMINFO* r) { return rules.MoveNext_PL(t, r); }};
  }
  if (list == "Assets") {
    return {[&, t] { return rules.GetCount_BS_Shisan(t); },
            [&, t](StAOSUMINFO* r) { return rules.MoveFirst_BS_Shisan(t, r); },
            [&, t](StAOSUMINFO* r) { return rules.MoveNext_BS_Shisan(t, r); }};
  }
  if (list == "LiabilitiesCapital") {
    return {[&, t] { return rules.GetCount_BS_FusaiShihon(t); },
            [&, t](StAOSUMINFO* r) { return rules.MoveFirst_BS_FusaiShihon(t, r); },
            [&, t](StAOSUMINFO* r) { return rules.MoveNext_BS_FusaiShihon(t, r); }};
  }
  return {[&] { return rules.GetCount_SeizoGenka(); },
          [&](StAOSUMINFO* r) { return rules.MoveFirst_SeizoGenka(r); },
          [&](StAOSUMINFO* r) { return rules.MoveNext_SeizoGenka(r); }};
}

ListCalls WhiteList(ClRuleSiro& rules, int type) {
  const auto t = static_cast<_RuleSiroSumType>(type);
  auto copy = [](std::int32_t result, const StSIROSUMINFO& white, StAOSUMINFO* row) {
    row->LineNo = white.LineNo;
    row->Code = white.Code;
    std::memcpy(row->ItemName, white.ItemName, sizeof row->ItemName);
    row->OpeningBalance = white.OpeningBalance;
    row->ClosingBalance = white.ClosingBalance;
    return result;
  };
  return {[&, t] { return rules.GetCount_PL(t); },
          [&, t, copy](StAOSUMINFO* r) {
            StSIROSUMINFO white{};
            return copy(rules.MoveFirst_PL(t, &white), white, r);
          },
          [&, t, copy](StAOSUMINFO* r) {
            StSIROSUMINFO white{};
            return copy(rules.MoveNext_PL(t, &white), white, r);
          }};
}

// By value: a key the file leaves out reads as null (0 or empty).
void ExpectRow(Json expected, const StAOSUMINFO& row) {
  EXPECT_EQ(row.LineNo, IntegerOf(expected["LineNo"]));
  EXPECT_EQ(row.Code, IntegerOf(expected["Code"]));
  EXPECT_EQ(FieldText(row.ItemName), SjisOf(expected["ItemName"]));
  EXPECT_EQ(row.OpeningBalance, Amount(expected["OpeningBalance"]));
  EXPECT_EQ(row.ClosingBalance, Amount(expected["ClosingBalance"]));
}

// Count, first row, next rows, then 5000 (twice) after the last.
void ExpectListDelivers(const ListCalls& calls, const Json& rows) {
  ASSERT_EQ(calls.count(), static_cast<std::int32_t>(rows.size()));
  ASSERT_FALSE(rows.empty()) << "the sample fills every list";
  StAOSUMINFO row{};
  ASSERT_EQ(calls.first(&row), kEngineOk);
  ExpectRow(rows[0], row);
  for (std::size_t i = 1; i < rows.size(); ++i) {
    SCOPED_TRACE(i);
    ASSERT_EQ(calls.next(&row), kEngineOk);
    ExpectRow(rows[i], row);
  }
  EXPECT_EQ(calls.next(&row), kEngineNoMoreRows);
  EXPECT_EQ(calls.next(&row), kEngineNoMoreRows);
  // A second walk starts over.
  ASSERT_EQ(calls.first(&row), kEngineOk);
  ExpectRow(rows[0], row);
}

struct ListCase {
  const char* name;
  const char* dataId;
  int type;  // 0 General, 1 RealEstate
  const char* list;
};

class StatementLists : public SampleEngineOf<std::tuple<StoreKind, ListCase>> {};

TEST_P(StatementLists, DeliverTheStoredRowsInOrderThenTheEnd) {
  const ListCase& c = std::get<1>(GetParam());
  const Json& rows =
      DataSetOf(c.dataId)["Statements"][c.type == 0 ? "General" : "RealEstate"][c.list];
  std::int32_t ready = -1;
  if (std::string(c.dataId) == kWhiteId) {
    auto rules = ReadyRules<ClRuleSiro>(c.dataId, &ready);
    ASSERT_EQ(ready, kEngineOk);
    ExpectListDelivers(WhiteList(*rules, c.type), rows);
  } else {
    auto rules = ReadyRules<ClRuleAo>(c.dataId, &ready);
    ASSERT_EQ(ready, kEngineOk);
    ExpectListDelivers(BlueList(*rules, c.type, c.list), rows);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Stores, StatementLists,
    ::testing::Combine(
        EveryStoreKind(),
        ::testing::Values(
            ListCase{"BlueGeneralPL", SampleEngine::kBlueId, 0, "PL"},
            ListCase{"BlueGeneralAssets", SampleEngine::kBlueId, 0, "Assets"},
            ListCase{"BlueGeneralLiabilities", SampleEngine::kBlueId, 0, "LiabilitiesCapital"},
            ListCase{"BlueCostOfManufacture", SampleEngine::kBlueId, 0, "CostOfManufacture"},
            ListCase{"BlueRealEstatePL", SampleEngine::kBlueId, 1, "PL"},
            ListCase{"BlueRealEstateAssets", SampleEngine::kBlueId, 1, "Assets"},
            ListCase{"BlueRealEstateLiabilities", SampleEngine::kBlueId, 1, "LiabilitiesCapital"},
            ListCase{"WhiteGeneralPL", SampleEngine::kWhiteId, 0, "PL"},
            ListCase{"WhiteRealEstatePL", SampleEngine::kWhiteId, 1, "PL"})),
    [](const auto& info) {
      return StoreKindName(std::get<0>(info.param)) + "_" + std::get<1>(info.param).name;
    });

class Rules : public SampleEngineOf<> {};

TEST_P(Rules, TheWrongReturnKindFailsReadyAndEveryListAfter) {
  std::int32_t ready = kEngineOk;
  auto white = ReadyRules<ClRuleSiro>(kBlueId, &ready);
  EXPECT_NE(ready, kEngineOk);
  StSIROSUMINFO whiteRow{};
  EXPECT_EQ(white->GetCount_PL(RuleSiroSumGeneral), 0);
  EXPECT_NE(white->MoveFirst_PL(RuleSiroSumGeneral, &whiteRow), kEngineOk);
  EXPECT_NE(white->MoveFirst_PL(RuleSiroSumGeneral, &whiteRow), kEngineNoMoreRows);

  auto blue = ReadyRules<ClRuleAo>(kWhiteId, &ready);
  EXPECT_NE(ready, kEngineOk);
  StAOSUMINFO row{};
  StAOSUMINFO_TSUKIBETSU totals{};
  EXPECT_EQ(blue->GetCount_PL(RuleAoSumGeneral), 0);
  EXPECT_NE(blue->MoveFirst_PL(RuleAoSumGeneral, &row), kEngineOk);
  EXPECT_NE(blue->MoveFirst_PL(RuleAoSumGeneral, &row), kEngineNoMoreRows);
  EXPECT_NE(blue->GetTsukibetsuUriageShiire(&totals), kEngineOk);
}

TEST_P(Rules, AnUnknownDataSetOrNoneFailsReady) {
  std::int32_t ready = kEngineOk;
  ReadyRules<ClRuleAo>("NO-SUCH-SET", &ready);
  EXPECT_NE(ready, kEngineOk);
  ClRuleAo unset;
  StAOSUMCONDITION condition{};
  EXPECT_NE(unset.Ready(&condition), kEngineOk) << "Ready before SetCurDataID";
  StAOSUMINFO row{};
  EXPECT_NE(unset.MoveFirst_PL(RuleAoSumGeneral, &row), kEngineOk);
}

TEST_P(Rules, CallsOutOfTurnOrWithBadArgumentsFail) {
  std::int32_t ready = -1;
  auto rules = ReadyRules<ClRuleAo>(kBlueId, &ready);
  ASSERT_EQ(ready, kEngineOk);
  StAOSUMINFO row{};
  EXPECT_NE(rules->MoveNext_PL(RuleAoSumGeneral, &row), kEngineOk) << "MoveNext before MoveFirst";
  EXPECT_NE(rules->MoveFirst_PL(RuleAoSumGeneral, nullptr), kEngineOk);
  EXPECT_NE(rules->MoveFirst_PL(static_cast<_RuleAoSumType>(2), &row), kEngineOk);
  EXPECT_EQ(rules->GetCount_PL(static_cast<_RuleAoSumType>(-1)), 0);
  EXPECT_NE(rules->GetTsukibetsuUriageShiire(nullptr), kEngineOk);
  EXPECT_NE(rules->SetCurDataID(nullptr), kEngineOk);
  EXPECT_NE(rules->AttachSetMgr(nullptr), kEngineOk);
}

TEST_P(Rules, SwitchingTheDataSetAsksForReadyAgain) {
  std::int32_t ready = -1;
  auto rules = ReadyRules<ClRuleAo>(kBlueId, &ready);
  ASSERT_EQ(ready, kEngineOk);
  ASSERT_EQ(rules->SetCurDataID("NOTO-HYOGU-2022"), kEngineOk);
  StAOSUMINFO row{};
  EXPECT_NE(rules->MoveFirst_PL(RuleAoSumGeneral, &row), kEngineOk);
  StAOSUMCONDITION condition{};
  ASSERT_EQ(rules->Ready(&condition), kEngineOk);
  EXPECT_EQ(rules->GetCount_PL(RuleAoSumGeneral), 0) << "the past data set holds no rows";
  EXPECT_EQ(rules->MoveFirst_PL(RuleAoSumGeneral, &row), kEngineNoMoreRows);
  EXPECT_EQ(rules->MoveNext_PL(RuleAoSumGeneral, &row), kEngineNoMoreRows);
}

TEST_P(Rules, MonthlyTotalsAreTheStoredOnes) {
  std::int32_t ready = -1;
  auto rules = ReadyRules<ClRuleAo>(kBlueId, &ready);
  ASSERT_EQ(ready, kEngineOk);
  StAOSUMINFO_TSUKIBETSU totals;
  std::memset(&totals, 0x5A, sizeof totals);
  ASSERT_EQ(rules->GetTsukibetsuUriageShiire(&totals), kEngineOk);
  Json expected = DataSetOf(kBlueId)["MonthlyTotals"];
  for (int month = 0; month < 12; ++month) {
    EXPECT_EQ(totals.Sales[month], Amount(expected["Sales"][month])) << month;
    EXPECT_EQ(totals.Purchases[month], Amount(expected["Purchases"][month])) << month;
  }
  EXPECT_EQ(totals.HouseholdConsumption, Amount(expected["HouseholdConsumption"]));
  EXPECT_EQ(totals.MiscellaneousIncome, Amount(expected["MiscellaneousIncome"]));
  EXPECT_EQ(totals.Other, Amount(expected["Other"]));
}

// What the report reads by position and line kind is where it belongs.
TEST_P(Rules, TheSampleHoldsTheIncomeBeforeTheDeductionWhereTheReportLooks) {
  const std::string income = Sjis("青色申告特別控除前の所得金額");
  std::int32_t ready = -1;
  auto rules = ReadyRules<ClRuleAo>(kBlueId, &ready);
  ASSERT_EQ(ready, kEngineOk);

  ASSERT_GE(rules->GetCount_PL(RuleAoSumGeneral), 43);
  StAOSUMINFO row{};
  ASSERT_EQ(rules->MoveFirst_PL(RuleAoSumGeneral, &row), kEngineOk);
  EXPECT_EQ(row.LineNo, 1);
  EXPECT_EQ(row.Code, 101);
  for (int position = 2; position <= 43; ++position) {
    ASSERT_EQ(rules->MoveNext_PL(RuleAoSumGeneral, &row), kEngineOk);
    EXPECT_EQ(row.LineNo, position);
  }
  EXPECT_EQ(FieldText(row.ItemName), income);
  const std::int64_t businessIncome = row.ClosingBalance;

  auto lineOf = [&](auto first, auto next, std::int32_t lineNo) {
    StAOSUMINFO found{};
    for (std::int32_t r = first(&found); r == kEngineOk; r = next(&found)) {
      if (found.LineNo == lineNo) return found;
    }
    ADD_FAILURE() << "no row with LineNo " << lineNo;
    return StAOSUMINFO{};
  };
  const StAOSUMINFO liabilities = lineOf(
      [&](StAOSUMINFO* r) { return rules->MoveFirst_BS_FusaiShihon(RuleAoSumGeneral, r); },
      [&](StAOSUMINFO* r) { return rules->MoveNext_BS_FusaiShihon(RuleAoSumGeneral, r); }, 24);
  EXPECT_EQ(FieldText(liabilities.ItemName), income);
  EXPECT_EQ(liabilities.ClosingBalance, businessIncome);

  const StAOSUMINFO realEstate =
      lineOf([&](StAOSUMINFO* r) { return rules->MoveFirst_PL(RuleAoSumRealEstate, r); },
             [&](StAOSUMINFO* r) { return rules->MoveNext_PL(RuleAoSumRealEstate, r); }, 21);
  EXPECT_EQ(FieldText(realEstate.ItemName), income);
  EXPECT_GT(realEstate.ClosingBalance, 0);
}

INSTANTIATE_TEST_SUITE_P(Stores, Rules, EveryStoreKind(), StoreKindTestName);

}  // namespace
}  // namespace pv14::testing
