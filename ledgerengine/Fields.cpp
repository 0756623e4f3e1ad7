#include "ledgerengine/Fields.h"

#include <type_traits>

namespace pv14::ledger {
namespace {

#define LEDGER_FIELD(Record, member, kind) \
  Field { #member, FieldKind::kind, offsetof(Record, member), sizeof(Record::member) }

template <class Record>
constexpr bool kPlainRecord = std::is_standard_layout_v<Record>&& std::is_trivial_v<Record>;
static_assert(kPlainRecord<StDATAINFO> && kPlainRecord<StAOSUMINFO> &&
              kPlainRecord<StAOSUMINFO_TSUKIBETSU> && kPlainRecord<UserEntry> &&
              kPlainRecord<StoreInfoRecord> && kPlainRecord<GeneralSaveValues> &&
              kPlainRecord<RealEstateSaveValues> && kPlainRecord<RentalPropertyCounts> &&
              kPlainRecord<SalarySlot> && kPlainRecord<FamilyEmployeeRow> &&
              kPlainRecord<InterestRow> && kPlainRecord<FeeRow> && kPlainRecord<RentRow> &&
              kPlainRecord<PartnerRow> && kPlainRecord<RealEstateIncomeRow> &&
              kPlainRecord<RepairRow>);

constexpr Field kDataInfo[] = {
    LEDGER_FIELD(StDATAINFO, DataId, kText),
    LEDGER_FIELD(StDATAINFO, DataNo, kInt32),
    LEDGER_FIELD(StDATAINFO, CompanyName, kText),
    LEDGER_FIELD(StDATAINFO, PeriodFrom, kInt32),
    LEDGER_FIELD(StDATAINFO, PeriodTo, kInt32),
    LEDGER_FIELD(StDATAINFO, HasCostOfManufacture, kInt32),
    LEDGER_FIELD(StDATAINFO, DataKind, kInt16),
    LEDGER_FIELD(StDATAINFO, ReturnKind, kUInt8),
    LEDGER_FIELD(StDATAINFO, StatementScope, kUInt8),
};

constexpr Field kSumRow[] = {
    LEDGER_FIELD(StAOSUMINFO, LineNo, kInt32),
    LEDGER_FIELD(StAOSUMINFO, Code, kInt32),
    LEDGER_FIELD(StAOSUMINFO, ItemName, kText),
    LEDGER_FIELD(StAOSUMINFO, OpeningBalance, kAmount),
    LEDGER_FIELD(StAOSUMINFO, ClosingBalance, kAmount),
};

constexpr Field kMonthlyTotals[] = {
    LEDGER_FIELD(StAOSUMINFO_TSUKIBETSU, Sales, kAmounts),
    LEDGER_FIELD(StAOSUMINFO_TSUKIBETSU, HouseholdConsumption, kAmount),
    LEDGER_FIELD(StAOSUMINFO_TSUKIBETSU, MiscellaneousIncome, kAmount),
    LEDGER_FIELD(StAOSUMINFO_TSUKIBETSU, Other, kAmount),
    LEDGER_FIELD(StAOSUMINFO_TSUKIBETSU, Purchases, kAmounts),
};

constexpr Field kUser[] = {
    LEDGER_FIELD(UserEntry, UserId, kText),
    LEDGER_FIELD(UserEntry, SelectedKeyNo, kInt32),
    LEDGER_FIELD(UserEntry, SelectedDataNo, kInt32),
};

constexpr Field kStoreInfo[] = {
    LEDGER_FIELD(StoreInfoRecord, CurrentUserId, kText),
    LEDGER_FIELD(StoreInfoRecord, HasAppFolders, kUInt8),
    LEDGER_FIELD(StoreInfoRecord, Documents, kText),
    LEDGER_FIELD(StoreInfoRecord, Settings, kText),
};

constexpr Field kGeneralSave[] = {
    LEDGER_FIELD(GeneralSaveValues, AssociationName, kText),
    LEDGER_FIELD(GeneralSaveValues, DeductionSelection, kUInt8),
    LEDGER_FIELD(GeneralSaveValues, RealEstateIncome, kAmount),
    LEDGER_FIELD(GeneralSaveValues, ReserveAmounts, kAmounts),
    LEDGER_FIELD(GeneralSaveValues, SpecialCircumstances, kMultiLineText),
    LEDGER_FIELD(GeneralSaveValues, OtherSalesTotal, kAmount),
    LEDGER_FIELD(GeneralSaveValues, OtherPurchasesTotal, kAmount),
};

constexpr Field kRealEstateSave[] = {
    LEDGER_FIELD(RealEstateSaveValues, LiabilityInterest, kAmount),
    LEDGER_FIELD(RealEstateSaveValues, OtherEmployeeCount, kInt32),
    LEDGER_FIELD(RealEstateSaveValues, SpecialCircumstances, kMultiLineText),
};

constexpr Field kPropertyCounts[] = {
    LEDGER_FIELD(RentalPropertyCounts, ResidentialDetachedHouses, kInt32),
    LEDGER_FIELD(RentalPropertyCounts, ResidentialOtherBuildings, kInt32),
    LEDGER_FIELD(RentalPropertyCounts, ResidentialLandContracts, kInt32),
    LEDGER_FIELD(RentalPropertyCounts, ResidentialLandArea, kArea),
    LEDGER_FIELD(RentalPropertyCounts, OtherDetachedHouses, kInt32),
    LEDGER_FIELD(RentalPropertyCounts, OtherOtherBuildings, kInt32),
    LEDGER_FIELD(RentalPropertyCounts, OtherLandContracts, kInt32),
    LEDGER_FIELD(RentalPropertyCounts, OtherLandArea, kArea),
    LEDGER_FIELD(RentalPropertyCounts, RoofedParkingSpaces, kInt32),
    LEDGER_FIELD(RentalPropertyCounts, OpenParkingSpaces, kInt32),
};

constexpr Field kSalarySlot[] = {
    LEDGER_FIELD(SalarySlot, Name, kText),    LEDGER_FIELD(SalarySlot, Age, kInt32),
    LEDGER_FIELD(SalarySlot, Months, kInt32), LEDGER_FIELD(SalarySlot, Salary, kAmount),
    LEDGER_FIELD(SalarySlot, Bonus, kAmount), LEDGER_FIELD(SalarySlot, WithheldTax, kAmount),
};

constexpr Field kFamilyEmployee[] = {
    LEDGER_FIELD(FamilyEmployeeRow, Name, kText),
    LEDGER_FIELD(FamilyEmployeeRow, Relationship, kText),
    LEDGER_FIELD(FamilyEmployeeRow, Age, kInt32),
    LEDGER_FIELD(FamilyEmployeeRow, Months, kInt32),
    LEDGER_FIELD(FamilyEmployeeRow, Salary, kAmount),
    LEDGER_FIELD(FamilyEmployeeRow, Bonus, kAmount),
    LEDGER_FIELD(FamilyEmployeeRow, WithheldTax, kAmount),
};

constexpr Field kInterestRow[] = {
    LEDGER_FIELD(InterestRow, AddressNameUpper, kText),
    LEDGER_FIELD(InterestRow, AddressNameLower, kText),
    LEDGER_FIELD(InterestRow, Borrowed, kAmount),
    LEDGER_FIELD(InterestRow, Interest, kAmount),
    LEDGER_FIELD(InterestRow, ExpenseShare, kAmount),
};

constexpr Field kFeeRow[] = {
    LEDGER_FIELD(FeeRow, AddressNameUpper, kText),
    LEDGER_FIELD(FeeRow, AddressNameLower, kText),
    LEDGER_FIELD(FeeRow, Fee, kAmount),
    LEDGER_FIELD(FeeRow, ExpenseShare, kAmount),
    LEDGER_FIELD(FeeRow, WithheldTax, kAmount),
};

constexpr Field kRentRow[] = {
    LEDGER_FIELD(RentRow, AddressNameUpper, kText),  LEDGER_FIELD(RentRow, AddressNameLower, kText),
    LEDGER_FIELD(RentRow, Property, kText),          LEDGER_FIELD(RentRow, FeeKind, kUInt8),
    LEDGER_FIELD(RentRow, KeyOrRenewalFee, kAmount), LEDGER_FIELD(RentRow, Rent, kAmount),
    LEDGER_FIELD(RentRow, ExpenseShare, kAmount),
};

constexpr Field kPartnerRow[] = {
    LEDGER_FIELD(PartnerRow, Name, kText),
    LEDGER_FIELD(PartnerRow, Location, kText),
    LEDGER_FIELD(PartnerRow, Amount, kAmount),
};

constexpr Field kIncomeRow[] = {
    LEDGER_FIELD(RealEstateIncomeRow, RowKey, kInt32),
    LEDGER_FIELD(RealEstateIncomeRow, LettingKind, kText),
    LEDGER_FIELD(RealEstateIncomeRow, Use, kText),
    LEDGER_FIELD(RealEstateIncomeRow, Location, kText),
    LEDGER_FIELD(RealEstateIncomeRow, TenantAddress, kText),
    LEDGER_FIELD(RealEstateIncomeRow, TenantName, kText),
    LEDGER_FIELD(RealEstateIncomeRow, ContractFrom, kInt32),
    LEDGER_FIELD(RealEstateIncomeRow, ContractTo, kInt32),
    LEDGER_FIELD(RealEstateIncomeRow, Area, kArea),
    LEDGER_FIELD(RealEstateIncomeRow, MonthlyRent, kAmount),
    LEDGER_FIELD(RealEstateIncomeRow, AnnualRent, kAmount),
    LEDGER_FIELD(RealEstateIncomeRow, GiftMoney, kAmount),
    LEDGER_FIELD(RealEstateIncomeRow, KeyMoney, kAmount),
    LEDGER_FIELD(RealEstateIncomeRow, RenewalFee, kAmount),
    LEDGER_FIELD(RealEstateIncomeRow, NameChangeAndOtherFees, kAmount),
    LEDGER_FIELD(RealEstateIncomeRow, Deposit, kAmount),
};

constexpr Field kRepairRow[] = {
    LEDGER_FIELD(RepairRow, AddressNameUpper, kText),
    LEDGER_FIELD(RepairRow, AddressNameLower, kText),
    LEDGER_FIELD(RepairRow, WorkOrMaterial, kText),
    LEDGER_FIELD(RepairRow, PaymentDate, kInt32),
    LEDGER_FIELD(RepairRow, Paid, kAmount),
    LEDGER_FIELD(RepairRow, ExpenseShare, kAmount),
};

#undef LEDGER_FIELD

}  // namespace

FieldTable DataInfoFields() { return kDataInfo; }
FieldTable SumRowFields() { return kSumRow; }
FieldTable MonthlyTotalsFields() { return kMonthlyTotals; }
FieldTable UserFields() { return kUser; }
FieldTable StoreInfoFields() { return kStoreInfo; }
FieldTable GeneralSaveFields() { return kGeneralSave; }
FieldTable RealEstateSaveFields() { return kRealEstateSave; }
FieldTable PropertyCountsFields() { return kPropertyCounts; }
FieldTable SalarySlotFields() { return kSalarySlot; }
FieldTable FamilyEmployeeFields() { return kFamilyEmployee; }
FieldTable InterestRowFields() { return kInterestRow; }
FieldTable FeeRowFields() { return kFeeRow; }
FieldTable RentRowFields() { return kRentRow; }
FieldTable PartnerRowFields() { return kPartnerRow; }
FieldTable IncomeRowFields() { return kIncomeRow; }
FieldTable RepairRowFields() { return kRepairRow; }

}  // namespace pv14::ledger
