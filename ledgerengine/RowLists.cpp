#include <iterator>

#include "ledgerengine/EngineData.h"

namespace pv14::ledger {
namespace {

template <class Member>
struct MemberOf;
template <class Owner, class Row>
struct MemberOf<std::vector<Row> Owner::*> {
  using OwnerType = Owner;
  using RowType = Row;
};

// The row list of a vector member of an owner; the row limit is the number
// of slots the engine's block has for it.
template <auto Member>
RowList List(const char* key, const char* table, FieldTable fields, std::size_t maxRows) {
  using Owner = typename MemberOf<decltype(Member)>::OwnerType;
  return RowList{
      key,
      table,
      fields,
      maxRows,
      [](const void* owner) { return (static_cast<const Owner*>(owner)->*Member).size(); },
      [](const void* owner, std::size_t index) -> const void* {
        return &(static_cast<const Owner*>(owner)->*Member).at(index);
      },
      [](void* owner) -> void* { return &(static_cast<Owner*>(owner)->*Member).emplace_back(); },
  };
}

template <class Block, class Row, std::size_t N>
constexpr std::size_t Slots(Row (Block::*)[N]) {
  return N;
}

}  // namespace

std::span<const RowList> GeneralSaveLists() {
  static const RowList lists[] = {
      List<&GeneralSave::familyEmployees>("FamilyEmployees", "general_family_employees",
                                          FamilyEmployeeFields(),
                                          Slots(&StIPPAN_RESERVES_FAMILY::FamilyEmployees)),
      List<&GeneralSave::salaries>("Salaries", "general_salaries", SalarySlotFields(),
                                   Slots(&StIPPAN_SALARIES::Salaries)),
      List<&GeneralSave::interestRows>("InterestRows", "general_interest_rows", InterestRowFields(),
                                       Slots(&StIPPAN_INTEREST_FEES::InterestRows)),
      List<&GeneralSave::feeRows>("FeeRows", "general_fee_rows", FeeRowFields(),
                                  Slots(&StIPPAN_INTEREST_FEES::FeeRows)),
      List<&GeneralSave::rentRows>("RentRows", "general_rent_rows", RentRowFields(),
                                   Slots(&StIPPAN_RENT::RentRows)),
      List<&GeneralSave::salesRows>("SalesRows", "general_sales_rows", PartnerRowFields(),
                                    Slots(&StIPPAN_SALES_PURCHASES::SalesRows)),
      List<&GeneralSave::purchaseRows>("PurchaseRows", "general_purchase_rows", PartnerRowFields(),
                                       Slots(&StIPPAN_SALES_PURCHASES::PurchaseRows)),
  };
  return lists;
}

std::span<const RowList> RealEstateSaveLists() {
  static const RowList lists[] = {
      List<&RealEstateSave::incomeRows>("IncomeRows", "real_estate_income_rows", IncomeRowFields(),
                                        0),
      List<&RealEstateSave::borrowingRows>("BorrowingRows", "real_estate_borrowing_rows",
                                           InterestRowFields(),
                                           Slots(&StFUDOUSAN_BORROWING_FEES::BorrowingRows)),
      List<&RealEstateSave::feeRows>("FeeRows", "real_estate_fee_rows", FeeRowFields(),
                                     Slots(&StFUDOUSAN_BORROWING_FEES::FeeRows)),
      List<&RealEstateSave::salaries>("Salaries", "real_estate_salaries", SalarySlotFields(),
                                      Slots(&StFUDOUSAN_SALARIES::Salaries)),
      List<&RealEstateSave::familyEmployees>("FamilyEmployees", "real_estate_family_employees",
                                             FamilyEmployeeFields(),
                                             Slots(&StFUDOUSAN_SALARIES::FamilyEmployees)),
      List<&RealEstateSave::rentRows>("RentRows", "real_estate_rent_rows", RentRowFields(),
                                      Slots(&StFUDOUSAN_RENT::RentRows)),
      List<&RealEstateSave::repairRows>("RepairRows", "real_estate_repair_rows", RepairRowFields(),
                                        Slots(&StFUDOUSAN_REPAIRS::RepairRows)),
  };
  return lists;
}

const char* SummingTypeKey(int type) { return type == 0 ? "General" : "RealEstate"; }

const char* StatementListKey(int list) {
  static const char* const keys[kStatementLists] = {"PL", "Assets", "LiabilitiesCapital",
                                                    "CostOfManufacture"};
  return keys[list];
}

bool HasStatementList(int type, int list) { return type == 0 || list != kCostOfManufacture; }

}  // namespace pv14::ledger
