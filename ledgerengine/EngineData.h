// The whole content of the engine's store in memory, as `ledger-engine load`
// reads it from JSON and `dump` writes it back. The engine's API classes do
// not serve from this: they query the database.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/LedgerEngine.h"
#include "ledgerengine/Fields.h"

namespace pv14::ledger {

// Summing types and the statement lists of each.
inline constexpr int kSummingTypes = 2;  // 0 general, 1 real estate
enum StatementList : int { kPL = 0, kAssets = 1, kLiabilitiesCapital = 2, kCostOfManufacture = 3 };
inline constexpr int kStatementLists = 4;

struct GeneralSave {
  GeneralSaveValues values{};
  std::vector<FamilyEmployeeRow> familyEmployees;
  std::vector<SalarySlot> salaries;
  std::vector<InterestRow> interestRows;
  std::vector<FeeRow> feeRows;
  std::vector<RentRow> rentRows;
  std::vector<PartnerRow> salesRows;
  std::vector<PartnerRow> purchaseRows;
};

struct RealEstateSave {
  RealEstateSaveValues values{};
  RentalPropertyCounts propertyCounts{};
  std::vector<RealEstateIncomeRow> incomeRows;
  std::vector<InterestRow> borrowingRows;
  std::vector<FeeRow> feeRows;
  std::vector<SalarySlot> salaries;
  std::vector<FamilyEmployeeRow> familyEmployees;
  std::vector<RentRow> rentRows;
  std::vector<RepairRow> repairRows;
};

struct DataSet {
  StDATAINFO info{};
  std::vector<StAOSUMINFO> statements[kSummingTypes][kStatementLists];
  StAOSUMINFO_TSUKIBETSU monthlyTotals{};
  GeneralSave general;
  RealEstateSave realEstate;
};

struct AppFolders {
  std::string documents;  // Shift_JIS, Windows form
  std::string settings;
};

struct EngineData {
  std::string currentUserId;             // Shift_JIS
  std::optional<AppFolders> appFolders;  // absent: derived from $HOME
  std::vector<UserEntry> users;
  std::vector<DataSet> dataSets;
};

// One list of rows of a saved-details object, reached without knowing its
// row type: the JSON form and the store walk these tables.
struct RowList {
  const char* key;    // JSON key
  const char* table;  // database table
  FieldTable fields;
  std::size_t maxRows;  // 0: any number
  std::size_t (*count)(const void* owner);
  const void* (*row)(const void* owner, std::size_t index);
  void* (*append)(void* owner);  // a new zeroed row
};

std::span<const RowList> GeneralSaveLists();     // owner: GeneralSave
std::span<const RowList> RealEstateSaveLists();  // owner: RealEstateSave

// JSON keys of the summing types and statement lists.
const char* SummingTypeKey(int type);
const char* StatementListKey(int list);
// Cost of manufacture exists for the general summing type only.
bool HasStatementList(int type, int list);

}  // namespace pv14::ledger
