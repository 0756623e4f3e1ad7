// The fields of the engine's records, as data: the JSON form, the database
// columns and the records themselves are all driven by these tables, so a
// field is named once and its limits come from the record layout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "engine/LedgerEngine.h"

namespace pv14::ledger {

enum class FieldKind : std::uint8_t {
  kText,           // Shift_JIS in a fixed field; limit = field size - 1
  kMultiLineText,  // as kText, CR and LF allowed
  kAmount,         // int64, yen x 10000
  kArea,           // int64, square metres x 10000
  kAmounts,        // int64[n] amounts
  kInt32,
  kInt16,
  kUInt8,
};

struct Field {
  const char* key;  // JSON key and column name: the record's field name
  FieldKind kind;
  std::size_t offset;  // within the record
  std::size_t size;    // bytes of the member
};

using FieldTable = std::span<const Field>;

// Byte limit of a text field, without its terminator.
constexpr std::size_t TextLimit(const Field& field) { return field.size - 1; }
// Number of amounts of a kAmounts field.
constexpr std::size_t AmountCount(const Field& field) { return field.size / sizeof(std::int64_t); }

// Records of the store that the engine's header does not declare.
struct UserEntry {
  char UserId[65];
  std::int32_t SelectedKeyNo;
  std::int32_t SelectedDataNo;
};

// The store's single row: the current user and the application folders.
struct StoreInfoRecord {
  char CurrentUserId[65];
  std::uint8_t HasAppFolders;  // 0: derive the folders from $HOME
  char Documents[260];
  char Settings[260];
};

// The single values of the saved general details (the lists are apart).
struct GeneralSaveValues {
  char AssociationName[sizeof(StIPPAN_BASIC::AssociationName)];
  std::uint8_t DeductionSelection;
  std::int64_t RealEstateIncome;
  std::int64_t ReserveAmounts[4];
  char SpecialCircumstances[kSpecialCircumstancesSize];
  std::int64_t OtherSalesTotal;
  std::int64_t OtherPurchasesTotal;
};

// The single values of the saved real-estate details.
struct RealEstateSaveValues {
  std::int64_t LiabilityInterest;
  std::int32_t OtherEmployeeCount;
  char SpecialCircumstances[kSpecialCircumstancesSize];
};

// Values of a field inside a record, by its offset; memcpy keeps unaligned
// and packed layouts defined.
template <class T>
void PutAt(void* record, std::size_t offset, T value) {
  std::memcpy(static_cast<char*>(record) + offset, &value, sizeof value);
}

template <class T>
T GetAt(const void* record, std::size_t offset) {
  T value;
  std::memcpy(&value, static_cast<const char*>(record) + offset, sizeof value);
  return value;
}

FieldTable DataInfoFields();        // StDATAINFO
FieldTable SumRowFields();          // StAOSUMINFO
FieldTable MonthlyTotalsFields();   // StAOSUMINFO_TSUKIBETSU
FieldTable UserFields();            // UserEntry
FieldTable StoreInfoFields();       // StoreInfoRecord
FieldTable GeneralSaveFields();     // GeneralSaveValues
FieldTable RealEstateSaveFields();  // RealEstateSaveValues
FieldTable PropertyCountsFields();  // RentalPropertyCounts
FieldTable SalarySlotFields();
FieldTable FamilyEmployeeFields();
FieldTable InterestRowFields();
FieldTable FeeRowFields();
FieldTable RentRowFields();
FieldTable PartnerRowFields();
FieldTable IncomeRowFields();  // RealEstateIncomeRow
FieldTable RepairRowFields();

}  // namespace pv14::ledger
