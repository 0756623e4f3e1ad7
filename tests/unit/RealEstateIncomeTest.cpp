#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "engine/FieldText.h"
#include "tests/unit/ReportFixture.h"

namespace pv14::testing {
namespace {

constexpr const char* kRow = "FUDOUSAN_UTIWAKE";
constexpr const char* kElements[] = {"KASIYA_KASITI",
                                     "YOUTO",
                                     "SYOZAITI_JOUDAN",
                                     "SYOZAITI_GEDAN",
                                     "JUUSYO_SIMEI_JOUDAN",
                                     "JUUSYO_SIMEI_GEDAN",
                                     "KEIYAKUKIKAN_FROM",
                                     "KEIYAKUKIKAN_TO",
                                     "KASITUKEMENSEKI",
                                     "TINTAIRYOU_TUKIGAKU",
                                     "TINTAIRYOU_NENGAKU",
                                     "REIKIN",
                                     "KENRIKIN",
                                     "KOUSINRYOU",
                                     "MEIGISYOKANRYOU_SONOTA",
                                     "HOSYOUKIN_SIKIKIN"};

using Values = std::map<std::string, std::string>;

// Row n with the given values; every other element present and empty.
std::string RowText(int n, const Values& values) {
  std::string text = OpenRow(kRow, n);
  for (const char* name : kElements) {
    const auto found = values.find(name);
    text += Element(5, name, found == values.end() ? "" : found->second);
  }
  return text + CloseRow(kRow);
}

RealEstateIncomeRow Row(std::int32_t key) {
  RealEstateIncomeRow row{};
  row.RowKey = key;
  return row;
}

// The list exactly as long as the rows given, allocated as the engine does.
void StoreList(CollectedData& data, const std::vector<RealEstateIncomeRow>& rows) {
  auto* list =
      static_cast<RealEstateIncomeRow*>(CoTaskMemAlloc(rows.size() * sizeof(RealEstateIncomeRow)));
  std::memcpy(static_cast<void*>(list), rows.data(), rows.size() * sizeof(RealEstateIncomeRow));
  data.RealEstateSaveInfo.IncomeRows = list;
}

Operation Income(int maxRows) {
  return [=](ReportWriter& w, XmlOutput& out) { return w.WriteRealEstateIncome(out, maxRows); };
}

struct FieldCase {
  const char* name;
  std::function<void(RealEstateIncomeRow&)> set;
  Values expected;
};

class RealEstateIncomeFieldTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(RealEstateIncomeFieldTest, WritesOneRow) {
  RealEstateIncomeRow row = Row(1);
  GetParam().set(row);
  CollectedData data;
  StoreList(data, {row, Row(kIncomeRowsEnd)});
  const SectionRun w = RunSection(data, Income(9999));
  EXPECT_EQ(w.result, 1);
  EXPECT_EQ(w.bytes, RowText(1, GetParam().expected));
}

const std::string kA = "\x82\xA0";  // one double-byte character

INSTANTIATE_TEST_SUITE_P(
    Fields, RealEstateIncomeFieldTest,
    ::testing::Values(
        FieldCase{"BlankRowAllEmpty", [](auto&) {}, {}},
        FieldCase{"LocationCutTo30",
                  [](auto& r) { SetFieldText(r.Location, std::string(35, 'a')); },
                  {{"SYOZAITI_JOUDAN", std::string(30, 'a')}}},
        FieldCase{"LocationCharacterAcrossTheLimitLeftOut",
                  [](auto& r) { SetFieldText(r.Location, std::string(29, 'a') + kA + "b"); },
                  {{"SYOZAITI_JOUDAN", std::string(29, 'a')}}},
        FieldCase{"UseOfTwelveBytesWhole",
                  [](auto& r) { SetFieldText(r.Use, "USE456789012"); },
                  {{"YOUTO", "USE456789012"}}},
        FieldCase{"UnterminatedLettingKindCutTo10",
                  [](auto& r) { std::memset(r.LettingKind, 'k', sizeof r.LettingKind); },
                  {{"KASIYA_KASITI", std::string(10, 'k')}}},
        FieldCase{"TenantAddressUpperNameLower",
                  [](auto& r) {
                    SetFieldText(r.TenantAddress, std::string(40, 'd'));
                    SetFieldText(r.TenantName, "NAME");
                  },
                  {{"JUUSYO_SIMEI_JOUDAN", std::string(30, 'd')}, {"JUUSYO_SIMEI_GEDAN", "NAME"}}},
        FieldCase{"ContractPeriodAsYearAndMonth",
                  [](auto& r) {
                    r.ContractFrom = 20230401;
                    r.ContractTo = 20240331;
                  },
                  {{"KEIYAKUKIKAN_FROM", "202304"}, {"KEIYAKUKIKAN_TO", "202403"}}},
        FieldCase{"NegativeContractTruncatesTowardZero",
                  [](auto& r) {
                    r.ContractFrom = -100;
                    r.ContractTo = -199;
                  },
                  {{"KEIYAKUKIKAN_FROM", "-1"}, {"KEIYAKUKIKAN_TO", "-1"}}},
        FieldCase{"AreaWithTwoDecimals",
                  [](auto& r) { r.Area = 1000000; },
                  {{"KASITUKEMENSEKI", "100.00"}}},
        FieldCase{"AmountsInOrder",
                  [](auto& r) {
                    r.MonthlyRent = 10000 * 10000LL;
                    r.AnnualRent = 120000 * 10000LL;
                    r.GiftMoney = 1 * 10000LL;
                    r.KeyMoney = 2 * 10000LL;
                    r.RenewalFee = 3 * 10000LL;
                    r.NameChangeAndOtherFees = 4 * 10000LL + 9999;
                    r.Deposit = -5 * 10000LL;
                  },
                  {{"TINTAIRYOU_TUKIGAKU", "10000"},
                   {"TINTAIRYOU_NENGAKU", "120000"},
                   {"REIKIN", "1"},
                   {"KENRIKIN", "2"},
                   {"KOUSINRYOU", "3"},
                   {"MEIGISYOKANRYOU_SONOTA", "4"},
                   {"HOSYOUKIN_SIKIKIN", "-5"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RealEstateIncomeTest, ContractValuesFromMinus99To99AreEmpty) {
  for (std::int32_t from = -99; from <= 99; ++from) {
    RealEstateIncomeRow row = Row(1);
    row.ContractFrom = from;
    CollectedData data;
    StoreList(data, {row, Row(kIncomeRowsEnd)});
    EXPECT_EQ(RunSection(data, Income(1)).bytes, RowText(1, {})) << from;
  }
}

TEST(RealEstateIncomeTest, TheListEndsAtItsEndRowOrItsAllocation) {
  const struct {
    const char* name;
    std::vector<RealEstateIncomeRow> rows;  // empty: no list at all
    int maxRows;
    int written;
  } cases[] = {
      {"EndRowFirst", {Row(kIncomeRowsEnd), Row(1)}, 9999, 0},
      {"NoList", {}, 9999, 0},
      {"StopsAtMaxRows", {Row(1), Row(2), Row(3), Row(kIncomeRowsEnd)}, 2, 2},
      {"NoRowsAsked", {Row(1), Row(kIncomeRowsEnd)}, 0, 0},
      {"WithoutEndRowBoundByAllocation", {Row(1), Row(2)}, 9999, 2},
      {"EndRowAfterRows", {Row(7), Row(8), Row(kIncomeRowsEnd), Row(9)}, 9999, 2},
  };
  for (const auto& c : cases) {
    CollectedData data;
    if (!c.rows.empty()) StoreList(data, c.rows);
    std::string expected;
    for (int n = 1; n <= c.written; ++n) expected += RowText(n, {});
    const SectionRun w = RunSection(data, Income(c.maxRows));
    EXPECT_EQ(w.result, 1) << c.name;
    EXPECT_EQ(w.bytes, expected) << c.name;
  }
}

TEST(RealEstateIncomeTest, StopsAtEveryFailedWrite) {
  RealEstateIncomeRow row = Row(1);
  SetFieldText(row.Location, "LOC");
  row.Area = 1505000;
  CollectedData data;
  StoreList(data, {row, row, Row(kIncomeRowsEnd)});
  ExpectStopsAtEveryFailedWrite(data, Income(9999));
}

}  // namespace
}  // namespace pv14::testing
