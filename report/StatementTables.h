// The fixed tables that map report elements to the engine's item codes.
#pragma once

#include <cstdint>
#include <span>

namespace pv14 {

struct ItemTableRow {
  const char* ElementName;
  std::int32_t Code;
  std::int32_t Spare;  // 1: a spare line, its account name is written too
};

struct BalanceTableRow {
  enum Kind : std::uint8_t { kOpening = 0, kClosing = 1, kAccountName = 3 };
  const char* ElementName;
  std::uint8_t Kind;
  std::int32_t Code;
  std::int32_t Spare;  // 1 exactly on account-name rows
};

std::span<const ItemTableRow> BlueGeneralProfitLossTable();      // 35 rows
std::span<const ItemTableRow> WhiteGeneralProfitLossTable();     // 30 rows
std::span<const ItemTableRow> CostOfManufactureTable();          // 20 rows
std::span<const ItemTableRow> BlueRealEstateProfitLossTable();   // 17 rows
std::span<const ItemTableRow> WhiteRealEstateProfitLossTable();  // 14 rows
std::span<const BalanceTableRow> GeneralBalanceSheetTable();     // 114 rows
std::span<const BalanceTableRow> RealEstateBalanceSheetTable();  // 116 rows

}  // namespace pv14
