#include <gtest/gtest.h>

#include <set>
#include <string>

#include "report/StatementTables.h"

namespace pv14 {
namespace {

TEST(StatementTablesTest, RowCountsAndSpareLines) {
  const struct {
    std::span<const ItemTableRow> rows;
    std::size_t size;
    std::size_t spares;
  } tables[] = {{BlueGeneralProfitLossTable(), 35, 10},
                {WhiteGeneralProfitLossTable(), 30, 5},
                {CostOfManufactureTable(), 20, 8},
                {BlueRealEstateProfitLossTable(), 17, 6},
                {WhiteRealEstateProfitLossTable(), 14, 1}};
  for (const auto& table : tables) {
    EXPECT_EQ(table.rows.size(), table.size);
    EXPECT_EQ(std::count_if(table.rows.begin(), table.rows.end(),
                            [](const ItemTableRow& r) { return r.Spare == 1; }),
              static_cast<std::ptrdiff_t>(table.spares));
  }
  EXPECT_EQ(GeneralBalanceSheetTable().size(), 114u);
  EXPECT_EQ(RealEstateBalanceSheetTable().size(), 116u);
}

TEST(StatementTablesTest, ItemRowsAsListed) {
  const struct {
    const ItemTableRow& row;
    const char* element;
    std::int32_t code;
    std::int32_t spare;
  } cases[] = {
      {BlueGeneralProfitLossTable()[0], "URIAGEKINGAKU", 101, 0},
      {BlueGeneralProfitLossTable()[21], "KEIHI_YOBI1", 125, 1},
      {BlueGeneralProfitLossTable()[28], "KURIMODOSI_KASIDAOREHIKIATEKIN", 135, 0},
      {BlueGeneralProfitLossTable()[34], "KURIIRE_YOBI2", 143, 1},
      {WhiteGeneralProfitLossTable()[29], "SENJYUSYAKOUJYO", 998, 0},
      {CostOfManufactureTable()[5], "DENNRYOKUHI", 308, 0},
      {CostOfManufactureTable()[19], "KIMATUHANSEIHIN", 325, 0},
      {BlueRealEstateProfitLossTable()[2], "SYUUNYUUKINGAKU_YOBI", 103, 1},
      {WhiteRealEstateProfitLossTable()[11], "HITUYOUKEIHI_YOBI", 24, 1},
  };
  for (const auto& c : cases) {
    EXPECT_STREQ(c.row.ElementName, c.element);
    EXPECT_EQ(c.row.Code, c.code) << c.element;
    EXPECT_EQ(c.row.Spare, c.spare) << c.element;
  }
}

const BalanceTableRow* FindBalanceRow(std::span<const BalanceTableRow> rows,
                                      std::string_view name) {
  for (const BalanceTableRow& row : rows) {
    if (row.ElementName == name) return &row;
  }
  return nullptr;
}

TEST(StatementTablesTest, BalanceSheetNamesAsGenerated) {
  const auto general = GeneralBalanceSheetTable();
  const auto realEstate = RealEstateBalanceSheetTable();
  const struct {
    std::span<const BalanceTableRow> rows;
    const char* element;
    std::int32_t code;
    std::uint8_t kind;
  } cases[] = {
      {general, "GENKIN_KISYU", 201, BalanceTableRow::kOpening},
      {general, "SISAN_YOBI1_KAMOKU", 217, BalanceTableRow::kAccountName},
      {general, "JIGYOUNUSIKASI_KIMATU", 224, BalanceTableRow::kClosing},
      {general, "FUSAISIHON_YOBI8_KAMOKU", 239, BalanceTableRow::kAccountName},
      {general, "KOUJYOMAESYOTOKUKINNGAKU_KIMATU", 999, BalanceTableRow::kClosing},
      {realEstate, "KOUTIKUBUTU_KIMATU", 213, BalanceTableRow::kClosing},
      {realEstate, "SISAN_YOBI1_KAMOKU", 219, BalanceTableRow::kAccountName},
      {realEstate, "FUSAISIHON_YOBI18_KISYU", 245, BalanceTableRow::kOpening},
  };
  for (const auto& c : cases) {
    const BalanceTableRow* row = FindBalanceRow(c.rows, c.element);
    ASSERT_NE(row, nullptr) << c.element;
    EXPECT_EQ(row->Code, c.code) << c.element;
    EXPECT_EQ(row->Kind, c.kind) << c.element;
  }
  for (const char* absent :
       {"JIGYOUNUSIKASI_KISYU", "KOUJYOMAESYOTOKUKINNGAKU_KISYU", "GENKIN_KAMOKU"}) {
    EXPECT_EQ(FindBalanceRow(general, absent), nullptr) << absent;
  }
}

// Order of an account's rows: name, opening, closing.
int Rank(const BalanceTableRow& row) {
  return row.Kind == BalanceTableRow::kAccountName ? 0 : row.Kind + 1;
}

// Per account, in rising code order: the account name of a spare account,
// the opening balance, the closing balance; three accounts have only the
// closing balance. The spare flag marks exactly the account names.
TEST(StatementTablesTest, BalanceSheetsFollowTheAccountRule) {
  for (auto rows : {GeneralBalanceSheetTable(), RealEstateBalanceSheetTable()}) {
    std::set<std::int32_t> codes;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const BalanceTableRow& row = rows[i];
      const std::string name = row.ElementName;
      const bool newAccount = i == 0 || rows[i - 1].Code != row.Code;
      if (newAccount) {
        EXPECT_TRUE(codes.empty() || row.Code > *codes.rbegin()) << name;
      }
      codes.insert(row.Code);
      EXPECT_EQ(row.Spare, row.Kind == BalanceTableRow::kAccountName ? 1 : 0) << name;
      const char* suffix = row.Kind == BalanceTableRow::kAccountName ? "_KAMOKU"
                           : row.Kind == BalanceTableRow::kOpening   ? "_KISYU"
                                                                     : "_KIMATU";
      EXPECT_TRUE(name.ends_with(suffix)) << name;
      if (!newAccount) {
        EXPECT_GT(Rank(row), Rank(rows[i - 1])) << name;
      }
    }
    EXPECT_EQ(codes.size(), 48u);
  }
}

}  // namespace
}  // namespace pv14
