#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "report/StatementTables.h"

namespace pv14 {
namespace {

TEST(StatementTablesTest, RowCounts) {
  EXPECT_EQ(BlueGeneralProfitLossTable().size(), 35u);
  EXPECT_EQ(WhiteGeneralProfitLossTable().size(), 30u);
  EXPECT_EQ(CostOfManufactureTable().size(), 20u);
  EXPECT_EQ(BlueRealEstateProfitLossTable().size(), 17u);
  EXPECT_EQ(WhiteRealEstateProfitLossTable().size(), 14u);
  EXPECT_EQ(GeneralBalanceSheetTable().size(), 114u);
  EXPECT_EQ(RealEstateBalanceSheetTable().size(), 116u);
}

struct ItemCase {
  const char* table;
  std::span<const ItemTableRow> (*rows)();
  std::size_t index;
  const char* element;
  std::int32_t code;
  std::int32_t spare;
};

void PrintTo(const ItemCase& c, std::ostream* os) { *os << c.table << " row " << c.index + 1; }

class StatementItemTableTest : public ::testing::TestWithParam<ItemCase> {};

TEST_P(StatementItemTableTest, RowIsAsListed) {
  const ItemCase& c = GetParam();
  const ItemTableRow& row = c.rows()[c.index];
  EXPECT_STREQ(row.ElementName, c.element);
  EXPECT_EQ(row.Code, c.code);
  EXPECT_EQ(row.Spare, c.spare);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StatementItemTableTest,
    ::testing::Values(
        ItemCase{"BlueGeneral", BlueGeneralProfitLossTable, 0, "URIAGEKINGAKU", 101, 0},
        ItemCase{"BlueGeneral", BlueGeneralProfitLossTable, 21, "KEIHI_YOBI1", 125, 1},
        ItemCase{"BlueGeneral", BlueGeneralProfitLossTable, 27, "ZAPPI", 131, 0},
        ItemCase{"BlueGeneral", BlueGeneralProfitLossTable, 28, "KURIMODOSI_KASIDAOREHIKIATEKIN",
                 135, 0},
        ItemCase{"BlueGeneral", BlueGeneralProfitLossTable, 34, "KURIIRE_YOBI2", 143, 1},
        ItemCase{"WhiteGeneral", WhiteGeneralProfitLossTable, 0, "SYUNYUGAKU", 1, 0},
        ItemCase{"WhiteGeneral", WhiteGeneralProfitLossTable, 28, "ZAPPI", 37, 0},
        ItemCase{"WhiteGeneral", WhiteGeneralProfitLossTable, 29, "SENJYUSYAKOUJYO", 998, 0},
        ItemCase{"CostOfManufacture", CostOfManufactureTable, 5, "DENNRYOKUHI", 308, 0},
        ItemCase{"CostOfManufacture", CostOfManufactureTable, 16, "SEIZOUKEIHI_YOBI8", 319, 1},
        ItemCase{"CostOfManufacture", CostOfManufactureTable, 19, "KIMATUHANSEIHIN", 325, 0},
        ItemCase{"BlueRealEstate", BlueRealEstateProfitLossTable, 2, "SYUUNYUUKINGAKU_YOBI", 103,
                 1},
        ItemCase{"BlueRealEstate", BlueRealEstateProfitLossTable, 16, "SENJYUUSYAKYUUYO", 120, 0},
        ItemCase{"WhiteRealEstate", WhiteRealEstateProfitLossTable, 2, "MEIGIKAKIKAERYOU_SONOTA", 3,
                 0},
        ItemCase{"WhiteRealEstate", WhiteRealEstateProfitLossTable, 11, "HITUYOUKEIHI_YOBI", 24, 1},
        ItemCase{"WhiteRealEstate", WhiteRealEstateProfitLossTable, 13, "SENJYUSYAKOUJYO", 998,
                 0}));

std::size_t CountSpares(std::span<const ItemTableRow> rows) {
  return static_cast<std::size_t>(
      std::count_if(rows.begin(), rows.end(), [](const ItemTableRow& r) { return r.Spare == 1; }));
}

TEST(StatementTablesTest, SpareLinesOfEachItemTable) {
  EXPECT_EQ(CountSpares(BlueGeneralProfitLossTable()), 10u);
  EXPECT_EQ(CountSpares(WhiteGeneralProfitLossTable()), 5u);
  EXPECT_EQ(CountSpares(CostOfManufactureTable()), 8u);
  EXPECT_EQ(CountSpares(BlueRealEstateProfitLossTable()), 6u);
  EXPECT_EQ(CountSpares(WhiteRealEstateProfitLossTable()), 1u);
}

// Where a name of the balance sheet stands, with its code and kind.
struct BalanceCase {
  const char* table;
  std::span<const BalanceTableRow> (*rows)();
  const char* element;
  std::int32_t code;
  std::uint8_t kind;
};

void PrintTo(const BalanceCase& c, std::ostream* os) { *os << c.table << " " << c.element; }

class StatementBalanceTableTest : public ::testing::TestWithParam<BalanceCase> {};

TEST_P(StatementBalanceTableTest, NameIsGeneratedOnceWithItsCodeAndKind) {
  const BalanceCase& c = GetParam();
  auto rows = c.rows();
  auto count = std::count_if(rows.begin(), rows.end(), [&](const BalanceTableRow& r) {
    return std::string(r.ElementName) == c.element;
  });
  ASSERT_EQ(count, 1);
  auto row = std::find_if(rows.begin(), rows.end(), [&](const BalanceTableRow& r) {
    return std::string(r.ElementName) == c.element;
  });
  EXPECT_EQ(row->Code, c.code);
  EXPECT_EQ(row->Kind, c.kind);
  EXPECT_EQ(row->Spare, c.kind == BalanceTableRow::kAccountName ? 1 : 0);
}

constexpr auto kGeneral = GeneralBalanceSheetTable;
constexpr auto kRealEstate = RealEstateBalanceSheetTable;

INSTANTIATE_TEST_SUITE_P(
    Names, StatementBalanceTableTest,
    ::testing::Values(
        BalanceCase{"General", kGeneral, "GENKIN_KISYU", 201, BalanceTableRow::kOpening},
        BalanceCase{"General", kGeneral, "GENKIN_KIMATU", 201, BalanceTableRow::kClosing},
        BalanceCase{"General", kGeneral, "TOUZAYOKIN_KIMATU", 202, BalanceTableRow::kClosing},
        BalanceCase{"General", kGeneral, "SISAN_YOBI1_KAMOKU", 217, BalanceTableRow::kAccountName},
        BalanceCase{"General", kGeneral, "SISAN_YOBI7_KISYU", 223, BalanceTableRow::kOpening},
        BalanceCase{"General", kGeneral, "JIGYOUNUSIKASI_KIMATU", 224, BalanceTableRow::kClosing},
        BalanceCase{"General", kGeneral, "KASIDAOREHIKIATEKIN_KISYU", 238,
                    BalanceTableRow::kOpening},
        BalanceCase{"General", kGeneral, "FUSAISIHON_YOBI8_KAMOKU", 239,
                    BalanceTableRow::kAccountName},
        BalanceCase{"General", kGeneral, "FUSAISIHON_YOBI14_KIMATU", 245,
                    BalanceTableRow::kClosing},
        BalanceCase{"General", kGeneral, "KOUJYOMAESYOTOKUKINNGAKU_KIMATU", 999,
                    BalanceTableRow::kClosing},
        BalanceCase{"RealEstate", kRealEstate, "FUTUUYOKIN_KISYU", 202, BalanceTableRow::kOpening},
        BalanceCase{"RealEstate", kRealEstate, "KOUTIKUBUTU_KIMATU", 213,
                    BalanceTableRow::kClosing},
        BalanceCase{"RealEstate", kRealEstate, "SYAKUTIKEN_KISYU", 217, BalanceTableRow::kOpening},
        BalanceCase{"RealEstate", kRealEstate, "SISAN_YOBI1_KAMOKU", 219,
                    BalanceTableRow::kAccountName},
        BalanceCase{"RealEstate", kRealEstate, "HOSYOUKIN_SIKIKIN_KIMATU", 227,
                    BalanceTableRow::kClosing},
        BalanceCase{"RealEstate", kRealEstate, "FUSAISIHON_YOBI18_KAMOKU", 245,
                    BalanceTableRow::kAccountName},
        BalanceCase{"RealEstate", kRealEstate, "JIGYOUNUSIKARI_KIMATU", 246,
                    BalanceTableRow::kClosing},
        BalanceCase{"RealEstate", kRealEstate, "MOTOIREKIN_KISYU", 247,
                    BalanceTableRow::kOpening}));

class StatementBalanceRuleTest
    : public ::testing::TestWithParam<std::span<const BalanceTableRow> (*)()> {};

// The rule every balance-sheet table follows: per account, in rising code
// order, the account name of a spare account, then opening, then closing;
// the three closing-only accounts have their closing row alone.
TEST_P(StatementBalanceRuleTest, RowsFollowTheAccountRule) {
  auto rows = GetParam()();
  ASSERT_FALSE(rows.empty());
  EXPECT_STREQ(rows.front().ElementName, "GENKIN_KISYU");
  EXPECT_STREQ(rows.back().ElementName, "KOUJYOMAESYOTOKUKINNGAKU_KIMATU");
  std::set<std::int32_t> codes;
  const std::set<std::int32_t> closingOnly = {224, 246, 999};
  for (std::size_t i = 0; i < rows.size();) {
    const std::int32_t code = rows[i].Code;
    EXPECT_TRUE(codes.empty() || code > *codes.rbegin()) << rows[i].ElementName;
    codes.insert(code);
    std::string stem = rows[i].ElementName;
    if (rows[i].Kind == BalanceTableRow::kAccountName) {
      ASSERT_TRUE(stem.ends_with("_KAMOKU")) << stem;
      stem.resize(stem.size() - 7);
      ++i;
    } else {
      stem = stem.substr(0, stem.rfind('_'));
    }
    if (!closingOnly.contains(code)) {
      ASSERT_LT(i, rows.size());
      EXPECT_EQ(rows[i].Code, code);
      EXPECT_EQ(rows[i].Kind, BalanceTableRow::kOpening);
      EXPECT_EQ(std::string(rows[i].ElementName), stem + "_KISYU");
      ++i;
    }
    ASSERT_LT(i, rows.size());
    EXPECT_EQ(rows[i].Code, code);
    EXPECT_EQ(rows[i].Kind, BalanceTableRow::kClosing);
    EXPECT_EQ(std::string(rows[i].ElementName), stem + "_KIMATU");
    ++i;
  }
  EXPECT_EQ(codes.size(), 48u);
  EXPECT_EQ(*codes.begin(), 201);
  EXPECT_TRUE(codes.contains(247));
}

INSTANTIATE_TEST_SUITE_P(Tables, StatementBalanceRuleTest,
                         ::testing::Values(GeneralBalanceSheetTable, RealEstateBalanceSheetTable));

}  // namespace
}  // namespace pv14
